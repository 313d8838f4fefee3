#pragma once
// The history's picture thumbnail: resampled with the Lanczos-3 filter and
// written as a 24-bit Windows bitmap file. Window-free.
#include <cstdint>
#include <string>
#include <vector>

namespace snibbet {

// Top-down 0x00RRGGBB pixels of width x height, resampled to newWidth x newHeight.
std::vector<std::uint32_t> ResampleLanczos3(const std::vector<std::uint32_t>& pixels, int width, int height,
                                            int newWidth, int newHeight);

// Top-down 0x00RRGGBB pixels as a 24-bit bottom-up bitmap file.
std::string BitmapFile24(const std::vector<std::uint32_t>& pixels, int width, int height);

}  // namespace snibbet
