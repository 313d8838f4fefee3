#pragma once
// Where the owner-drawn menu painters put things and in which colours.
// Window-free.
#include "visual/color_math.h"

namespace snibbet {

struct ItemRect {
  int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
  bool operator==(const ItemRect&) const = default;
};

// The two looks of the program's menus: the XP style before Vista, the
// system's standard style from Vista on.
enum class MenuLook { Xp, Standard };

// A colour swatch over an item's image area: a one-pixel frame and the
// colour inside it. Fixed in size, whatever the item's height.
struct SwatchRects {
  ItemRect frame;
  ItemRect fill;
};
SwatchRects SwatchGeometry(MenuLook look, int itemLeft, int itemTop);

// The real colour of a colour that may name a system colour.
RgbColor SwatchColor(std::uint32_t color, const ScreenColors& screen);

struct MenuItemFlags {
  bool selected = false;
  bool checked = false;
  bool disabled = false;
};

// The XP look of one item: a light item on a darker image column; the
// selected item in a frame of the highlight over a pale highlight; a checked
// item's image column boxed the same way.
struct XpItemLook {
  RgbColor background = 0;  // the item right of the image column
  RgbColor gutter = 0;      // the image column
  RgbColor text = 0;
  bool framed = false;      // selected: frame and fill over the whole item
  RgbColor frame = 0, fill = 0;
  bool boxed = false;       // checked: a box around the image
  RgbColor boxFrame = 0, boxFill = 0;
};
XpItemLook XpItemLookFor(MenuItemFlags flags, const ScreenColors& screen);

// The XP look's layout.
inline constexpr int kXpGutterWidth = 24;
inline constexpr int kXpItemHeight = 24;  // at least
inline constexpr int kXpSeparatorHeight = 5;
// The checked box around the image: it leaves the swatch's frame two to
// three pixels of highlight around it.
ItemRect XpCheckBox(int itemLeft, int itemTop);

}  // namespace snibbet
