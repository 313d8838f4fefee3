#pragma once
// The main program names its own process on the helper's command line when it
// starts it, so the helper watches it from its first moment: a main program
// killed before the helper could find its window still ends the helper.
// Window-free.
#include <cstdint>
#include <optional>
#include <string_view>

namespace snibbet::helper {

// The process named by the main program's switch; none for a copy started by
// hand (no switch) or a switch without a usable process id.
std::optional<std::uint32_t> MainProcessNamedIn(std::wstring_view commandLine);

}  // namespace snibbet::helper
