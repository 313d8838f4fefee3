#pragma once
// Path joining shared by every part of the program. Window-free.
#include <string>

namespace snibbet {

// folder + "\" (unless folder already ends in "\") + name; an empty folder gives "\" + name.
std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);

}  // namespace snibbet
