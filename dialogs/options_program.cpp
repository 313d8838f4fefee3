#include "dialogs/options_program.h"

#include "core/paths.h"
#include "ui/handles.h"

namespace snibbet {
namespace {

constexpr wchar_t kShellExtensionServerKey[] = L"CLSID\\{6B54FAD7-7ACD-4156-888D-118547A98218}\\InprocServer32";
constexpr DWORD kPollStepMs = 100;
constexpr int kPollSteps = 21;

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
  // The program's own process is not waited for: only what it leaves in the registry counts.
  if (system.Wait(kPollStepMs)) {
    for (int step = 0; step < kPollSteps; ++step) {
      if (system.ReadOptionsStates() == wanted || !system.Wait(kPollStepMs)) break;
    }
  }
  return system.ReadOptionsStates();
}

}  // namespace snibbet
