#pragma once
// Display names of the virtual-key codes 1..255. Window-free: shared by the
// main program and the input helper.
#include <string_view>

namespace snibbet {

// Name of virtual-key code `vk`, empty when the code has no name or is out of 1..255.
std::string_view VirtualKeyName(int vk);

// The lowest code whose upper-cased name equals `upperName` (already upper-cased
// and trimmed by the caller); 0 when none.
int VirtualKeyByName(std::string_view upperName);

}  // namespace snibbet
