#pragma once
// Colour arithmetic for derived highlight and selection colours. Colours are
// 0x00BBGGRR (red in the low byte). Window-free.
#include <cstdint>

namespace snibbet {

using RgbColor = std::uint32_t;

// Per channel face × p1 % + highlight × p2 % + window × p3 %, each term
// rounded, the sum clamped to 0..255. With a black or white face the mix
// would be meaningless, so the highlight comes back unchanged.
RgbColor MixColors(RgbColor face, RgbColor highlight, RgbColor window, std::int8_t p1, std::int8_t p2,
                   std::int8_t p3);

// Half way from a to b, then 60 % of the way to a light grey (225); with
// `darker` a further quarter of the distance from 122.
RgbColor SoftBlend(RgbColor a, RgbColor b, bool darker);

}  // namespace snibbet
