// libFuzzer target: the clipboard history's index reader must take any bytes
// without crashing or reading out of bounds, refuse what is far beyond an
// index the store writes, and the lines it takes must survive a write and a
// read unchanged.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "clipboard/history_index.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  // Fed in two pieces, the reader must see what it sees at once.
  snibbet::HistoryIndexReader split;
  split.Feed(bytes.substr(0, size / 3));
  split.Feed(bytes.substr(size / 3));
  const auto read = snibbet::ReadHistoryIndex(bytes);
  if (split.Finish() != read) __builtin_trap();
  if (!read) return 0;
  const auto& lines = *read;
  if (lines.size() > snibbet::kHistoryIndexMostLines) __builtin_trap();
  const int last = snibbet::LastItemNumber(lines);
  if (last < 0 || last > snibbet::kMaxHistoryItemNumber) __builtin_trap();
  for (const auto& line : lines) {
    if (line.size() > snibbet::kHistoryLineMostChars) __builtin_trap();
    const int number = snibbet::ItemNumberOfLine(line);
    if (number > last) __builtin_trap();
    (void)snibbet::HashOfLine(line);
    (void)snibbet::HistoryMarker(line);
  }
  const std::string written = snibbet::WriteHistoryIndex(lines);
  if (written.size() > snibbet::kHistoryIndexMostBytes) __builtin_trap();
  if (snibbet::ReadHistoryIndex(written) != read) __builtin_trap();
  return 0;
}
