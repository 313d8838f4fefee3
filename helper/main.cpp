// SnibbetCm: the main program's input helper. Hidden, no user interface,
// driven only by the window messages of helper_protocol.h.
#include <windows.h>

#include "helper/helper_window.h"
#include "helper/input_helper.h"
#include "helper/main_process_watch.h"
#include "helper/win_ports.h"
#include "ui/handles.h"

namespace {

// Our hooks sit in the path of every input event on the desktop: serve them at once.
void RaisePriority() {
  if (const ui::KernelHandle self(OpenProcess(PROCESS_SET_INFORMATION, FALSE, GetCurrentProcessId())); self) {
    SetPriorityClass(self.Get(), HIGH_PRIORITY_CLASS);
  }
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  using namespace snibbet::helper;
  if (!RegisterHelperWindowClass(instance)) return 0;
  const HWND window = CreateHelperWindow(instance);
  if (window == nullptr) return 0;
  RaisePriority();

  WinClock clock;
  WinKeyInjector injector;
  WinHooks hooks(window);
  WinMainWindowPort mainWindow;
  WinTimer timer(window);
  InputHelper helper(clock, injector, hooks, mainWindow, timer);
  ActiveHelperScope active(helper);
  // No hook yet: they come with the main program's WM_HELPER_HOOKS_ON.
  // The main program that started us is watched as our parent: it may end
  // before we get here, and then no window of its would be left to find. A
  // copy started by hand watches a main program that runs now, if any.
  MainProcessWatch mainProcess;
  switch (mainProcess.WatchStarter()) {
    case MainProcessWatch::Starter::MainProgram: break;
    case MainProcessWatch::Starter::Gone: DestroyWindow(window); break;  // end as when it goes later
    case MainProcessWatch::Starter::Other: mainProcess.LookUpMainProcess(); break;
  }
  const int exitCode = RunMessageLoop(window, mainProcess);
  ShowPendingHookFailures(window);
  return exitCode;
}
