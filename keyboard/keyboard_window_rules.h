#pragma once
// The window-free rules of the keyboard window and its background window:
// the key repeat of a key held with the mouse, mouse gestures on keys, the
// tiles of the background picture, the states of a title button and the
// snap of a dragged window to the screen's edges.
#include <optional>
#include <string>
#include <vector>

namespace snibbet {

// ---- key repeat ----

struct KeyRepeatTiming {
  int delayMs = 500;     // before the first repeat
  int intervalMs = 24;   // between repeats
  bool operator==(const KeyRepeatTiming&) const = default;
};

// The system's ranges of the user's "KeyboardDelay" and "KeyboardSpeed".
inline constexpr int kMaxKeyboardDelay = 3;
inline constexpr int kMaxKeyboardSpeed = 31;

// From the texts of "KeyboardDelay" and "KeyboardSpeed" (none: not there).
// Reading stops at the first value that is missing or not a decimal number;
// a value not read keeps its default (delay 1, speed 31). Values outside the
// system's ranges are taken as the nearest end.
KeyRepeatTiming KeyRepeatTimingFrom(const std::optional<std::wstring>& delayText,
                                    const std::optional<std::wstring>& speedText);

// ---- gestures ----

enum class GestureResult {
  KeyItself,        // a short move: the key, with the button used
  Backspace,        // to the left
  Space,            // to the right
  KeyAsRightClick,  // up: the key as with the right button
  Enter,            // down
};

// How far a drag on a key must go for a gesture.
int GestureThreshold(int sensitivity);
// (dx, dy): the press's position minus the release's.
GestureResult DecideGesture(int dx, int dy, int sensitivity);

// ---- the background picture's tiles ----

struct TileOrigin {
  int x, y;
  bool operator==(const TileOrigin&) const = default;
};

// Where the picture of (pictureWidth, pictureHeight) is drawn to cover a
// window of (width, height): columns from x 1, rows from y 1, or from below
// the caption bar when it shows. None for a picture without size.
std::vector<TileOrigin> BackgroundTileOrigins(int width, int height, int pictureWidth, int pictureHeight,
                                              bool captionShown);
// The first row below the caption bar.
inline constexpr int kCaptionBarHeight = 20;

// ---- title buttons ----

struct TitleButtonState {
  bool down = false;
  bool hot = false;
  bool operator==(const TitleButtonState&) const = default;
};

enum class TitleButtonEvent { Enter, Leave, LeftDown, OtherDown, Up };

// The state after `event`; (x, y) is where the mouse went up, in the
// button's own coordinates, and the edges count as inside.
TitleButtonState NextTitleButtonState(TitleButtonState state, TitleButtonEvent event, int x = 0, int y = 0,
                                      int width = 0, int height = 0);

// A title button's mouse: its states, and when it is entered, left and
// clicked. It is entered only by a move over it, never by a move elsewhere
// that it gets because it holds the mouse; it is clicked when a left press on
// it is released over it, wherever the mouse went in between.
class TitleButtonMouse {
 public:
  enum Notice : unsigned { kNone = 0, kEntered = 1, kLeft = 2, kClicked = 4 };

  const TitleButtonState& State() const { return state_; }
  void SetState(TitleButtonState state) { state_ = state; }
  // Down and hot cleared, nothing entered or pressed (the button placed afresh).
  void Reset() { *this = {}; }
  // The left button went down on it and has not come up.
  bool Pressed() const { return pressed_; }

  // A move to (x, y) of the button's own coordinates, over it or not.
  unsigned Move(int x, int y, int width, int height);
  // The system says the mouse has left it.
  unsigned Leave();
  void Down(bool leftButton);
  unsigned Up(bool leftButton, int x, int y, int width, int height);
  // Another window took the mouse: the press ends without a click.
  void CaptureLost() { pressed_ = false; }

 private:
  TitleButtonState state_;
  bool entered_ = false;
  bool pressed_ = false;
};

// ---- screen snap ----

// How near a dragged window's edge must come to the work area's to snap to it.
inline constexpr int kScreenSnapDistance = 10;

struct ScreenBox {
  int left, top, right, bottom;
};
struct ScreenPoint {
  int x, y;
  bool operator==(const ScreenPoint&) const = default;
};

// The top-left corner of `window` after the snap: an edge within `distance`
// of the same edge of the work area is put on it, the left and top edges
// before the right and bottom ones.
ScreenPoint SnapToWorkArea(const ScreenBox& window, const ScreenBox& workArea, int distance = kScreenSnapDistance);

}  // namespace snibbet
