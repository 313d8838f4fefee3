#include "keyboard/keyboard_window_rules.h"

#include <algorithm>
#include <cstdlib>

namespace snibbet {
namespace {

constexpr int kDefaultDelay = 1;
constexpr int kDefaultSpeed = 31;

// A strict decimal number, as the registry's text gives it.
std::optional<int> ParseDecimal(const std::optional<std::wstring>& text) {
  if (!text || text->empty()) return std::nullopt;
  std::size_t i = 0;
  bool negative = false;
  if ((*text)[0] == L'-' || (*text)[0] == L'+') {
    negative = (*text)[0] == L'-';
    i = 1;
  }
  if (i == text->size()) return std::nullopt;
  long long value = 0;
  for (; i < text->size(); ++i) {
    const wchar_t c = (*text)[i];
    if (c < L'0' || c > L'9') return std::nullopt;
    value = std::min<long long>(value * 10 + (c - L'0'), 1'000'000'000);
  }
  return static_cast<int>(negative ? -value : value);
}

}  // namespace

KeyRepeatTiming KeyRepeatTimingFrom(const std::optional<std::wstring>& delayText,
                                    const std::optional<std::wstring>& speedText) {
  int delay = kDefaultDelay, speed = kDefaultSpeed;
  if (const std::optional<int> readDelay = ParseDecimal(delayText)) {
    delay = *readDelay;
    if (const std::optional<int> readSpeed = ParseDecimal(speedText)) speed = *readSpeed;
  }
  // Outside these ranges the formula below gives negative intervals.
  delay = std::clamp(delay, 0, kMaxKeyboardDelay);
  speed = std::clamp(speed, 0, kMaxKeyboardSpeed);
  if (speed == 0) speed = 1;
  KeyRepeatTiming timing;
  timing.delayMs = (delay + 1) * 250;
  timing.intervalMs = static_cast<int>(3000.0 / (15.0 / speed + 4.0 * speed));
  return timing;
}

int GestureThreshold(int sensitivity) { return 31 - sensitivity; }

GestureResult DecideGesture(int dx, int dy, int sensitivity) {
  const int threshold = GestureThreshold(sensitivity);
  if (std::abs(dx) < threshold && std::abs(dy) < threshold) return GestureResult::KeyItself;
  if (std::abs(dx) >= std::abs(dy)) return dx > 0 ? GestureResult::Backspace : GestureResult::Space;
  return dy > 0 ? GestureResult::KeyAsRightClick : GestureResult::Enter;
}

std::vector<TileOrigin> BackgroundTileOrigins(int width, int height, int pictureWidth, int pictureHeight,
                                              bool captionShown) {
  std::vector<TileOrigin> tiles;
  // A picture without size would never step on.
  if (pictureWidth <= 0 || pictureHeight <= 0) return tiles;
  const int firstRow = captionShown ? kCaptionBarHeight : 1;
  for (int x = 1; x <= width; x += pictureWidth) {
    for (int y = firstRow; y <= height; y += pictureHeight) tiles.push_back({x, y});
  }
  return tiles;
}

TitleButtonState NextTitleButtonState(TitleButtonState state, TitleButtonEvent event, int x, int y, int width,
                                      int height) {
  switch (event) {
    case TitleButtonEvent::Enter: return {false, true};
    case TitleButtonEvent::Leave: return {false, false};
    case TitleButtonEvent::LeftDown: return {true, false};
    case TitleButtonEvent::OtherDown: return state;
    case TitleButtonEvent::Up: return {false, x >= 0 && x <= width && y >= 0 && y <= height};
  }
  return state;
}

unsigned TitleButtonMouse::Move(int x, int y, int width, int height) {
  const bool over = x >= 0 && x < width && y >= 0 && y < height;
  // Moves off the button come only while it holds the mouse.
  if (!over) return entered_ ? Leave() : kNone;
  if (entered_) return kNone;
  entered_ = true;
  state_ = NextTitleButtonState(state_, TitleButtonEvent::Enter);
  return kEntered;
}

unsigned TitleButtonMouse::Leave() {
  if (!entered_) return kNone;
  entered_ = false;
  state_ = NextTitleButtonState(state_, TitleButtonEvent::Leave);
  return kLeft;
}

void TitleButtonMouse::Down(bool leftButton) {
  if (leftButton) pressed_ = true;
  state_ = NextTitleButtonState(state_, leftButton ? TitleButtonEvent::LeftDown : TitleButtonEvent::OtherDown);
}

unsigned TitleButtonMouse::Up(bool leftButton, int x, int y, int width, int height) {
  state_ = NextTitleButtonState(state_, TitleButtonEvent::Up, x, y, width, height);
  const bool clicked = leftButton && pressed_ && state_.hot;
  if (leftButton) pressed_ = false;
  // Released off the button: the next move over it enters it again.
  if (!state_.hot) entered_ = false;
  return clicked ? kClicked : kNone;
}

namespace {
int SnapEdge(int low, int high, int areaLow, int areaHigh, int distance) {
  if (std::abs(low - areaLow) <= distance) return areaLow;
  if (std::abs(high - areaHigh) <= distance) return areaHigh - (high - low);
  return low;
}
}  // namespace

ScreenPoint SnapToWorkArea(const ScreenBox& window, const ScreenBox& workArea, int distance) {
  return {SnapEdge(window.left, window.right, workArea.left, workArea.right, distance),
          SnapEdge(window.top, window.bottom, workArea.top, workArea.bottom, distance)};
}

}  // namespace snibbet
