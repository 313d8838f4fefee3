#include "keyboard/system_layout_actions.h"

#include <windows.h>

#include "core/foreground_state.h"
#include "core/hook_messages.h"
#include "core/message_pump.h"
#include "core/preset.h"
#include "core/synthetic_input.h"
#include "core/version_info.h"

namespace snibbet {
namespace {

constexpr int kMaxCountedLayouts = 40;
// A hung foreground window must not hold the program's thread for good.
constexpr UINT kLanguageRequestTimeoutMs = 1000;

HKL ToHkl(LayoutHandle layout) { return reinterpret_cast<HKL>(layout); }

}  // namespace

void SystemSelectionCutter::CutSelection() { SendCtrlX(); }

// ---- the layout switch ----

void SystemLayoutSwitchPorts::ActivateLayout(LayoutHandle layout) { ActivateKeyboardLayout(ToHkl(layout), 0); }

void SystemLayoutSwitchPorts::ActivateNextLayout() { ActivateKeyboardLayout(reinterpret_cast<HKL>(HKL_NEXT), 0); }

LayoutHandle SystemLayoutSwitchPorts::OwnLayout() { return reinterpret_cast<LayoutHandle>(GetKeyboardLayout(0)); }

bool SystemLayoutSwitchPorts::IsLayoutDisabled(LayoutHandle layout) {
  return settings_ && settings_->IsLangDisabled(ToHkl(layout));
}

bool SystemLayoutSwitchPorts::ForegroundIsIE() { return foreground_.ForegroundIsIE(); }

bool SystemLayoutSwitchPorts::IsVistaOrLater() { return snibbet::IsVistaOrLater(); }

void SystemLayoutSwitchPorts::PostSetLayoutRequest(LayoutHandle layout) {
  PostMessageW(GetForegroundWindow(), WM_HOOK_SET_LAYOUT, static_cast<WPARAM>(layout), 0);
}

void SystemLayoutSwitchPorts::ApplyForegroundLayout(LayoutHandle layout) {
  if (applyForegroundLayout_) applyForegroundLayout_(layout);
}

void SystemLayoutSwitchPorts::SendLanguageChangeRequest(LayoutHandle layout) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(GetForegroundWindow(), WM_INPUTLANGCHANGEREQUEST, 0, static_cast<LPARAM>(layout),
                      SMTO_NORMAL | SMTO_ABORTIFHUNG, kLanguageRequestTimeoutMs, &result);
}

bool SystemLayoutSwitchPorts::PumpUntil(std::uint32_t ms, const std::function<bool()>& done) {
  return PumpMessagesUntil(ms, done);
}

int CountKeyboardLayouts() {
  HKL layouts[kMaxCountedLayouts] = {};
  return GetKeyboardLayoutList(kMaxCountedLayouts, layouts);
}

void SystemLayoutSwitcher::Switch(LayoutHandle layout) { SwitchKeyboardLayout(ports_, model_, layout); }

// ---- characters of keys ----

int SystemLayoutChars::KeyScan(wchar_t c, LayoutHandle layout) {
  const SHORT scan = VkKeyScanExW(c, ToHkl(layout));
  return scan == -1 ? kNoKeyForChar : static_cast<int>(static_cast<unsigned short>(scan));
}

KeyChars SystemLayoutChars::KeyCharacters(unsigned code, const KeyStateBytes& state, LayoutHandle layout) {
  const HKL hkl = ToHkl(layout);
  const UINT scanCode = MapVirtualKeyExW(code, MAPVK_VK_TO_VSC, hkl);
  wchar_t buffer[2] = {};
  KeyChars result;
  result.count = ToUnicodeEx(code, scanCode, state.data(), buffer, 2, 0, hkl);
  int written = result.count;
  if (result.count < 0) {
    // The same dead key again completes it with itself, its spacing form,
    // and leaves nothing pending for the next character.
    written = ToUnicodeEx(code, scanCode, state.data(), buffer, 2, 0, hkl);
  }
  if (written > 0) result.chars.assign(buffer, static_cast<std::size_t>(written < 2 ? written : 2));
  return result;
}

CaseMapping SystemCaseMapping() {
  CaseMapping mapping;
  mapping.upper = [](wchar_t c) {
    CharUpperBuffW(&c, 1);
    return c;
  };
  mapping.lower = [](wchar_t c) {
    CharLowerBuffW(&c, 1);
    return c;
  };
  return mapping;
}

// ---- all together ----

SystemLayoutActions::SystemLayoutActions(TQvKeyboard& model, TKeyHistory& history, const ForegroundState& foreground,
                                         const TPreset* settings, const ClipboardMonitorRecord* clipboardMonitor,
                                         std::function<void(LayoutHandle)> applyForegroundLayout)
    : clipboard_(clipboardMonitor),
      switchPorts_(foreground, settings, std::move(applyForegroundLayout)),
      switcher_(switchPorts_, model),
      actions_(model, history, clipboard_, cutter_, switcher_, chars_, SystemCaseMapping()) {}

}  // namespace snibbet
