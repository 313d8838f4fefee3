#pragma once
// Where the template pop-up opens: under the caret line, else centred on its
// monitor, then kept on that monitor. Window-free.
#include <optional>

namespace snibbet {

struct PopupCaret {
  int x = 0, y = 0;  // the caret's top corner on the screen
  int height = 0;
};

struct PopupArea {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

struct PopupOrigin {
  int left = 0, top = 0;
  friend bool operator==(const PopupOrigin&, const PopupOrigin&) = default;
};

// The pop-up's top-left corner on `monitor` (its full bounds). With a caret
// the pop-up starts just below the caret line and flips above it when it
// would leave the monitor's bottom; without one it is centred (halves rounded
// toward zero). Left and right edges, then the top, are kept inside. A pop-up
// without a caret that is taller than the monitor ends at the monitor's
// bottom: there is no caret line to flip above.
PopupOrigin PlacePopup(const std::optional<PopupCaret>& caret, const PopupArea& monitor, int width, int height);

}  // namespace snibbet
