#pragma once
// The key list of a "<KEY " tag: key names joined by "+". Window-free.
#include <cstdint>
#include <string_view>
#include <vector>

namespace snibbet {

// The virtual-key codes of the list in its order. Each name is trimmed and
// compared, upper-cased, with the key-name table (the lowest code wins); a
// name starting with "$" is a hexadecimal code of which the low 8 bits count.
// Unknown names, invalid numbers and codes whose low 8 bits are 0 are skipped.
std::vector<std::uint8_t> ParseKeyList(std::wstring_view list);

}  // namespace snibbet
