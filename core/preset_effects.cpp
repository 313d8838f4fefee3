#include "core/preset_effects.h"

#include <mmsystem.h>

#include <vector>

#include "core/keyboard_layout_service.h"
#include "core/lang_apply.h"
#include "core/synthetic_input.h"
#include "ui/handles.h"

namespace snibbet {

void HubEffects::ApplyLanguage() { ApplyLanguageEverywhere(); }

namespace {

constexpr wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kRunValue[] = L"Snibbet";

HKL ToHkl(LayoutHandle layout) { return reinterpret_cast<HKL>(layout); }

// What the key names need of the system's keyboard layouts.
class SystemLayouts final : public KeyboardLayoutService {
 public:
  std::vector<LayoutHandle> InstalledLayouts() override {
    HKL layouts[40] = {};
    const int count = GetKeyboardLayoutList(40, layouts);
    std::vector<LayoutHandle> handles;
    for (int i = 0; i < count; ++i) handles.push_back(reinterpret_cast<LayoutHandle>(layouts[i]));
    return handles;
  }
  LayoutHandle LoadLayout(std::wstring_view name) override {
    return reinterpret_cast<LayoutHandle>(LoadKeyboardLayoutW(std::wstring(name).c_str(), 0));
  }
  void UnloadLayout(LayoutHandle layout) override { UnloadKeyboardLayout(ToHkl(layout)); }
  LayoutHandle ForegroundLayout() override {
    return reinterpret_cast<LayoutHandle>(GetKeyboardLayout(GetWindowThreadProcessId(GetForegroundWindow(), nullptr)));
  }
  unsigned VirtualKeyToScanCode(unsigned code, LayoutHandle layout) override {
    return MapVirtualKeyExW(code, MAPVK_VK_TO_VSC, ToHkl(layout));
  }
  unsigned ScanCodeToVirtualKey(unsigned scanCode, LayoutHandle layout) override {
    return MapVirtualKeyExW(scanCode, MAPVK_VSC_TO_VK_EX, ToHkl(layout));
  }
  std::wstring KeyText(unsigned code, const KeyStateBytes& state, LayoutHandle layout) override {
    return KeyToUnicodeString(code, KeyState(state), ToHkl(layout));
  }
  wchar_t KeyChar(unsigned code, const KeyStateBytes& state, LayoutHandle layout) override {
    return KeyToChar(code, KeyState(state), ToHkl(layout));
  }
};

}  // namespace

KeyboardLayoutService* SystemEffects::KeyboardLayouts() { return &SystemLayoutsForKeyNames(); }
void SystemEffects::ApplyProcessPriority(bool high) { snibbet::ApplyProcessPriority(high); }
bool SystemEffects::NumLockIsOn() { return snibbet::NumLockIsOn(); }
void SystemEffects::PressNumLock() { snibbet::PressNumLock(); }
bool SystemEffects::SoundStillPlaying() { return snibbet::SoundStillPlaying(); }
void SystemEffects::PlaySoundFile(const std::wstring& file) { PlaySoundFileAsync(file); }
bool SystemEffects::FileExists(const std::wstring& path) { return IsExistingFile(path); }
std::wstring SystemEffects::MachineRunValue() { return ReadMachineRunValue(); }

KeyboardLayoutService& SystemLayoutsForKeyNames() {
  static SystemLayouts layouts;
  return layouts;
}

void ApplyProcessPriority(bool high) {
  // Never the real-time class: it would starve the system's own input handling.
  SetPriorityClass(GetCurrentProcess(), high ? HIGH_PRIORITY_CLASS : NORMAL_PRIORITY_CLASS);
  SetThreadPriority(GetCurrentThread(), high ? THREAD_PRIORITY_ABOVE_NORMAL : THREAD_PRIORITY_NORMAL);
}

bool NumLockIsOn() { return (GetKeyState(VK_NUMLOCK) & 0x0001) != 0; }

void PressNumLock() {
  SendKey(VK_NUMLOCK, false, true);
  SendKey(VK_NUMLOCK, true, true);
}

// Asked with no file and "do not stop": the answer is false while a sound plays.
bool SoundStillPlaying() { return !PlaySoundW(nullptr, nullptr, SND_NOSTOP); }

void PlaySoundFileAsync(const std::wstring& file) {
  PlaySoundW(file.c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
}

bool IsExistingFile(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring ReadMachineRunValue() {
  HKEY opened = nullptr;
  // Only read: a user without rights to change the machine's key must still get an answer.
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return {};
  const ui::RegistryKey key(opened);
  std::wstring value;
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(key.Get(), kRunValue, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
      (type == REG_SZ || type == REG_EXPAND_SZ) && size >= sizeof(wchar_t)) {
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
    DWORD read = size;
    if (RegQueryValueExW(key.Get(), kRunValue, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &read) ==
        ERROR_SUCCESS) {
      value.assign(buffer.data(), read / sizeof(wchar_t));
      while (!value.empty() && value.back() == L'\0') value.pop_back();
    }
  }
  return value;
}

}  // namespace snibbet
