#include "helper/main_process_start.h"

#include "helper/helper_protocol.h"

namespace snibbet::helper {

std::optional<std::uint32_t> MainProcessNamedIn(std::wstring_view commandLine) {
  const std::wstring_view name = kHelperMainProcessSwitch;
  for (size_t at = commandLine.find(name); at != std::wstring_view::npos; at = commandLine.find(name, at + 1)) {
    if (at != 0 && commandLine[at - 1] != L' ' && commandLine[at - 1] != L'\t') continue;
    std::uint64_t id = 0;
    size_t digit = at + name.size();
    for (; digit < commandLine.size() && commandLine[digit] >= L'0' && commandLine[digit] <= L'9'; ++digit) {
      id = id * 10 + static_cast<std::uint64_t>(commandLine[digit] - L'0');
      if (id > UINT32_MAX) return std::nullopt;
    }
    const bool ended = digit == commandLine.size() || commandLine[digit] == L' ' || commandLine[digit] == L'\t';
    if (digit == at + name.size() || !ended || id == 0) return std::nullopt;
    return static_cast<std::uint32_t>(id);
  }
  return std::nullopt;
}

}  // namespace snibbet::helper
