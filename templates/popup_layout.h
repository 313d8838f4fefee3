#pragma once
// Where the template pop-up's parts lie in its client area: the list on the
// left, the splitter at its right edge, the preview filling the rest above
// the bottom bar, which holds the three buttons on its left and the size grip
// in its corner. A one-pixel black frame shows around them. Window-free.
#include <array>

#include "templates/popup_placement.h"

namespace snibbet {

enum class PopupButton { Paste, Close, Edit };
inline constexpr int kPopupButtonCount = 3;

inline constexpr int kPopupLeastPane = 50;  // the least width of the list and of the preview

struct PopupLayout {
  PopupArea list, splitter, preview, bottomBar, grip;
  std::array<PopupArea, kPopupButtonCount> buttons;
  const PopupArea& Button(PopupButton button) const { return buttons[static_cast<int>(button)]; }
};

// The list's width in a client area this wide: the width wanted (as the user
// left it) as far as the list's and the preview's least widths allow; the
// list keeps its own least width even where the preview cannot.
int PopupListWidth(int clientWidth, int wantedListWidth);

// `grip` is the size box's width and height, as the system measures it.
PopupLayout LayOutPopup(int clientWidth, int clientHeight, int wantedListWidth, int gripWidth, int gripHeight);

}  // namespace snibbet
