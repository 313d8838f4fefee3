#pragma once
// The helper ends with the main program, however that ends: it learns the main
// program's process as the process that started it, or from the main
// program's hidden main window, and, once that process is gone, ends as if
// told to (hooks removed, held-back keys given back).
#include <windows.h>

#include "ui/handles.h"

namespace snibbet::helper {

class MainProcessWatch {
 public:
  // Watches the process of the main window found now; keeps the present one
  // when there is none (a copy started by hand runs on until told to end).
  void LookUpMainProcess();
  enum class Starter { MainProgram, Gone, Other };
  // Watches the process that started us when that is the main program. Gone:
  // it has ended already (or its id now belongs to a process younger than us).
  // Other: a copy started by hand, from a shell or a test; nothing watched.
  Starter WatchStarter();
  // The process watched; null when none.
  HANDLE Process() const { return process_.Get(); }
  void Forget();

 private:
  ui::KernelHandle process_;
  DWORD processId_ = 0;
};

// Runs until WM_QUIT and answers its exit code. Each WM_HELPER_RESET_MAIN_WINDOW
// (a main program has just found or started the helper) renews the watch; when
// the watched process ends, `window` is destroyed, which ends the helper.
int RunMessageLoop(HWND window, MainProcessWatch& watch);

}  // namespace snibbet::helper
