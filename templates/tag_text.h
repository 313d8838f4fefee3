#pragma once
// Finding tag words in wide template text. Tag words are matched without
// regard to case, upper-casing only the letters a to z, so any other
// character of the text compares as it is. Window-free.
#include <cstddef>
#include <string>
#include <string_view>

namespace snibbet {

inline constexpr std::wstring_view kClipboardTag = L"<CLIPBOARD>";
inline constexpr std::wstring_view kSelectionTag = L"<SELECTION>";
inline constexpr std::wstring_view kKeyTag = L"<KEY ";
inline constexpr std::wstring_view kDateTimeTag = L"<DATETIME";
inline constexpr std::wstring_view kFileTag = L"<FILE ";
inline constexpr std::wstring_view kSomeOfOpen = L"<SOMEOF>";
inline constexpr std::wstring_view kSomeOfClose = L"</SOMEOF>";
inline constexpr std::wstring_view kItemOpen = L"<QV>";
inline constexpr std::wstring_view kItemClose = L"</QV>";
inline constexpr wchar_t kCaretMarker = L'|';

wchar_t UpperAsciiLetter(wchar_t c);
std::wstring UpperAsciiLetters(std::wstring_view text);

// Whether `upperWord` (capitals) stands at `pos` of the text.
bool TagWordAt(std::wstring_view text, std::size_t pos, std::wstring_view upperWord);

// The first position at or after `from` where `upperWord` stands; npos when none.
std::size_t FindTagWord(std::wstring_view text, std::wstring_view upperWord, std::size_t from = 0);

inline bool HoldsTagWord(std::wstring_view text, std::wstring_view upperWord) {
  return FindTagWord(text, upperWord) != std::wstring_view::npos;
}

// The text without leading and trailing blanks and control characters.
std::wstring_view TrimBlanks(std::wstring_view text);

}  // namespace snibbet
