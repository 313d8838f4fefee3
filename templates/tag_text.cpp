#include "templates/tag_text.h"

#include <cstdint>

namespace snibbet {

wchar_t UpperAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 32) : c; }

std::wstring UpperAsciiLetters(std::wstring_view text) {
  std::wstring upper(text);
  for (wchar_t& c : upper) c = UpperAsciiLetter(c);
  return upper;
}

bool TagWordAt(std::wstring_view text, std::size_t pos, std::wstring_view upperWord) {
  if (pos > text.size() || text.size() - pos < upperWord.size()) return false;
  for (std::size_t i = 0; i < upperWord.size(); ++i) {
    if (UpperAsciiLetter(text[pos + i]) != upperWord[i]) return false;
  }
  return true;
}

std::size_t FindTagWord(std::wstring_view text, std::wstring_view upperWord, std::size_t from) {
  if (upperWord.empty() || text.size() < upperWord.size()) return std::wstring_view::npos;
  for (std::size_t pos = from; pos <= text.size() - upperWord.size(); ++pos) {
    if (TagWordAt(text, pos, upperWord)) return pos;
  }
  return std::wstring_view::npos;
}

namespace {
// Compared unsigned: wchar_t is signed on some platforms.
bool IsBlankOrControl(wchar_t c) { return static_cast<std::uint32_t>(c) <= 0x20; }
}  // namespace

std::wstring_view TrimBlanks(std::wstring_view text) {
  std::size_t first = 0, last = text.size();
  while (first < last && IsBlankOrControl(text[first])) ++first;
  while (last > first && IsBlankOrControl(text[last - 1])) --last;
  return text.substr(first, last - first);
}

}  // namespace snibbet
