#pragma once
// The Office-2003 colour table: 49 colours from one of three fixed palettes
// (the XP visual style's blue, olive and silver), or worked out from the
// system colours when no palette applies. Window-free.
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "visual/color_math.h"

namespace snibbet {

inline constexpr int kOffice11ColorCount = 49;

enum class Office11Scheme : int { None = 0, Blue = 1, Olive = 2, Silver = 3 };

// The entries that the framed windows (settings, wizard) paint with: the
// frame, and the header's gradient from its light to its dark end under its caption.
inline constexpr int kOffice11FrameEntry = 21;
inline constexpr int kOffice11HeaderStartEntry = 46;
inline constexpr int kOffice11HeaderEndEntry = 47;
inline constexpr int kOffice11HeaderCaptionEntry = 48;

struct Office11Table {
  std::array<RgbColor, kOffice11ColorCount> colors{};  // all black until filled
  Office11Scheme scheme = Office11Scheme::None;
  int gradientBias = 0;
};

// The palette that a visual style asks for, from its file name (with or
// without folder) and its colour name: the Luna style, or any style from
// system version 6 on, maps "NormalColor", "HomeStead" and "Metallic" (any
// case) to blue, olive and silver; everything else to none.
Office11Scheme SchemeFromThemeNames(std::wstring_view themeFile, std::wstring_view colorName,
                                    unsigned majorVersion);

// The whole table for `scheme`: the palette's column, or for None the rules
// over the system colours of `screen`.
Office11Table BuildOffice11Table(Office11Scheme scheme, const ScreenColors& screen);

// Recolours a small monochrome picture (pixels row by row, top-left first) in
// the table's shades: the top-left colour is transparent and black stays;
// every other pixel becomes a blend from `dark` (its darkest red level) to
// `light` (its brightest).
void RecolorMonoPixels(std::vector<RgbColor>& pixels, RgbColor light, RgbColor dark, const ScreenColors& screen);

}  // namespace snibbet
