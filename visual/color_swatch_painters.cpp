#include "visual/color_swatch_painters.h"

#include "core/version_info.h"
#include "ui/gdi.h"
#include "ui/menu.h"
#include "visual/system_screen.h"

namespace snibbet {

void PaintColorSwatch(MenuLook look, const ui::MenuItemDraw& draw) {
  if (draw.item.IsSeparator()) return;
  const SystemScreen screen;
  const SwatchRects swatch = SwatchGeometry(look, draw.rect.left, draw.rect.top);
  const RECT frame{swatch.frame.left, swatch.frame.top, swatch.frame.right, swatch.frame.bottom};
  const RECT fill{swatch.fill.left, swatch.fill.top, swatch.fill.right, swatch.fill.bottom};
  ui::Brush frameBrush(CreateSolidBrush(GetSysColor(COLOR_MENUTEXT)));
  FrameRect(draw.dc, &frame, frameBrush.Get());
  ui::Brush fillBrush(CreateSolidBrush(SwatchColor(static_cast<std::uint32_t>(draw.item.tag), screen)));
  FillRect(draw.dc, &fill, fillBrush.Get());
}

void XpColorMenuItemPainter::Paint(const ui::MenuItemDraw& draw) {
  XpMenuItemPainter::Paint(draw);
  PaintColorSwatch(MenuLook::Xp, draw);
}

void StandardColorMenuItemPainter::Paint(const ui::MenuItemDraw& draw) {
  StandardMenuItemPainter::Paint(draw);
  PaintColorSwatch(MenuLook::Standard, draw);
}

std::unique_ptr<ui::MenuItemPainter> MakeColorMenuItemPainter(MenuLook look) {
  if (look == MenuLook::Xp) return std::make_unique<XpColorMenuItemPainter>();
  return std::make_unique<StandardColorMenuItemPainter>();
}

MenuLook MenuLookForSystem() { return IsVistaOrLater() ? MenuLook::Standard : MenuLook::Xp; }

}  // namespace snibbet
