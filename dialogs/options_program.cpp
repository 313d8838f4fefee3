#include "dialogs/options_program.h"

#include <system_error>

#include "core/paths.h"
#include "core/utf8.h"
#include "ui/handles.h"

namespace snibbet {
namespace {

constexpr wchar_t kShellExtensionServerKey[] = L"CLSID\\{6B54FAD7-7ACD-4156-888D-118547A98218}\\InprocServer32";
constexpr DWORD kPollStepMs = 100;
constexpr int kPollSteps = 21;

// The program's own process is not waited for: only what it leaves in the registry counts.
template <class Done>
void WaitForOptionsProgram(OptionsProgramSystem& system, Done done) {
  if (!system.Wait(kPollStepMs)) return;
  for (int step = 0; step < kPollSteps; ++step) {
    if (done(system.ReadOptionsStates()) || !system.Wait(kPollStepMs)) return;
  }
}

}  // namespace

std::wstring OptionsProgramParameters(const std::wstring& programFile, bool startWithWindows,
                                      ShellExtensionSwitch shellExtension) {
  std::wstring parameters = L"\"" + programFile + L"\"";
  parameters += startWithWindows ? L" 1" : L" 0";
  parameters += L" " + std::to_wstring(static_cast<int>(shellExtension));
  return parameters;
}

bool IsShellExtensionRegistered() {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, kShellExtensionServerKey, 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
  const ui::RegistryKey key(opened);
  return true;
}

OptionsStates RunOptionsProgram(OptionsProgramSystem& system, const std::wstring& programFolder,
                                const std::wstring& programFile, const OptionsStates& wanted) {
  system.RunElevated(JoinPath(programFolder, kOptionsProgramFile),
                     OptionsProgramParameters(programFile, wanted.startWithWindows,
                                              wanted.shellExtension ? ShellExtensionSwitch::Register
                                                                    : ShellExtensionSwitch::Unregister));
  WaitForOptionsProgram(system, [&](const OptionsStates& found) { return found == wanted; });
  return system.ReadOptionsStates();
}

bool RunOptionsProgramForStartWithWindows(OptionsProgramSystem& system, const std::wstring& programFolder,
                                          const std::wstring& programFile, bool startWithWindows) {
  system.RunElevated(JoinPath(programFolder, kOptionsProgramFile),
                     OptionsProgramParameters(programFile, startWithWindows, ShellExtensionSwitch::Unchanged));
  WaitForOptionsProgram(system,
                        [&](const OptionsStates& found) { return found.startWithWindows == startWithWindows; });
  return system.ReadOptionsStates().startWithWindows;
}

std::wstring ErrorMessageOf(const std::exception& error) {
  if (const auto* system = dynamic_cast<const std::system_error*>(&error)) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(system->code().value()), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = length ? std::wstring(text, length) : std::wstring();
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
      message.pop_back();
    if (!message.empty()) return message;
  }
  return Utf8ToWide(error.what());
}

}  // namespace snibbet
