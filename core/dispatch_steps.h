#pragma once
// What the data module's message dispatch needs of the keyboard hook and the
// template pop-up. Those libraries are built on the core, so the program
// hands these in at start-up (app/dispatch_wiring). An unset entry means that
// part is not there: a question is answered "no", a step does nothing.
#include <windows.h>

#include <functional>

namespace snibbet {

struct MessageDispatchSteps {
  // --- the template pop-up ---
  std::function<bool()> popupShown;
  std::function<HWND()> popupWindow;
  std::function<RECT()> popupBounds;             // screen coordinates
  std::function<void()> hidePopup;
  std::function<void(WPARAM wheel)> postWheelToGrid;

  // --- windows the pop-up must not close for ---
  std::function<bool()> mouseOverKeyboardWindow;
  std::function<HWND()> wizardWindow;            // the first-run wizard while it exists

  // --- the keyboard hook ---
  std::function<void()> resetKeyHistory;
  std::function<void(HKL layout)> applyLayout;   // the layout now in front
  // The program has asked for a layout itself and awaits the answer (1176).
  std::function<bool()> layoutAnswerPending;
  std::function<void()> layoutAnswered;
  // Every key of the key model shown released and the view redrawn.
  std::function<void()> releaseModelKeys;
};

void SetMessageDispatchSteps(MessageDispatchSteps steps);
const MessageDispatchSteps& DispatchSteps();

}  // namespace snibbet
