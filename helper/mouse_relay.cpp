#include "helper/mouse_relay.h"

#include "helper/helper_protocol.h"

namespace snibbet::helper {

MouseRelay::MouseRelay(const Clock& clock, MainWindowPort& mainWindow, const KeyBlocker& blocker)
    : clock_(clock), mainWindow_(mainWindow), blocker_(blocker) {}

Verdict MouseRelay::OnMouse(const MouseEvent& event) {
  switch (event.action) {
    case MouseAction::Move:
      if (AnyButtonDown()) PostTrack(event);
      else PostHover();
      break;
    case MouseAction::ButtonDown:
      buttonDown_[static_cast<std::size_t>(event.button)] = true;
      PostDown(event);
      break;
    case MouseAction::ButtonUp:
      buttonDown_[static_cast<std::size_t>(event.button)] = false;
      PostTrack(event);
      break;
    case MouseAction::Wheel:
      if (!wheelCapture_) {
        PostTrack(event);
        break;
      }
      PostWheel(event);
      return Verdict::Swallow;
    case MouseAction::Other:
      break;
  }
  return Verdict::Pass;
}

void MouseRelay::ForgetMainWindow() {
  main_ = 0;
  mainOwner_ = 0;
}

bool MouseRelay::AnyButtonDown() const { return buttonDown_[0] || buttonDown_[1] || buttonDown_[2]; }

void MouseRelay::PostTrack(const MouseEvent& event) {
  if (blocker_.Blocking()) return;
  Deliver(WM_HELPER_MOUSE_TRACK, 0, PackCursorPos(event.x, event.y));
}

void MouseRelay::PostDown(const MouseEvent& event) {
  if (blocker_.Blocking()) return;
  Deliver(WM_HELPER_MOUSE_DOWN, 0, PackCursorPos(event.x, event.y));
}

void MouseRelay::PostHover() {
  if (blocker_.Blocking()) return;
  const Tick now = clock_.Now();
  if (static_cast<Tick>(now - lastHover_) < kHoverIntervalMs) return;
  lastHover_ = now;  // also when no window is found: a failed look counts as a hover
  Deliver(WM_HELPER_MOUSE_HOVER, 0, 0);
}

void MouseRelay::PostWheel(const MouseEvent& event) {
  if (blocker_.Blocking()) return;
  if (event.x == 0 && event.y == 0) return;
  Deliver(WM_HELPER_MOUSE_WHEEL, event.mouseData, PackCursorPos(event.x, event.y));
}

void MouseRelay::Deliver(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  if (main_ == 0) {
    main_ = mainWindow_.FindMainWindow();
    if (main_ != 0) mainOwner_ = mainWindow_.OwnerOf(main_);
  }
  // A window without an owner is not the main program's main window: stay
  // silent until told to look again.
  if (main_ != 0 && mainOwner_ != 0) mainWindow_.Post(main_, message, wParam, lParam);
}

}  // namespace snibbet::helper
