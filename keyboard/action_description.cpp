#include "keyboard/action_description.h"

#include <cwctype>

#include "keyboard/action_kinds.h"
#include "keyboard/binding_names.h"
#include "keyboard/actions.h"

namespace snibbet {
namespace {

constexpr std::size_t kDescribedTextLength = 400;

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }

int DigitValue(wchar_t c, int base) {
  int value = -1;
  if (c >= L'0' && c <= L'9') value = c - L'0';
  else if (c >= L'a' && c <= L'f') value = c - L'a' + 10;
  else if (c >= L'A' && c <= L'F') value = c - L'A' + 10;
  return value < base ? value : -1;
}

std::wstring HexDigits8(std::uint32_t value) {
  static constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
  std::wstring text(8, L'0');
  for (int i = 7; i >= 0; --i, value >>= 4) text[i] = kDigits[value & 0xF];
  return text;
}

std::wstring KindDescription(std::uint8_t kind, std::uint8_t param) {
  const ActionKindRow* row = KindCatalogue().RowOf(kind);
  if (!row) return {};
  if (row->subCommands.empty()) return row->name;
  return param < row->subCommands.size() ? row->subCommands[param] : std::wstring();
}

}  // namespace

std::uint32_t LayoutNumberOfText(const std::wstring& text) {
  std::size_t at = 0, end = text.size();
  while (at < end && std::iswspace(text[at])) ++at;
  while (end > at && std::iswspace(text[end - 1])) --end;
  bool negative = false;
  if (at < end && (text[at] == L'-' || text[at] == L'+')) negative = text[at++] == L'-';
  int base = 10;
  if (at < end && text[at] == L'$') {
    base = 16;
    ++at;
  } else if (end - at > 2 && text[at] == L'0' && (text[at + 1] == L'x' || text[at + 1] == L'X')) {
    base = 16;
    at += 2;
  }
  if (at == end) return 0;
  std::uint64_t value = 0;
  for (; at < end; ++at) {
    const int digit = DigitValue(text[at], base);
    if (digit < 0) return 0;
    value = value * base + digit;
    if (value > 0xFFFFFFFFull) return 0;
  }
  if (negative) {
    if (value > 0x80000000ull) return 0;
    return static_cast<std::uint32_t>(0u - static_cast<std::uint32_t>(value));
  }
  return static_cast<std::uint32_t>(value);
}

std::wstring LeadingCharacters(const std::wstring& text, std::size_t count) {
  if (text.size() <= count) return text;
  if (sizeof(wchar_t) == 2 && count > 0 && IsHighSurrogate(text[count - 1])) --count;
  return text.substr(0, count);
}

std::wstring TQvAction::GetDescription() const {
  if (kind_ >= 3 && kind_ <= 6) return LeadingCharacters(text_, kDescribedTextLength);
  std::wstring description = KindDescription(kind_, param_);
  if (kind_ == 7) {
    description += L" (" + std::to_wstring(data.size() / 3) + L")";
  } else if (kind_ == 11 && param_ <= 1) {
    description += L" " + std::to_wstring(percent_) + L"%";
  } else if (kind_ == 9 && param_ == 3) {
    const std::uint32_t layout = LayoutNumberOfText(text_);
    description += L" - " + LayoutLanguageName(KeyModel(), static_cast<std::uint16_t>(layout & 0xFFFF)) + L" " +
                   HexDigits8(layout);
  }
  return description;
}

}  // namespace snibbet
