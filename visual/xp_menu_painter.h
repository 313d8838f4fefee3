#pragma once
// The XP look for owner-drawn menu items (the program's menus before Vista):
// light items beside a button-face image column, the selected item framed in
// the highlight colour over a pale highlight, a checked item's image boxed.
#include <windows.h>

#include "ui/menu_item_painter.h"
#include "ui/standard_menu_painter.h"

namespace snibbet {

class XpMenuItemPainter : public ui::MenuItemPainter {
 public:
  SIZE Measure(const ui::MenuItem& item, const ui::ImageList* images) override;
  void Paint(const ui::MenuItemDraw& draw) override;

 private:
  ui::MenuFonts fonts_;
};

}  // namespace snibbet
