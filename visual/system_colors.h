#pragma once
// Colours derived from the system's colour scheme. A colour whose high byte
// is 0xFF names a system colour by its index (0xFF00000F is the button face).
#include <windows.h>

#include <cstdint>

namespace snibbet {

// The RGB value of `color`, looking system colours up.
COLORREF ColorToRgb(std::uint32_t color);

// The nearest colour the screen can show.
COLORREF NearestScreenColor(std::uint32_t color);

// MixColors of the button-face, highlight and window colours.
COLORREF MixSystemColors(std::int8_t p1, std::int8_t p2, std::int8_t p3);

COLORREF LightHighlightColor();  // pressed keys
COLORREF PaleHighlightColor();   // highlighted keys

// SoftBlend of two colours (system colours allowed), as the screen shows it.
COLORREF SoftBlendColor(std::uint32_t a, std::uint32_t b, bool darker);

}  // namespace snibbet
