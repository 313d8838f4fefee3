#pragma once
// Template names and contents are single-byte text in the system's ANSI code
// page; windows show them as wide text (Windows).
#include <string>
#include <string_view>

#include "templates/name_folding.h"

namespace snibbet {

std::wstring TemplateTextToWide(std::string_view text);
// Characters the code page lacks become its default character.
std::string WideToTemplateText(std::wstring_view text);

// Names compared ignoring case by the code page's own lower case. Code pages
// with two-byte characters fold the ASCII letters only, so that no second byte
// of a character is ever folded.
NameFolding SystemNameFolding();

}  // namespace snibbet
