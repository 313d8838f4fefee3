#pragma once
// The windows pasted into lately, each with the tick of its last paste: the
// first paste into a window for a while waits longer for the target.
#include <windows.h>

#include <cstdint>
#include <utility>
#include <vector>

namespace snibbet {

class PasteTargetTable {
 public:
  static constexpr std::size_t kMaxEntries = 100;
  static constexpr std::uint32_t kFreshForMs = 30000;

  // Records a paste into `window` at `now`. True when the window is new to
  // the table (then newWindow is set) or was last pasted into more than 30 s
  // ago. A full table is emptied before a new window is added.
  bool NotePaste(HWND window, std::uint32_t now, bool& newWindow);

  std::size_t Size() const { return entries_.size(); }

 private:
  std::vector<std::pair<HWND, std::uint32_t>> entries_;
};

}  // namespace snibbet
