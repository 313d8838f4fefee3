#pragma once
#include <windows.h>

#include <optional>

namespace ui {

// Two readings of a scroll bar that draw alike: place, arrows, thumb, states.
bool SameScrollBar(const SCROLLBARINFO& a, const SCROLLBARINFO& b);

// Changes a window's content without the system drawing its scroll bars at
// once. Every scroll-bar update with redraw (a list's count, an edit control's
// text) paints the bar on the spot, unchanged or not, and under Wine a themed
// bar costs milliseconds. While this lives the window draws nothing and
// records no damage; when it ends, `repaint` (client coordinates; the whole
// client area when null) is painted in the next paint, and the frame and the
// child windows too if a scroll bar or the client area changed. Paint already
// pending is done first, so nothing waiting is lost. Does nothing for a
// hidden window.
class ScrollBarsPaintedOnChange {
 public:
  explicit ScrollBarsPaintedOnChange(HWND window, const RECT* repaint = nullptr);
  ~ScrollBarsPaintedOnChange();
  ScrollBarsPaintedOnChange(const ScrollBarsPaintedOnChange&) = delete;
  ScrollBarsPaintedOnChange& operator=(const ScrollBarsPaintedOnChange&) = delete;

 private:
  struct Look {
    SCROLLBARINFO vertical{};
    SCROLLBARINFO horizontal{};
    RECT client{};
  };
  static Look LookOf(HWND window);

  HWND window_;
  std::optional<RECT> repaint_;
  Look before_{};
};

}  // namespace ui
