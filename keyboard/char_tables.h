#pragma once
// What every printable key types in a keyboard layout under the 16
// combinations of Shift, Alt, Ctrl and CapsLock, computed once per layout so
// that drawing a key is a table look-up. Window-free.
#include <array>
#include <cstddef>
#include <memory>
#include <vector>

#include "core/keyboard_layout_service.h"

namespace snibbet {

// The slot of a combination; Alt with Ctrl is the AltGr plane.
constexpr int CharSlot(bool shift, bool alt, bool ctrl, bool capsLock) {
  return (shift ? 8 : 0) + (alt ? 4 : 0) + (ctrl ? 2 : 0) + (capsLock ? 1 : 0);
}

struct CharTable {
  static constexpr int kSlots = 16;

  LayoutHandle layout = 0;
  std::array<wchar_t, 255 * kSlots> units{};  // code v's 16 slots start at (v - 1) * 16

  // 0 for codes outside 1..255 and for keys that were not filled.
  wchar_t At(int code, int slot) const;
};

// Fills the table of `layout`: for each printable key and combination, the
// character the key gives (a blank when none).
void FillCharTable(CharTable& table, KeyboardLayoutService& layouts, LayoutHandle layout);

class CharTableCache {
 public:
  const CharTable* Find(LayoutHandle layout) const;
  // The layout's table, computed on first use.
  const CharTable& Get(LayoutHandle layout, KeyboardLayoutService& layouts);
  std::size_t Size() const { return tables_.size(); }
  void Clear() { tables_.clear(); }

 private:
  std::vector<std::unique_ptr<CharTable>> tables_;  // the model keeps pointers into it
};

// The process-wide tables, shared by every model and kept for the run.
CharTableCache& CharTables();

}  // namespace snibbet
