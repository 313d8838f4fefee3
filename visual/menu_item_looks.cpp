#include "visual/menu_item_looks.h"

namespace snibbet {
namespace {

// The swatch's top-left offset from the item's, and its size.
struct SwatchPlace {
  int dx, dy, width, height;
};
constexpr SwatchPlace kXpSwatch{5, 6, 12, 13};
constexpr SwatchPlace kStandardSwatch{3, 4, 12, 12};

// `percent` of x over the rest of y, as the screen shows it.
RgbColor Blend(std::uint32_t x, std::uint32_t y, int percent, const ScreenColors& screen) {
  return screen.Nearest(BlendRgb(ToRealColor(x, screen), ToRealColor(y, screen), percent));
}

constexpr std::uint32_t Sys(int index) { return 0xFF000000u | static_cast<std::uint32_t>(index); }

}  // namespace

SwatchRects SwatchGeometry(MenuLook look, int itemLeft, int itemTop) {
  const SwatchPlace p = look == MenuLook::Xp ? kXpSwatch : kStandardSwatch;
  const ItemRect frame{itemLeft + p.dx, itemTop + p.dy, itemLeft + p.dx + p.width, itemTop + p.dy + p.height};
  return {frame, {frame.left + 1, frame.top + 1, frame.right - 1, frame.bottom - 1}};
}

RgbColor SwatchColor(std::uint32_t color, const ScreenColors& screen) { return ToRealColor(color, screen); }

XpItemLook XpItemLookFor(MenuItemFlags flags, const ScreenColors& screen) {
  XpItemLook look;
  look.background = Blend(Sys(kSysWindow), Sys(kSysBtnFace), 80, screen);
  look.gutter = ToRealColor(Sys(kSysBtnFace), screen);
  look.text = ToRealColor(Sys(flags.disabled ? kSysGrayText : kSysMenuText), screen);
  const RgbColor highlight = ToRealColor(Sys(kSysHighlight), screen);
  if (flags.selected) {
    look.framed = true;
    look.frame = highlight;
    // A disabled item shows where the keyboard is, but not that it can be chosen.
    look.fill = flags.disabled ? look.background : Blend(Sys(kSysHighlight), Sys(kSysWindow), 30, screen);
  }
  if (flags.checked) {
    look.boxed = true;
    look.boxFrame = highlight;
    look.boxFill = Blend(Sys(kSysHighlight), Sys(kSysWindow), flags.selected ? 50 : 20, screen);
  }
  return look;
}

ItemRect XpCheckBox(int itemLeft, int itemTop) { return {itemLeft + 2, itemTop + 3, itemLeft + 20, itemTop + 22}; }

}  // namespace snibbet
