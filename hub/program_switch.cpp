#include "hub/program_switch.h"

#include <utility>

#include "clipboard/clipboard_monitor.h"
#include "core/debug_log.h"
#include "core/input_helper_link.h"
#include "core/lang_table.h"
#include "core/message_boxes.h"
#include "core/text_utils.h"
#include "hub/foreground_watch.h"
#include "hub/program_tray.h"
#include "keyboard/keyboard_runtime.h"
#include "ui/application.h"

namespace snibbet {
namespace {

std::wstring MissingEntryText(const wchar_t* entry) {
  return FormatText(LangText(27, L"Function \"%1\" is not found in the hook library SnibbetH.dll."), {entry});
}

}  // namespace

ProgramSwitch::ProgramSwitch(std::wstring hookLibrary, ProgramTray& tray, ForegroundWatch& watch)
    : hookLibrary_(std::move(hookLibrary)), tray_(tray), watch_(watch) {}

ProgramSwitch::~ProgramSwitch() {
  // The only place where the helper is ended.
  EndInputHelper();
}

bool ProgramSwitch::Start() {
  DebugLog(L"Start");
  if (active_) return false;
  switch (hookLibrary_.Load()) {
    case HookLoadResult::Ready:
      break;
    case HookLoadResult::AlreadyLoaded:
      ShowErrorMessage(
          LangText(26, L"The hook library SnibbetH.dll is still loaded. Restart Orvane Paste to switch it on."));
      return false;
    case HookLoadResult::CannotLoad:
      ShowErrorMessage(LangText(28, L"Cannot load the hook library SnibbetH.dll."));
      return false;
    case HookLoadResult::NoHookEntry:
      ShowErrorMessage(MissingEntryText(L"Hook"));
      return false;
  }
  // The own hook comes first, so SnibbetCm's hooks are installed after it.
  InstallKeyboardHook();
  hookLibrary_.Hook(ui::ApplicationWindow());

  tray_.ShowActiveTrayItem(true);
  active_ = true;
  watch_.SetLastActivityTick(GetTickCount());
  ApplyForegroundLayout();
  SetKeyStateModelActive(true);
  RegisterClipboardMonitor();
  tray_.UpdateTrayIcon();
  watch_.Restart(GetForegroundWindow());
  watch_.TouchActivityTick();
  if (!tray_.MenuLocked()) tray_.EnableManagerTrayItems(true);
  watch_.StartPolling();
  if (HWND app = ui::ApplicationWindow()) ShowWindow(app, SW_HIDE);
  return true;
}

bool ProgramSwitch::Stop() {
  DebugLog(L"Stop");
  if (!active_) return false;
  if (hookLibrary_.Loaded()) {
    if (!hookLibrary_.UnHook()) {
      ShowErrorMessage(MissingEntryText(L"UnHook"));
      return false;
    }
    RemoveKeyboardHook();
    hookLibrary_.Free();
  }
  SetKeyStateModelActive(false);
  UnregisterClipboardMonitor();
  tray_.ShowActiveTrayItem(false);
  active_ = false;
  tray_.UpdateTrayIcon();
  tray_.EnableManagerTrayItems(false);
  watch_.StopPolling();
  return true;
}

bool ProgramSwitch::SetActive(bool value) { return value ? Start() : Stop(); }

void ProgramSwitch::RegisterClipboardMonitor() {
  if (monitor_) {
    monitor_->RegisterViewer();
    monitor_->ClipboardChanged();
  }
}

void ProgramSwitch::UnregisterClipboardMonitor() {
  if (monitor_) monitor_->UnregisterViewer();
}

// The keyboard runtime's own; each does nothing while there is no runtime.
void ProgramSwitch::InstallKeyboardHook() { snibbet::InstallKeyboardHook(); }
void ProgramSwitch::RemoveKeyboardHook() { snibbet::RemoveKeyboardHook(); }
void ProgramSwitch::ApplyForegroundLayout() { ApplyForegroundWindowLayout(); }
void ProgramSwitch::SetKeyStateModelActive(bool active) { snibbet::SetKeyStateModelActive(active); }

}  // namespace snibbet
