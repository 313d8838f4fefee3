// Stands in for the main program as the helper's starter; a test copies it
// over Snibbet.exe in its own program folder, beside SnibbetCm.exe:
//   Snibbet.exe wait    starts SnibbetCm.exe hidden, as the main program does,
//                       and waits to be killed; it has no main window
//   Snibbet.exe leave   starts SnibbetCm.exe suspended and ends at once, with
//                       the helper's process id as its exit code (0: not started)
#include <windows.h>

#include <cwchar>
#include <string>

#include "helper/helper_protocol.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 0;
  const bool leave = std::wcscmp(argv[1], L"leave") == 0;
  std::wstring commandLine = snibbet::kHelperFileName;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, leave ? CREATE_SUSPENDED : 0, nullptr,
                      nullptr, &startup, &process)) {
    return 0;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  if (leave) return static_cast<int>(process.dwProcessId);
  Sleep(INFINITE);
  return 0;
}
