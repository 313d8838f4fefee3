#include "templates/tag_keys.h"

#include <optional>
#include <string>

#include "core/key_names.h"
#include "templates/tag_text.h"

namespace snibbet {
namespace {

constexpr std::size_t kMaxHexDigits = 8;  // a 32-bit number

std::optional<std::uint32_t> HexValue(std::wstring_view digits) {
  while (digits.size() > 1 && digits.front() == L'0') digits.remove_prefix(1);
  if (digits.empty() || digits.size() > kMaxHexDigits) return std::nullopt;
  std::uint32_t value = 0;
  for (const wchar_t c : digits) {
    const wchar_t u = UpperAsciiLetter(c);
    std::uint32_t digit;
    if (u >= L'0' && u <= L'9') digit = static_cast<std::uint32_t>(u - L'0');
    else if (u >= L'A' && u <= L'F') digit = static_cast<std::uint32_t>(u - L'A' + 10);
    else return std::nullopt;
    value = value * 16 + digit;
  }
  return value;
}

// The table holds plain ASCII names: any other character matches none.
int CodeByName(std::wstring_view upperName) {
  std::string narrow;
  for (const wchar_t c : upperName) {
    if (static_cast<std::uint32_t>(c) > 0x7F) return 0;
    narrow.push_back(static_cast<char>(c));
  }
  return VirtualKeyByName(narrow);
}

int CodeOf(std::wstring_view name) {
  if (name.starts_with(L'$')) {
    const std::optional<std::uint32_t> value = HexValue(name.substr(1));
    return value ? static_cast<int>(*value & 0xFF) : 0;
  }
  return CodeByName(UpperAsciiLetters(name));
}

}  // namespace

std::vector<std::uint8_t> ParseKeyList(std::wstring_view list) {
  std::vector<std::uint8_t> codes;
  while (true) {
    const std::size_t plus = list.find(L'+');
    const int code = CodeOf(TrimBlanks(list.substr(0, plus)));
    if (code != 0) codes.push_back(static_cast<std::uint8_t>(code));
    if (plus == std::wstring_view::npos) break;
    list.remove_prefix(plus + 1);
  }
  return codes;
}

}  // namespace snibbet
