#include "helper/main_process_watch.h"

#include "helper/helper_protocol.h"

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

}  // namespace

bool MainProcessWatch::Watch(DWORD processId) {
  ui::KernelHandle process(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process) return false;
  // The main program started us, so it is the older: a younger one got the id
  // of a main program that ended meanwhile.
  const ULONGLONG created = CreationTimeOf(process.Get());
  if (created == 0 || created > CreationTimeOf(GetCurrentProcess())) return false;
  process_ = std::move(process);
  processId_ = processId;
  return true;
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
