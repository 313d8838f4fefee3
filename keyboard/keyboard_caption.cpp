#include "keyboard/keyboard_caption.h"

#include <iterator>

#include "ui/gdi.h"
#include "visual/office11_colors.h"

namespace snibbet {
namespace {

constexpr int kBarBottom = 19;
constexpr int kTextLeft = 7, kTextTop = 3, kTextBottom = 18;

ui::Font CaptionFont(HDC dc) {
  const int height = -MulDiv(8, GetDeviceCaps(dc, LOGPIXELSY), 72);
  return ui::Font(CreateFontW(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                              CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Tahoma"));
}

}  // namespace

void DrawKeyboardCaption(HDC dc, int width, bool active, COLORREF cornerColour, const std::wstring& caption,
                         const KeyboardAppearance& appearance) {
  const int w = width;
  const RECT bar{1, 1, w - 1, kBarBottom};
  FillGradientRect(dc, bar, active ? appearance.activeCaptionTop : appearance.inactiveCaptionTop, false,
                   active ? appearance.activeCaptionBottom : appearance.inactiveCaptionBottom);

  const POINT outline[] = {{0, 19},     {0, 5},      {1, 4},      {1, 3},      {3, 1},
                           {4, 1},      {5, 0},      {w - 6, 0},  {w - 5, 1},  {w - 4, 1},
                           {w - 2, 3},  {w - 2, 4},  {w - 1, 5},  {w - 1, 19}, {0, 19}};
  {
    ui::Pen pen(CreatePen(PS_SOLID, 1, appearance.frame));
    ui::SelectedObject selectedPen(dc, pen.Get());
    Polyline(dc, outline, static_cast<int>(std::size(outline)));
  }
  for (const POINT corner : {POINT{1, 1}, POINT{2, 1}, POINT{1, 2}, POINT{w - 2, 1}, POINT{w - 3, 1}, POINT{w - 2, 2}})
    SetPixelV(dc, corner.x, corner.y, cornerColour);

  RECT text{kTextLeft, kTextTop, w - kCaptionRightMargin, kTextBottom};
  // Too narrow a bar leaves no room: the rectangle would turn inside out.
  if (text.right <= text.left || caption.empty()) return;
  ui::Font font = CaptionFont(dc);
  ui::SelectedObject selectedFont(dc, font.Get());
  const int previousMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF previousColour =
      SetTextColor(dc, active ? appearance.activeCaptionText : appearance.inactiveCaptionText);
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
            DT_LEFT | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  SetTextColor(dc, previousColour);
  SetBkMode(dc, previousMode);
}

}  // namespace snibbet
