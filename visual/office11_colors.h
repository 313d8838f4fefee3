#pragma once
// The process-wide Office-2003 colour table in the colours of the current
// visual style (blue, olive or silver palette on Luna and later styles,
// otherwise worked out from the system colours), with the colour functions
// that windows paint with. GUI thread only.
#include <windows.h>

#include <cstdint>

#include "visual/office11_table.h"

namespace snibbet {

// Takes the colour scheme into use: the first user fills the table and makes
// its brushes and pictures; later users only count. Pair with a release.
void Office11ColorsAddRef();
// Fills the table again from the current style and system colours (after a
// settings change); brushes and pictures are made anew while there are users.
void Office11ColorsRefresh();
// One user less; the last frees the brushes and pictures. The colours stay.
void Office11ColorsRelease();

// Entry 0..48 of the table (black before it is first filled or out of range).
COLORREF Office11Color(int entry);
const Office11Table& Office11Colors();
int Office11GradientBias();

// The palette the current visual style asks for; None without usable styles.
Office11Scheme DetectLunaScheme();

// Colours may name system colours (high byte 0xFF). Percentages are 0..100.
COLORREF ShadeColor(std::uint32_t color, int percent);  // toward black
COLORREF TintColor(std::uint32_t color, int percent);   // toward white
// `percent` of color1 over the rest of color2, as the screen shows it.
COLORREF BlendColors(std::uint32_t color1, std::uint32_t color2, int percent);

// Fills `rect` with the two-part gradient from color1 over the table's middle
// colour to color2, in one-pixel bands left to right when horizontal, else
// top to bottom. Equal colours fill in one piece; an empty rectangle paints nothing.
void FillGradientRect(HDC dc, const RECT& rect, std::uint32_t color1, bool horizontal, std::uint32_t color2);

// The solid brush of a table entry while the scheme is in use, for entries
// 12 to 15, 18 to 21 and 26 to 29; null otherwise.
HBRUSH Office11Brush(int entry);
// Entry 4 blended half and half with entry 11.
HBRUSH Office11BorderBrush();

enum class Office11Picture { SubmenuExpand, ExpandMinus, ExpandPlus };
// The picture loaded from the program's resources while the scheme is in
// use; null when the resource is missing. The submenu arrow is recoloured
// from entry 1 (dark) to entry 0 (light).
HBITMAP Office11Bitmap(Office11Picture picture);

}  // namespace snibbet
