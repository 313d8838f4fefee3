#pragma once
// Colour arithmetic of the Office-style colour scheme. Colours are 0x00BBGGRR
// (red in the low byte); a colour whose high byte is 0xFF names a system
// colour by its index and must be made real (ScreenColors) before any sum.
// Window-free.
#include <cstdint>

#include "visual/color_mix.h"

namespace snibbet {

// What the screen says: the system colours and the colours it can show.
class ScreenColors {
 public:
  virtual ~ScreenColors() = default;
  virtual RgbColor SystemColor(int index) const = 0;
  virtual RgbColor Nearest(RgbColor color) const = 0;
};

// System colour indexes used by the scheme.
enum SystemColorIndex : int {
  kSysMenu = 4,
  kSysWindow = 5,
  kSysMenuText = 7,
  kSysHighlight = 13,
  kSysHighlightText = 14,
  kSysBtnFace = 15,
  kSysBtnShadow = 16,
  kSysGrayText = 17,
  kSysBtnText = 18,
  kSysBtnHighlight = 20,
};

constexpr RgbColor MakeRgb(int red, int green, int blue) {
  return static_cast<RgbColor>(red | (green << 8) | (blue << 16));
}
// #RRGGBB as written in colour tables, turned into 0x00BBGGRR.
constexpr RgbColor FromHexRgb(std::uint32_t rrggbb) {
  return MakeRgb(static_cast<int>(rrggbb >> 16) & 0xFF, static_cast<int>(rrggbb >> 8) & 0xFF,
                 static_cast<int>(rrggbb) & 0xFF);
}
constexpr int RedOf(RgbColor c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(RgbColor c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(RgbColor c) { return static_cast<int>((c >> 16) & 0xFF); }

// A system colour reference (high byte 0xFF) turned into its current value.
RgbColor ToRealColor(std::uint32_t color, const ScreenColors& screen);

// a × b ÷ c with a 64-bit product, rounded to nearest, halves away from zero;
// -1 for c = 0, as the system's MulDiv answers.
int MulDiv64(int a, int b, int c);

// Per channel round(c × percent ÷ 100), halves to even: darker toward black.
// Percent is held within 0..100.
RgbColor ShadeRgb(RgbColor color, int percent);

// Per channel round(c × P ÷ 100) + round(255 − 255 × P ÷ 100), halves to even,
// capped at 255: lighter toward white. Percent is held within 0..100.
RgbColor TintRgb(RgbColor color, int percent);

// Per channel min(255, y × (100 − p) % + x × p %), before snapping to the screen.
RgbColor BlendRgb(RgbColor x, RgbColor y, int percent);

// A colour a little off the button face: with `halfway` half way to white,
// else a touch lighter (c + 4 − 4c/255).
RgbColor DeriveFromFace(RgbColor face, bool halfway);

}  // namespace snibbet
