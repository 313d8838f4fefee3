#pragma once
// One running copy per user session. A second start hands over to the first
// by posting WM_SECOND_INSTANCE to its main window and ends.
#include <windows.h>

#include "ui/handles.h"

namespace snibbet {

// Held by the copy that runs or starts. Per session ("Local\"): another
// user's copy is no concern of ours.
inline constexpr wchar_t kInstanceMutexName[] = L"Local\\OrvaneSoftware.Snibbet.Instance";

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
