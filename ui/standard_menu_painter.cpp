#include "ui/standard_menu_painter.h"

#include <algorithm>
#include <string>

#include "ui/image_list.h"
#include "ui/menu.h"

namespace ui {
namespace {

constexpr int kTextGap = 4;        // image column to caption
constexpr int kShortcutGap = 20;   // caption to shortcut
constexpr int kRightMargin = 16;   // room for a sub-menu arrow

// `percent` of a over the rest of b, per channel.
COLORREF MixColors(COLORREF a, COLORREF b, int percent) {
  auto channel = [&](int shift) {
    const int x = (a >> shift) & 0xFF, y = (b >> shift) & 0xFF;
    return static_cast<COLORREF>((x * percent + y * (100 - percent)) / 100) << shift;
  };
  return channel(0) | channel(8) | channel(16);
}

}  // namespace

SIZE MenuTextSize(HDC dc, std::wstring_view text) {
  RECT r{};
  DrawTextW(dc, text.data(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_CALCRECT);
  return {r.right - r.left, r.bottom - r.top};
}

MenuCaptionParts SplitMenuCaption(std::wstring_view caption) {
  const size_t tab = caption.find(L'\t');
  if (tab == std::wstring_view::npos) return {caption, {}};
  return {caption.substr(0, tab), caption.substr(tab + 1)};
}

void DrawMenuCheckGlyph(HDC dc, const RECT& box, bool radio, COLORREF color) {
  const int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
  Brush brush(CreateSolidBrush(color));
  Pen pen(CreatePen(PS_SOLID, 1, color));
  SelectedObject selectedBrush(dc, brush.Get());
  SelectedObject selectedPen(dc, pen.Get());
  if (radio) {
    Ellipse(dc, cx - 3, cy - 3, cx + 3, cy + 3);
    return;
  }
  // A tick three pixels thick: down-right from the left, then up to the right.
  for (int thickness = 0; thickness < 3; ++thickness) {
    const POINT tick[] = {{cx - 3, cy - 1 + thickness}, {cx - 1, cy + 1 + thickness}, {cx + 4, cy - 4 + thickness}};
    Polyline(dc, tick, 3);
  }
}

HFONT MenuFonts::Get(bool bold) {
  Font& font = bold ? bold_ : plain_;
  if (!font) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    LOGFONTW description = metrics.lfMenuFont;
    if (bold) description.lfWeight = FW_BOLD;
    font.Reset(CreateFontIndirectW(&description));
  }
  return font.Get();
}

SIZE StandardMenuItemPainter::Measure(const MenuItem& item, const ImageList* images) {
  if (item.IsSeparator()) return {kImageColumnWidth, kSeparatorHeight};
  WindowDC screen;
  SelectedObject selected(screen, fonts_.Get(item.isDefault));
  const MenuCaptionParts parts = SplitMenuCaption(item.caption);
  const SIZE text = MenuTextSize(screen, parts.text);
  int width = kImageColumnWidth + kTextGap + text.cx + kRightMargin;
  if (!parts.shortcut.empty()) width += kShortcutGap + MenuTextSize(screen, parts.shortcut).cx;
  int height = std::max<int>(kItemHeight, text.cy + 6);
  if (images) height = std::max<int>(height, images->ImageSize().cy + 4);
  return {width, height};
}

void StandardMenuItemPainter::Paint(const MenuItemDraw& draw) {
  const MenuItem& item = draw.item;
  const RECT& r = draw.rect;
  HDC dc = draw.dc;
  SavedDCState saved(dc);
  if (item.IsSeparator()) {
    FillRect(dc, &r, GetSysColorBrush(COLOR_MENU));
    RECT line{r.left + 2, (r.top + r.bottom) / 2 - 1, r.right - 2, (r.top + r.bottom) / 2 + 1};
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  const bool selected = (draw.state & ODS_SELECTED) != 0;
  const bool disabled = (draw.state & (ODS_DISABLED | ODS_GRAYED)) != 0;
  const bool checked = (draw.state & ODS_CHECKED) != 0;
  FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));

  // The image column: the picture, else the check in a sunken box.
  const RECT box{r.left + 1, r.top + 2, r.left + kImageColumnWidth - 3, r.top + kItemHeight - 2};
  const bool hasImage = draw.images && item.imageIndex >= 0 && item.imageIndex < draw.images->Count();
  if (checked) {  // a pale highlight framed in the highlight, as later systems mark checked pictures
    Brush pale(CreateSolidBrush(MixColors(GetSysColor(COLOR_HIGHLIGHT), GetSysColor(COLOR_MENU), 25)));
    FillRect(dc, &box, pale.Get());
    FrameRect(dc, &box, GetSysColorBrush(COLOR_HIGHLIGHT));
  }
  if (hasImage) {
    const SIZE size = draw.images->ImageSize();
    draw.images->Draw(item.imageIndex, dc, r.left + (kImageColumnWidth - size.cx) / 2,
                      r.top + (r.bottom - r.top - size.cy) / 2, disabled ? ILD_BLEND50 : ILD_TRANSPARENT);
  } else if (checked) {
    DrawMenuCheckGlyph(dc, box, item.radio, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_MENUTEXT));
  }

  SelectedObject font(dc, fonts_.Get(item.isDefault));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
  const MenuCaptionParts parts = SplitMenuCaption(item.caption);
  RECT text{r.left + kImageColumnWidth + kTextGap, r.top, r.right - kRightMargin, r.bottom};
  DrawTextW(dc, parts.text.data(), static_cast<int>(parts.text.size()), &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  if (!parts.shortcut.empty()) {
    DrawTextW(dc, parts.shortcut.data(), static_cast<int>(parts.shortcut.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
  }
}

}  // namespace ui
