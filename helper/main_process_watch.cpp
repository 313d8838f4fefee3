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
