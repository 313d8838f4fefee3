#include "keyboard/action_kinds.h"

#include <array>
#include <initializer_list>

#include "core/product_name.h"
#include "keyboard/binding_names.h"

namespace snibbet {
namespace {

constexpr std::array<std::uint8_t, ActionKindCatalogue::kRowCount> kKindsInOrder = {0, 5, 6,  3,  7,  4,  8, 11,
                                                                                     12, 10, 13, 9, 14, 1, 2};

struct RowSource {
  std::uint8_t kind;
  int nameText;
  ActionPictures pictures;
  std::initializer_list<int> subCommandTexts;
};

const std::array<RowSource, ActionKindCatalogue::kRowCount>& Sources() {
  static const std::array<RowSource, ActionKindCatalogue::kRowCount> sources = {{
      {0, 6, ActionPictures::None, {}},
      {5, 201, ActionPictures::None, {}},
      {6, 202, ActionPictures::None, {}},
      {3, 203, ActionPictures::None, {}},
      {7, 205, ActionPictures::None, {}},
      {4, 605, ActionPictures::None, {}},
      {8, 213, ActionPictures::Zqkeys, {206, 204, 209, 210, 233, 207, 208, 234}},
      {11, 604, ActionPictures::Audio, {219, 220, 221, 607}},
      {12, 609, ActionPictures::Monitor, {610, 611, 612, 613}},
      {10, 614, ActionPictures::Window, {224, 225, 229, 230, 231}},
      {13, 226, ActionPictures::System, {615, 616, 617, 618, 619, 620, 621}},
      {9, 218, ActionPictures::Lang, {214, 232, 215, 633, 216, 217, 631, 648, 649}},
      {14, 622, ActionPictures::Shutdown, {623, 625, 626, 627, 628, 629, 630}},
      {1, 227, ActionPictures::None, {}},
      {2, 228, ActionPictures::None, {}},
  }};
  return sources;
}

std::wstring ReplaceFirstArgument(std::wstring text, const std::wstring& value) {
  const auto at = text.find(L"%1");
  if (at != std::wstring::npos) text.replace(at, 2, value);
  return text;
}

}  // namespace

void ActionKindCatalogue::Rebuild() {
  rows_.clear();
  for (const RowSource& source : Sources()) {
    ActionKindRow row;
    row.kind = source.kind;
    row.name = LanguageText(source.nameText);
    if (source.kind == 8) row.name = ReplaceFirstArgument(row.name, kProductName);
    row.pictures = source.pictures;
    for (int text : source.subCommandTexts) row.subCommands.push_back(LanguageText(text));
    rows_.push_back(std::move(row));
  }
}

const ActionKindRow* ActionKindCatalogue::RowOf(std::uint8_t kind) const {
  const int order = ActionKindOrder(kind);
  if (order >= static_cast<int>(rows_.size())) return nullptr;
  return &rows_[order];
}

ActionKindCatalogue& KindCatalogue() {
  static ActionKindCatalogue catalogue = [] {
    ActionKindCatalogue c;
    c.Rebuild();
    return c;
  }();
  return catalogue;
}

int ActionKindOrder(std::uint8_t kind) {
  for (int i = 0; i < ActionKindCatalogue::kRowCount; ++i) {
    if (kKindsInOrder[i] == kind) return i;
  }
  return ActionKindCatalogue::kRowCount;
}

}  // namespace snibbet
