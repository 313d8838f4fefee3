#pragma once
// Parts of a control painted from a copy of what the system drew for them.
// Each showing of a window paints every control in it anew, and under Wine a
// themed scroll bar costs milliseconds to draw, although nothing in it changed
// since the last showing. A copy is taken right after the system painted a
// look and given back while the look is the same; the look holds everything
// the drawing depends on, and any change of theme, colours or settings drops
// the copy.
#include <windows.h>

#include <array>
#include <optional>
#include <vector>

#include "ui/gdi.h"
#include "ui/window_subclass.h"

namespace ui {

// The frame of a window with no scroll bar enabled (its border, and bars that
// show disabled). A disabled bar has no hot or pressed part, so its look is
// its place and size.
class StillFrameCopy {
 public:
  void Attach(HWND window);

 private:
  struct Look {
    SCROLLBARINFO vertical{};
    SCROLLBARINFO horizontal{};
    RECT client{};  // in the window's coordinates
    SIZE window{};
    std::array<COLORREF, 7> colours{};  // the system colours a bar draws with
  };
  static std::optional<Look> StillLookOf(HWND window);
  static bool SameLook(const Look& a, const Look& b);
  // A piece of the frame beside the client area, in the window's coordinates.
  struct Strip {
    RECT rect{};
    Bitmap bits;
  };
  static std::vector<RECT> FrameStrips(const Look& look);
  std::optional<LRESULT> Handle(UINT message, WPARAM wParam, LPARAM lParam);
  bool PaintStrips(HWND window) const;
  void TakeStrips(HWND window, const Look& look);
  void Forget();

  WindowSubclass subclass_;
  std::optional<Look> copied_;
  std::vector<Strip> strips_;  // only the frame: the client area would cost its size in memory for nothing
};

}  // namespace ui
