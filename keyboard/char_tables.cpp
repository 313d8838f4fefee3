#include "keyboard/char_tables.h"

#include "core/control_set.h"

namespace snibbet {

wchar_t CharTable::At(int code, int slot) const {
  if (!IsKeyCode(code) || slot < 0 || slot >= kSlots) return 0;
  return units[static_cast<std::size_t>((code - 1) * kSlots + slot)];
}

void FillCharTable(CharTable& table, KeyboardLayoutService& layouts, LayoutHandle layout) {
  table.layout = layout;
  table.units.fill(0);
  KeyStateBytes state{};
  auto set = [&state](std::initializer_list<int> codes, bool on) {
    for (int code : codes) state[static_cast<std::size_t>(code)] = on ? kKeyDown : 0;
  };
  for (int caps = 0; caps < 2; ++caps) {
    for (int shift = 0; shift < 2; ++shift) {
      for (int alt = 0; alt < 2; ++alt) {
        for (int ctrl = 0; ctrl < 2; ++ctrl) {
          set({kVkCapital}, caps);
          set({kVkShift, kVkLeftShift}, shift);
          set({kVkMenu, kVkRightAlt}, alt);
          set({kVkControl, kVkLeftCtrl}, ctrl);
          const int slot = CharSlot(shift, alt, ctrl, caps);
          for (int code = kFirstKeyCode; code <= kLastKeyCode; ++code) {
            if (!IsPrintableKey(code)) continue;
            table.units[static_cast<std::size_t>((code - 1) * CharTable::kSlots + slot)] =
                layouts.KeyChar(static_cast<unsigned>(code), state, layout);
          }
        }
      }
    }
  }
}

const CharTable* CharTableCache::Find(LayoutHandle layout) const {
  for (const auto& table : tables_) {
    if (table->layout == layout) return table.get();
  }
  return nullptr;
}

const CharTable& CharTableCache::Get(LayoutHandle layout, KeyboardLayoutService& layouts) {
  if (const CharTable* table = Find(layout)) return *table;
  auto table = std::make_unique<CharTable>();
  FillCharTable(*table, layouts, layout);
  tables_.push_back(std::move(table));
  return *tables_.back();
}

CharTableCache& CharTables() {
  static CharTableCache tables;
  return tables;
}

}  // namespace snibbet
