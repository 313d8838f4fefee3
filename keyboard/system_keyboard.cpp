#include "keyboard/system_keyboard.h"

#include <windows.h>

#include <string>

#include "core/synthetic_input.h"

namespace snibbet {
namespace {

constexpr int kMaxLayouts = 40;

HKL ToHkl(LayoutHandle layout) { return reinterpret_cast<HKL>(layout); }

}  // namespace

std::vector<LayoutHandle> SystemKeyboardLayouts::InstalledLayouts() {
  HKL layouts[kMaxLayouts] = {};
  const int count = GetKeyboardLayoutList(kMaxLayouts, layouts);
  std::vector<LayoutHandle> handles;
  for (int i = 0; i < count; ++i) handles.push_back(reinterpret_cast<LayoutHandle>(layouts[i]));
  return handles;
}

LayoutHandle SystemKeyboardLayouts::LoadLayout(std::wstring_view name) {
  return reinterpret_cast<LayoutHandle>(LoadKeyboardLayoutW(std::wstring(name).c_str(), 0));
}

void SystemKeyboardLayouts::UnloadLayout(LayoutHandle layout) { UnloadKeyboardLayout(ToHkl(layout)); }

LayoutHandle SystemKeyboardLayouts::ForegroundLayout() {
  const DWORD thread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
  return reinterpret_cast<LayoutHandle>(GetKeyboardLayout(thread));
}

unsigned SystemKeyboardLayouts::VirtualKeyToScanCode(unsigned code, LayoutHandle layout) {
  return MapVirtualKeyExW(code, MAPVK_VK_TO_VSC, ToHkl(layout));
}

unsigned SystemKeyboardLayouts::ScanCodeToVirtualKey(unsigned scanCode, LayoutHandle layout) {
  return MapVirtualKeyExW(scanCode, MAPVK_VSC_TO_VK_EX, ToHkl(layout));
}

std::wstring SystemKeyboardLayouts::KeyText(unsigned code, const KeyStateBytes& state, LayoutHandle layout) {
  const HKL hkl = ToHkl(layout);
  const UINT scanCode = MapVirtualKeyExW(code, MAPVK_VK_TO_VSC, hkl);
  wchar_t buffer[2] = {L' ', L' '};
  const int result = ToUnicodeEx(code, scanCode, state.data(), buffer, 2, 0, hkl);
  if (result < 0) {
    // Asking again completes the dead key with itself, which clears it.
    ToUnicodeEx(code, scanCode, state.data(), buffer, 2, 0, hkl);
    return {};
  }
  if (result == 0) return {};
  const wchar_t c = result == 1 ? buffer[0] : buffer[1];
  if (c < L' ') return {};
  return std::wstring(1, c);
}

std::wstring SystemKeyboardLayouts::LanguageName(std::uint16_t languageId) {
  wchar_t name[256] = {};
  const LCID locale = MAKELCID(languageId, SORT_DEFAULT);
  if (GetLocaleInfoW(locale, LOCALE_SLANGUAGE, name, 256) == 0) return {};
  return name;
}

wchar_t SystemKeyboardLayouts::KeyChar(unsigned code, const KeyStateBytes& state, LayoutHandle layout) {
  return snibbet::KeyToChar(code, KeyState(state), ToHkl(layout));
}

void SystemKeyInput::SendKey(std::uint8_t code, bool keyUp, bool extended) { snibbet::SendKey(code, keyUp, extended); }
bool SystemKeyInput::SystemHoldsKey(std::uint8_t code) { return snibbet::SystemHoldsKey(code); }

void SystemKeyInput::ReleaseEscKey() { snibbet::ReleaseEscKey(); }

void SystemKeyInput::ReadKeyboardState(KeyStateBytes& state) {
  if (!GetKeyboardState(state.data())) state.fill(0);
}

}  // namespace snibbet
