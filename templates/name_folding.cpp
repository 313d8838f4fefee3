#include "templates/name_folding.h"

#include <algorithm>

namespace snibbet {

NameFolding::NameFolding() {
  for (int b = 0; b < 256; ++b) lower_[b] = static_cast<std::uint8_t>(b >= 'A' && b <= 'Z' ? b + ('a' - 'A') : b);
}

NameFolding::NameFolding(const Table& lower) : lower_(lower) {}

std::string NameFolding::Folded(std::string_view name) const {
  std::string folded(name);
  for (char& c : folded) c = static_cast<char>(Fold(c));
  return folded;
}

int NameFolding::Compare(std::string_view a, std::string_view b) const {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const int fa = Fold(a[i]);
    const int fb = Fold(b[i]);
    if (fa != fb) return fa - fb;
  }
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

bool NameFolding::Equal(std::string_view a, std::string_view b) const {
  return a.size() == b.size() && Compare(a, b) == 0;
}

bool NameFolding::StartsWith(std::string_view name, std::string_view prefix) const {
  return name.size() >= prefix.size() && Compare(name.substr(0, prefix.size()), prefix) == 0;
}

}  // namespace snibbet
