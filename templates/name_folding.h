#pragma once
// Template names compared ignoring case. Window-free.
//
// Each byte of a name goes through one lower-case table and the folded names
// compare as unsigned bytes. Sorting, merging, set removal and the pop-up's
// prefix search all use the same table, so the names that start with a given
// prefix form one unbroken run of a table sorted by name.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace snibbet {

class NameFolding {
 public:
  using Table = std::array<std::uint8_t, 256>;

  NameFolding();  // folds the ASCII letters only
  explicit NameFolding(const Table& lower);

  std::uint8_t Fold(char c) const { return lower_[static_cast<std::uint8_t>(c)]; }
  std::string Folded(std::string_view name) const;
  int Compare(std::string_view a, std::string_view b) const;  // <0, 0 or >0
  bool Equal(std::string_view a, std::string_view b) const;
  bool Less(std::string_view a, std::string_view b) const { return Compare(a, b) < 0; }
  bool StartsWith(std::string_view name, std::string_view prefix) const;

 private:
  Table lower_;
};

}  // namespace snibbet
