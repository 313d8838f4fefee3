#include "clipboard/paste_targets.h"

namespace snibbet {

bool PasteTargetTable::NotePaste(HWND window, std::uint32_t now, bool& newWindow) {
  for (auto& [known, tick] : entries_) {
    if (known != window) continue;
    // Unsigned difference: right across the tick count's wrap.
    const bool first = now - tick > kFreshForMs;
    tick = now;
    return first;
  }
  newWindow = true;
  if (entries_.size() >= kMaxEntries) entries_.clear();
  entries_.emplace_back(window, now);
  return true;
}

}  // namespace snibbet
