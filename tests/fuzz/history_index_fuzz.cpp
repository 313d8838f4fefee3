// libFuzzer target: the clipboard history's index reader must take any bytes
// without crashing or reading out of bounds, and its lines must survive a
// write and a read unchanged.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "clipboard/history_index.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto lines = snibbet::ReadHistoryIndex(bytes);
  const int last = snibbet::LastItemNumber(lines);
  if (last < 0 || last > snibbet::kMaxHistoryItemNumber) __builtin_trap();
  for (const auto& line : lines) {
    const int number = snibbet::ItemNumberOfLine(line);
    if (number > last) __builtin_trap();
    (void)snibbet::HashOfLine(line);
    (void)snibbet::HistoryMarker(line);
  }
  if (snibbet::ReadHistoryIndex(snibbet::WriteHistoryIndex(lines)) != lines) __builtin_trap();
  return 0;
}
