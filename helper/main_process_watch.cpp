#include "helper/main_process_watch.h"

#include <tlhelp32.h>

#include <string>

#include "helper/helper_protocol.h"
#include "helper/main_program_image.h"

namespace snibbet::helper {

void MainProcessWatch::LookUpMainProcess() {
  const HWND main = FindWindowW(kMainWindowClass, kMainWindowTitle);
  DWORD processId = 0;
  if (main == nullptr || GetWindowThreadProcessId(main, &processId) == 0 || processId == 0) return;
  if (processId == processId_ && process_) return;
  ui::KernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, processId));
  if (!process) return;
  process_ = std::move(process);
  processId_ = processId;
}

namespace {

ULONGLONG CreationTimeOf(HANDLE process) {
  FILETIME created{}, exited{}, kernel{}, user{};
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
  return (static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

// 0 when the system cannot tell.
DWORD ParentProcessId() {
  const ui::KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return 0;
  const DWORD self = GetCurrentProcessId();
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry)) {
    if (entry.th32ProcessID == self) return entry.th32ParentProcessID;
  }
  return 0;
}

std::wstring ImagePathOf(HANDLE process) {
  wchar_t path[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  return QueryFullProcessImageNameW(process, 0, path, &size) ? std::wstring(path, size) : std::wstring();
}

}  // namespace

MainProcessWatch::Starter MainProcessWatch::WatchStarter() {
  const DWORD parentId = ParentProcessId();
  if (parentId == 0) return Starter::Other;
  ui::KernelHandle parent(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, parentId));
  // A starter we may not open (another user's, a protected one) is not the main program.
  if (!parent) return GetLastError() == ERROR_ACCESS_DENIED ? Starter::Other : Starter::Gone;
  if (WaitForSingleObject(parent.Get(), 0) != WAIT_TIMEOUT) return Starter::Gone;
  // Whatever started us is the older: a younger one got the id of a starter
  // that ended meanwhile.
  const ULONGLONG created = CreationTimeOf(parent.Get());
  if (created == 0 || created > CreationTimeOf(GetCurrentProcess())) return Starter::Gone;
  if (!IsMainProgramImage(ImagePathOf(parent.Get()))) return Starter::Other;
  process_ = std::move(parent);
  processId_ = parentId;
  return Starter::MainProgram;
}

void MainProcessWatch::Forget() {
  process_.Reset(nullptr);
  processId_ = 0;
}

int RunMessageLoop(HWND window, MainProcessWatch& watch) {
  for (;;) {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) return static_cast<int>(message.wParam);
      if (message.message == WM_HELPER_RESET_MAIN_WINDOW && message.hwnd == window) watch.LookUpMainProcess();
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    HANDLE process = watch.Process();
    const DWORD handles = process ? 1 : 0;
    // Sent messages and the hooks' calls are served inside the wait as well.
    const DWORD woke = MsgWaitForMultipleObjectsEx(handles, &process, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (handles == 1 && woke == WAIT_OBJECT_0) {
      watch.Forget();
      DestroyWindow(window);  // as the main program's WM_DESTROY: hooks off, then WM_QUIT
    }
  }
}

}  // namespace snibbet::helper
