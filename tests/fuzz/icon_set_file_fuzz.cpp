// Fuzz target: the icon-set reader must take any bytes without crashing,
// reading out of bounds or allocating wildly; what it accepts must be
// consistent (a full read agrees with the header read, every picture has its
// entry and the strip's pixels lie inside it), and the index must hold.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/icon_set_file.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace snibbet;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const IconSetFile header = ReadIconSetFile(bytes, false);
  const IconSetFile full = ReadIconSetFile(bytes, true);
  Check(header.executable == full.executable && header.windowClass == full.windowClass && header.note == full.note);
  if (full.status == IconSetReadStatus::Complete) {
    Check(header.status == IconSetReadStatus::Complete);
    Check(full.stripLayout.has_value());
    const BitmapStripLayout& strip = *full.stripLayout;
    Check(full.entries.size() == static_cast<std::size_t>(strip.Pictures()));
    Check(strip.infoOffset + strip.infoSize <= strip.bitsOffset);
    Check(strip.bitsOffset + strip.bitsSize <= full.strip.size());
  }
  if (!header.icon.empty()) {
    const auto image = ReadIconImageLayout(header.icon);
    Check(image.has_value() && image->offset + image->size <= header.icon.size());
  }

  std::vector<IconEntry> entries;
  for (const IconSetFileEntry& entry : full.entries) entries.push_back({entry.kind, entry.id, {}});
  IconEntryIndex index;
  index.Build(entries);
  for (int kind = 0; kind < 256; ++kind) {
    for (const std::size_t i : index.EntriesOf(static_cast<std::uint8_t>(kind))) Check(entries[i].kind == kind);
    if (const auto found = index.Find(entries, static_cast<std::uint8_t>(kind), 0x20, 0x20))
      Check(entries[*found].id == 0x20 && entries[*found].kind == kind);
  }
  return 0;
}
