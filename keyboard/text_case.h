#pragma once
// Case changes of a selected text: upper, lower, swapped, sentence case and
// capitalised words. Window-free: the character mapping is given, so the
// system's own mapping is used in the program and a fixed one in tests.
#include <functional>
#include <string>
#include <string_view>

namespace snibbet {

// The conversions by their binding parameter.
inline constexpr int kCaseUpper = 4, kCaseLower = 5, kCaseSwap = 6, kCaseSentence = 7, kCaseWords = 8;

struct CaseMapping {
  std::function<wchar_t(wchar_t)> upper;
  std::function<wchar_t(wchar_t)> lower;
};

// Space, tab, line breaks and the no-break space separate words.
bool IsCaseBlank(wchar_t c);

// `text` converted as `mode` asks; any other mode leaves it unchanged.
// Sentence case capitalises the first non-blank after the start and after
// each ".", "?" or "!"; capitalised words the first after the start and after
// each blank; everything else becomes lower case in both.
std::wstring ConvertTextCase(std::wstring_view text, int mode, const CaseMapping& mapping);

}  // namespace snibbet
