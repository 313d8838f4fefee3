#pragma once
// The pop-up's search as the template table filters by it. The search is
// kept wide (one typed character is one character of it, so erasing it takes
// one Backspace on every code page); the table compares names in their
// code-page form, so the search goes to it encoded the same way. A byte
// prefix made of whole characters is a character prefix, so the two agree.
// Window-free.
#include <string>
#include <string_view>

#include "templates/template_table.h"

namespace snibbet {

struct EncodedSearch {
  std::string bytes;      // the search in the names' code page
  bool complete = true;   // false when a character has no form there
};

// An empty search shows every template; a search with a character the code
// page lacks shows none. Bound controls hear one change.
void ApplyPopupSearch(TemplateTable& table, const EncodedSearch& search);

// The part of a row's name drawn red: its first n characters, n being the
// search's length; for an empty name the search itself.
std::wstring_view MatchedPrefix(std::wstring_view name, std::wstring_view search);

}  // namespace snibbet
