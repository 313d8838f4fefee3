#pragma once
// Menu-item painters for colour menus: each paints an item in its look and
// then a small swatch over the image area in the colour the item carries as
// its tag (red in the low byte; a high byte of 0xFF names a system colour).
// The swatch shows in every state of the item, framed in the menu-text colour.
#include <memory>

#include "ui/standard_menu_painter.h"
#include "visual/menu_item_looks.h"
#include "visual/xp_menu_painter.h"

namespace snibbet {

class XpColorMenuItemPainter : public XpMenuItemPainter {
 public:
  void Paint(const ui::MenuItemDraw& draw) override;
};

class StandardColorMenuItemPainter : public ui::StandardMenuItemPainter {
 public:
  void Paint(const ui::MenuItemDraw& draw) override;
};

// The swatch of one item, painted over what is there.
void PaintColorSwatch(MenuLook look, const ui::MenuItemDraw& draw);

// The colour painter of the given menu look.
std::unique_ptr<ui::MenuItemPainter> MakeColorMenuItemPainter(MenuLook look);

// The menus' look on this system: the standard one from Windows Vista on, the XP look before.
MenuLook MenuLookForSystem();

}  // namespace snibbet
