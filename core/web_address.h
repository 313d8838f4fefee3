#pragma once
// Web links of the maker's site, pointed at the site's German or Russian
// mirror when the user interface is in that language. Window-free.
#include <string>

namespace snibbet {

// `language` is a user-interface language number: 7 or 1031 gives
// "http://de.", 25 or 1049 "http://ru." in place of every "http://www.".
std::wstring LocalizeWebAddress(const std::wstring& address, int language);

}  // namespace snibbet
