#pragma once
// The system's classic look for owner-drawn menu items: an image column on
// the left (the item's picture, else its check mark or radio bullet in a
// highlighted box while checked), the caption with its shortcut after a tab, the
// highlight colour under the selected item, etched separators.
#include <windows.h>

#include <string_view>

#include "ui/gdi.h"
#include "ui/menu_item_painter.h"

namespace ui {

// The system's menu font, plain and bold (default items), made when first asked for.
class MenuFonts {
 public:
  HFONT Get(bool bold);

 private:
  Font plain_, bold_;
};

class StandardMenuItemPainter : public MenuItemPainter {
 public:
  static constexpr int kImageColumnWidth = 20;
  static constexpr int kItemHeight = 20;  // at least; taller for a large menu font
  static constexpr int kSeparatorHeight = 9;

  SIZE Measure(const MenuItem& item, const ImageList* images) override;
  void Paint(const MenuItemDraw& draw) override;

 private:
  MenuFonts fonts_;
};

// Draws a check mark or a radio bullet centred in `box` in `color`; the
// owner-drawn painters share it.
void DrawMenuCheckGlyph(HDC dc, const RECT& box, bool radio, COLORREF color);

// The caption's text and its shortcut (after the first tab).
struct MenuCaptionParts {
  std::wstring_view text, shortcut;
};
MenuCaptionParts SplitMenuCaption(std::wstring_view caption);
// The size of a one-line text in the font selected into `dc`.
SIZE MenuTextSize(HDC dc, std::wstring_view text);

}  // namespace ui
