#include "core/text_utils.h"

namespace snibbet {
namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

std::wstring FormatWith(std::wstring_view text, const std::wstring_view* args, size_t count) {
  std::wstring out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] == L'%' && i + 1 < text.size() && IsDigit(text[i + 1]) && text[i + 1] != L'0') {
      // Longest digit run naming an argument; the value only grows with each digit.
      size_t value = 0, bestLength = 0, bestValue = 0;
      for (size_t j = i + 1; j < text.size() && IsDigit(text[j]); ++j) {
        value = value * 10 + static_cast<size_t>(text[j] - L'0');
        if (value > count) break;
        bestLength = j - i;
        bestValue = value;
      }
      if (bestLength > 0) {
        out.append(args[bestValue - 1]);
        i += 1 + bestLength;
        continue;
      }
    }
    out.push_back(text[i]);
    ++i;
  }
  return out;
}

template <typename Ch>
std::basic_string<Ch> PadRight(std::basic_string_view<Ch> text, int width) {
  if (width <= 0) return {};
  std::basic_string<Ch> out(text);
  out.resize(static_cast<size_t>(width), Ch(' '));
  return out;
}

template <typename Ch>
size_t PosOfAny(std::basic_string_view<Ch> text, std::basic_string_view<Ch> chars) {
  for (Ch c : chars) {
    size_t at = text.find(c);
    if (at != text.npos) return at;
  }
  return text.npos;
}

template <typename Ch>
std::basic_string<Ch> BeforeAny(std::basic_string_view<Ch> text, std::basic_string_view<Ch> chars) {
  return std::basic_string<Ch>(text.substr(0, PosOfAny(text, chars)));
}

template <typename Ch>
std::basic_string<Ch> AfterAny(std::basic_string_view<Ch> text, std::basic_string_view<Ch> chars) {
  size_t at = PosOfAny(text, chars);
  if (at == text.npos) return std::basic_string<Ch>(text);
  return std::basic_string<Ch>(text.substr(at + 1));
}

template <typename Ch>
std::basic_string<Ch> Before(std::basic_string_view<Ch> text, std::basic_string_view<Ch> sub) {
  if (sub.empty()) return std::basic_string<Ch>(text);
  return std::basic_string<Ch>(text.substr(0, text.find(sub)));
}

template <typename Ch>
std::basic_string<Ch> After(std::basic_string_view<Ch> text, std::basic_string_view<Ch> sub) {
  size_t at = sub.empty() ? text.npos : text.find(sub);
  if (at == text.npos) return {};
  return std::basic_string<Ch>(text.substr(at + sub.size()));
}

}  // namespace

std::wstring FormatText(std::wstring_view text, std::initializer_list<std::wstring_view> args) {
  return FormatWith(text, args.begin(), args.size());
}

std::wstring FormatText(std::wstring_view text, const std::vector<std::wstring>& args) {
  std::vector<std::wstring_view> views(args.begin(), args.end());
  return FormatWith(text, views.data(), views.size());
}

std::wstring PadRightToWidth(std::wstring_view text, int width) { return PadRight(text, width); }
std::string PadRightToWidth(std::string_view text, int width) { return PadRight(text, width); }
size_t PosOfAnyChar(std::wstring_view text, std::wstring_view chars) { return PosOfAny(text, chars); }
size_t PosOfAnyChar(std::string_view text, std::string_view chars) { return PosOfAny(text, chars); }
std::wstring TextBeforeAnyChar(std::wstring_view text, std::wstring_view chars) { return BeforeAny(text, chars); }
std::string TextBeforeAnyChar(std::string_view text, std::string_view chars) { return BeforeAny(text, chars); }
std::wstring TextAfterAnyChar(std::wstring_view text, std::wstring_view chars) { return AfterAny(text, chars); }
std::string TextAfterAnyChar(std::string_view text, std::string_view chars) { return AfterAny(text, chars); }
std::wstring TextBefore(std::wstring_view text, std::wstring_view sub) { return Before(text, sub); }
std::string TextBefore(std::string_view text, std::string_view sub) { return Before(text, sub); }
std::wstring TextAfter(std::wstring_view text, std::wstring_view sub) { return After(text, sub); }
std::string TextAfter(std::string_view text, std::string_view sub) { return After(text, sub); }

}  // namespace snibbet
