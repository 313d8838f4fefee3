#pragma once
// The pop-up's way to the first-run wizard, a window of a higher layer: while
// the wizard is in front the pop-up shows over it without taking the front,
// so its demo page can be tried. The composition root connects the program's
// wizard; without it there is none.
#include <windows.h>

namespace snibbet {

class WizardWindowPort {
 public:
  virtual ~WizardWindowPort() = default;
  // The wizard's window while it exists; null otherwise.
  virtual HWND WizardWindow() = 0;
};

class NoWizardWindow final : public WizardWindowPort {
 public:
  HWND WizardWindow() override { return nullptr; }
};

// The wizard exists and is the window in front.
inline bool WizardInFront(WizardWindowPort& wizard) {
  const HWND window = wizard.WizardWindow();
  return window && GetForegroundWindow() == window;
}

}  // namespace snibbet
