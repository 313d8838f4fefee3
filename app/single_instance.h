#pragma once
// One running copy per user session. A second start hands over to the first
// by posting WM_SECOND_INSTANCE to its main window and ends.
#include <windows.h>

#include "ui/handles.h"

namespace snibbet {

class SingleInstance {
 public:
  SingleInstance() = default;
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // True when this process may go on starting. Otherwise the running copy
  // (if its main window could be found) has been sent WM_SECOND_INSTANCE.
  bool Claim();

 private:
  ui::KernelHandle mutex_;
  bool owned_ = false;
};

// The running copy's main window, or null.
HWND FindRunningMainWindow();

}  // namespace snibbet
