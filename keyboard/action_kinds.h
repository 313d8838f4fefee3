#pragma once
// The catalogue of binding kinds: each kind's name, its sub-command names and
// which picture strip shows it, in the order the bindings menu, the listing and
// the wizard show them. Names are language texts, so the catalogue is rebuilt
// whenever the language changes. Window-free.
#include <cstdint>
#include <string>
#include <vector>

namespace snibbet {

// The picture strip of a kind (the data module's image lists).
enum class ActionPictures { None, Zqkeys, Audio, Monitor, Window, System, Lang, Shutdown };

struct ActionKindRow {
  std::uint8_t kind = 0;
  std::wstring name;
  ActionPictures pictures = ActionPictures::None;
  std::vector<std::wstring> subCommands;
};

class ActionKindCatalogue {
 public:
  // Number of rows; also the order value of a kind the catalogue does not know.
  static constexpr int kRowCount = 15;

  // Fills the rows from the language table (through the seams).
  void Rebuild();

  const std::vector<ActionKindRow>& Rows() const { return rows_; }
  // The row of a kind; none for a kind outside the catalogue.
  const ActionKindRow* RowOf(std::uint8_t kind) const;

 private:
  std::vector<ActionKindRow> rows_;
};

// The process-wide catalogue, built on first use.
ActionKindCatalogue& KindCatalogue();

// The position of a kind in the catalogue: 0, 5, 6, 3, 7, 4, 8, 11, 12, 10, 13,
// 9, 14, 1, 2 come in that order; an unknown kind sorts after all of them.
int ActionKindOrder(std::uint8_t kind);

}  // namespace snibbet
