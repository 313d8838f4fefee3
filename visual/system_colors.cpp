#include "visual/system_colors.h"

#include "visual/color_mix.h"
#include "ui/gdi.h"

namespace snibbet {

COLORREF ColorToRgb(std::uint32_t color) {
  if ((color >> 24) == 0xFF) return GetSysColor(static_cast<int>(color & 0xFF));
  return color & 0xFFFFFF;
}

COLORREF NearestScreenColor(std::uint32_t color) {
  const ui::WindowDC screen(nullptr);
  const COLORREF rgb = ColorToRgb(color);
  const COLORREF nearest = screen.Get() ? GetNearestColor(screen.Get(), rgb) : CLR_INVALID;
  return nearest == CLR_INVALID ? rgb : nearest;
}

COLORREF MixSystemColors(std::int8_t p1, std::int8_t p2, std::int8_t p3) {
  return MixColors(GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_HIGHLIGHT), GetSysColor(COLOR_WINDOW), p1, p2,
                   p3);
}

COLORREF LightHighlightColor() { return NearestScreenColor(MixSystemColors(14, 44, 40)); }

COLORREF PaleHighlightColor() { return NearestScreenColor(MixSystemColors(-2, 30, 72)); }

COLORREF SoftBlendColor(std::uint32_t a, std::uint32_t b, bool darker) {
  return NearestScreenColor(SoftBlend(ColorToRgb(a), ColorToRgb(b), darker));
}

}  // namespace snibbet
