#pragma once
// Owner-drawn menus: a PopupMenu given a painter has every item measured and
// drawn by it instead of by the system.
#include <windows.h>

namespace ui {

class ImageList;
class MenuItem;

// One item to paint: `state` holds the owner-draw flags (ODS_SELECTED,
// ODS_CHECKED, ODS_DISABLED, ODS_GRAYED, ODS_DEFAULT).
struct MenuItemDraw {
  const MenuItem& item;
  HDC dc;
  RECT rect;
  UINT state;
  const ImageList* images;  // the menu's image list, or none
};

class MenuItemPainter {
 public:
  virtual ~MenuItemPainter() = default;
  // The size the item asks for (separators too).
  virtual SIZE Measure(const MenuItem& item, const ImageList* images) = 0;
  // Paints all of draw.rect.
  virtual void Paint(const MenuItemDraw& draw) = 0;
};

}  // namespace ui
