#include "keyboard/text_case.h"

namespace snibbet {
namespace {

bool EndsSentence(wchar_t c) { return c == L'.' || c == L'?' || c == L'!'; }

// Sentence case and capitalised words differ only in what starts a new capital.
std::wstring Capitalise(std::wstring_view text, const CaseMapping& mapping, bool (*startsCapital)(wchar_t)) {
  std::wstring result;
  result.reserve(text.size());
  bool start = true;
  for (const wchar_t c : text) {
    if (start && !IsCaseBlank(c)) {
      result += mapping.upper(c);
      start = false;
    } else {
      result += mapping.lower(c);
    }
    if (startsCapital(c)) start = true;
  }
  return result;
}

}  // namespace

bool IsCaseBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == 0x00A0; }

std::wstring ConvertTextCase(std::wstring_view text, int mode, const CaseMapping& mapping) {
  std::wstring result(text);
  switch (mode) {
    case kCaseUpper:
      for (wchar_t& c : result) c = mapping.upper(c);
      break;
    case kCaseLower:
      for (wchar_t& c : result) c = mapping.lower(c);
      break;
    case kCaseSwap:
      for (wchar_t& c : result) c = mapping.lower(c) != c ? mapping.lower(c) : mapping.upper(c);
      break;
    case kCaseSentence:
      return Capitalise(text, mapping, EndsSentence);
    case kCaseWords:
      return Capitalise(text, mapping, IsCaseBlank);
    default:
      break;
  }
  return result;
}

}  // namespace snibbet
