#pragma once
// Relays mouse activity anywhere on the desktop to the main program's hidden window.
#include <array>
#include <cstdint>

#include "helper/helper_ports.h"
#include "helper/key_blocker.h"

namespace snibbet::helper {

enum class MouseAction { Move, ButtonDown, ButtonUp, Wheel, Other };
enum class MouseButton { Left, Middle, Right };

struct MouseEvent {
  MouseAction action = MouseAction::Other;
  MouseButton button = MouseButton::Left;  // for ButtonDown and ButtonUp
  int x = 0;                               // screen position of the event
  int y = 0;
  std::uint32_t mouseData = 0;             // wheel delta in the high word
};

// Nothing is relayed while keys are blocked. Only a captured wheel is ever
// swallowed. The main window is looked up lazily and relays go to it only when
// it has an owner window (the main program's application window).
class MouseRelay {
 public:
  static constexpr Tick kHoverIntervalMs = 30;

  MouseRelay(const Clock& clock, MainWindowPort& mainWindow, const KeyBlocker& blocker);

  Verdict OnMouse(const MouseEvent& event);
  void SetWheelCapture(bool on) { wheelCapture_ = on; }
  bool WheelCapture() const { return wheelCapture_; }
  // The next relay looks the main window up again.
  void ForgetMainWindow();

 private:
  bool AnyButtonDown() const;
  void PostTrack(const MouseEvent& event);
  void PostDown(const MouseEvent& event);
  void PostHover();
  void PostWheel(const MouseEvent& event);
  void Deliver(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

  const Clock& clock_;
  MainWindowPort& mainWindow_;
  const KeyBlocker& blocker_;
  std::array<bool, 3> buttonDown_{};  // by MouseButton
  bool wheelCapture_ = false;
  WindowRef main_ = 0;
  WindowRef mainOwner_ = 0;
  Tick lastHover_ = 0;
};

}  // namespace snibbet::helper
