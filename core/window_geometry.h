#pragma once
// Placement arithmetic for windows. Window-free.

namespace snibbet {

struct ScreenRect {
  int left = 0, top = 0, right = 0, bottom = 0;
};

struct ScreenPoint {
  int x = 0, y = 0;
};

// The top-left corner that moves `window` into `area`: first its left and top
// edges are pulled in, then its right and bottom edges, so a window larger
// than the area keeps its right and bottom edges on the area's.
ScreenPoint FitIntoArea(const ScreenRect& window, const ScreenRect& area);

}  // namespace snibbet
