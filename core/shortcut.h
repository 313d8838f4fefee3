#pragma once
// Hotkey values as stored in the settings: the modifier set (one bit per
// side-specific Shift, Ctrl, Alt and Win key) in the high byte, the virtual
// key in the low byte. Window-free.
#include <cstdint>

namespace snibbet {

struct ShortCutKeys {
  std::uint8_t key = 0;         // virtual key
  std::uint8_t controlSet = 0;  // modifier set
};

ShortCutKeys SplitShortCut(std::int32_t value);
std::int32_t MakeShortCut(std::uint8_t key, std::uint8_t controlSet);

}  // namespace snibbet
