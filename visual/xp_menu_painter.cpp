#include "visual/xp_menu_painter.h"

#include <algorithm>

#include "ui/gdi.h"
#include "ui/image_list.h"
#include "ui/menu.h"
#include "visual/menu_item_looks.h"
#include "visual/system_screen.h"

namespace snibbet {
namespace {

constexpr int kTextGap = 8;       // image column to caption
constexpr int kShortcutGap = 24;  // caption to shortcut
constexpr int kRightMargin = 16;  // room for a sub-menu arrow

void Fill(HDC dc, const RECT& r, COLORREF color) {
  ui::Brush brush(CreateSolidBrush(color));
  FillRect(dc, &r, brush.Get());
}

void Frame(HDC dc, const RECT& r, COLORREF color) {
  ui::Brush brush(CreateSolidBrush(color));
  FrameRect(dc, &r, brush.Get());
}

RECT ToRect(const ItemRect& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

SIZE XpMenuItemPainter::Measure(const ui::MenuItem& item, const ui::ImageList* images) {
  if (item.IsSeparator()) return {kXpGutterWidth, kXpSeparatorHeight};
  ui::WindowDC screen;
  ui::SelectedObject selected(screen, fonts_.Get(item.isDefault));
  const ui::MenuCaptionParts parts = ui::SplitMenuCaption(item.caption);
  const SIZE text = ui::MenuTextSize(screen, parts.text);
  int width = kXpGutterWidth + kTextGap + text.cx + kRightMargin;
  if (!parts.shortcut.empty()) width += kShortcutGap + ui::MenuTextSize(screen, parts.shortcut).cx;
  int height = std::max<int>(kXpItemHeight, text.cy + 8);
  if (images) height = std::max<int>(height, images->ImageSize().cy + 8);
  return {width, height};
}

void XpMenuItemPainter::Paint(const ui::MenuItemDraw& draw) {
  const ui::MenuItem& item = draw.item;
  const RECT& r = draw.rect;
  HDC dc = draw.dc;
  ui::SavedDCState saved(dc);
  const MenuItemFlags flags{(draw.state & ODS_SELECTED) != 0, (draw.state & ODS_CHECKED) != 0,
                            (draw.state & (ODS_DISABLED | ODS_GRAYED)) != 0};
  const XpItemLook look = XpItemLookFor(item.IsSeparator() ? MenuItemFlags{} : flags, SystemScreen());

  const RECT gutter{r.left, r.top, r.left + kXpGutterWidth, r.bottom};
  const RECT rest{gutter.right, r.top, r.right, r.bottom};
  Fill(dc, gutter, look.gutter);
  Fill(dc, rest, look.background);
  if (item.IsSeparator()) {
    const int y = (r.top + r.bottom) / 2;
    Fill(dc, {rest.left + kTextGap, y, r.right, y + 1}, GetSysColor(COLOR_BTNSHADOW));
    return;
  }
  if (look.framed) {
    Fill(dc, r, look.fill);
    Frame(dc, r, look.frame);
  }
  const RECT box = ToRect(XpCheckBox(r.left, r.top));
  if (look.boxed) {
    Fill(dc, box, look.boxFill);
    Frame(dc, box, look.boxFrame);
  }
  const bool hasImage = draw.images && item.imageIndex >= 0 && item.imageIndex < draw.images->Count();
  if (hasImage) {
    const SIZE size = draw.images->ImageSize();
    draw.images->Draw(item.imageIndex, dc, r.left + (kXpGutterWidth - size.cx) / 2,
                      r.top + (r.bottom - r.top - size.cy) / 2, flags.disabled ? ILD_BLEND50 : ILD_TRANSPARENT);
  } else if (flags.checked) {
    ui::DrawMenuCheckGlyph(dc, box, item.radio, look.text);
  }

  ui::SelectedObject font(dc, fonts_.Get(item.isDefault));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, look.text);
  const ui::MenuCaptionParts parts = ui::SplitMenuCaption(item.caption);
  RECT text{rest.left + kTextGap, r.top, r.right - kRightMargin, r.bottom};
  DrawTextW(dc, parts.text.data(), static_cast<int>(parts.text.size()), &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  if (!parts.shortcut.empty()) {
    DrawTextW(dc, parts.shortcut.data(), static_cast<int>(parts.shortcut.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
  }
}

}  // namespace snibbet
