#pragma once
// Text routines shared by every part of the program. Window-free.
// Positions are 0-based; "not found" is std::wstring::npos / std::string::npos.
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace snibbet {

// Fills the placeholders "%1", "%2", ... with the arguments in one left-to-right
// pass. A "%" followed by digits takes the longest run of those digits that
// names an existing argument ("%10" is argument 10 when there are ten or more,
// else argument 1 followed by "0"); a "%" naming no argument stays as it is.
// Inserted arguments are never scanned again.
std::wstring FormatText(std::wstring_view text, std::initializer_list<std::wstring_view> args);
std::wstring FormatText(std::wstring_view text, const std::vector<std::wstring>& args);

// The text followed by `width` blanks, cut to `width` characters.
std::wstring PadRightToWidth(std::wstring_view text, int width);
std::string PadRightToWidth(std::string_view text, int width);

// Takes the characters of `chars` in their order and returns the position of
// the first one that occurs in the text at all (not the earliest position in
// the text); npos when none occurs.
size_t PosOfAnyChar(std::wstring_view text, std::wstring_view chars);
size_t PosOfAnyChar(std::string_view text, std::string_view chars);

// The part before / after the character found by PosOfAnyChar; "" for an empty
// text; the whole text when none of the characters occurs.
std::wstring TextBeforeAnyChar(std::wstring_view text, std::wstring_view chars);
std::string TextBeforeAnyChar(std::string_view text, std::string_view chars);
std::wstring TextAfterAnyChar(std::wstring_view text, std::wstring_view chars);
std::string TextAfterAnyChar(std::string_view text, std::string_view chars);

// The part before the first occurrence of `sub`; the whole text when absent.
std::wstring TextBefore(std::wstring_view text, std::wstring_view sub);
std::string TextBefore(std::string_view text, std::string_view sub);
// The part after the first occurrence of `sub`; "" when absent.
std::wstring TextAfter(std::wstring_view text, std::wstring_view sub);
std::string TextAfter(std::string_view text, std::string_view sub);

}  // namespace snibbet
