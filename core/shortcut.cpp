#include "core/shortcut.h"

namespace snibbet {

ShortCutKeys SplitShortCut(std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  return {static_cast<std::uint8_t>(bits & 0xFF), static_cast<std::uint8_t>((bits >> 8) & 0xFF)};
}

std::int32_t MakeShortCut(std::uint8_t key, std::uint8_t controlSet) { return (controlSet << 8) + key; }

}  // namespace snibbet
