#include "core/lang_file.h"

#include <charconv>
#include <optional>

#include "core/utf8.h"

namespace snibbet {
namespace {

constexpr size_t kIdWidth = 6;  // "NNNNNN" before the "="

// Splits at CR LF, LF or a lone CR; the bytes of each line without its break.
template <typename Fn>
void ForEachLine(std::string_view bytes, Fn&& fn) {
  if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) bytes.remove_prefix(kUtf8Bom.size());
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t end = bytes.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = bytes.size();
    if (!fn(bytes.substr(pos, end - pos)) || end == bytes.size()) return;
    pos = end + 1;
    if (bytes[end] == '\r' && pos < bytes.size() && bytes[pos] == '\n') ++pos;
  }
}

bool IsBlank(std::string_view line) {
  for (char c : line) {
    if (static_cast<unsigned char>(c) >= 33) return false;
  }
  return true;
}

bool StartsEntry(std::string_view line) { return line.size() > kIdWidth && line[kIdWidth] == '='; }

// The six characters before "=": optional leading blanks, then decimal digits.
std::optional<int32_t> ParseId(std::string_view field) {
  size_t first = field.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::nullopt;
  field.remove_prefix(first);
  int32_t id = 0;
  auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), id);
  if (error != std::errc() || end != field.data() + field.size() || field.front() == '-') return std::nullopt;
  return id;
}

std::wstring ExpandLineBreaks(std::wstring text) {
  for (size_t at = text.find(L"##"); at != std::wstring::npos; at = text.find(L"##", at + 2)) {
    text.replace(at, 2, L"\r\n");
  }
  return text;
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) < 33) s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) < 33) s.remove_suffix(1);
  return s;
}

}  // namespace

std::vector<LangEntry> ParseLanguageFile(std::string_view bytes) {
  std::vector<LangEntry> entries;
  std::string collected;
  auto finish = [&] {
    if (collected.size() > kIdWidth) {
      if (auto id = ParseId(std::string_view(collected).substr(0, kIdWidth))) {
        entries.push_back({*id, ExpandLineBreaks(Utf8ToWide(std::string_view(collected).substr(kIdWidth + 1)))});
      }
    }
    collected.clear();
  };
  ForEachLine(bytes, [&](std::string_view line) {
    if (!line.empty() && line.front() == ';') return true;
    if (IsBlank(line)) return true;
    if (StartsEntry(line)) {
      // A new id ends the entry before it; leftover junk too short to be an
      // entry is dropped rather than glued onto this one.
      finish();
      collected.assign(line);
    } else {
      collected.append(line);
    }
    return true;
  });
  finish();
  return entries;
}

LanguageHeader ReadLanguageHeader(std::string_view bytes) {
  LanguageHeader header;
  std::optional<std::string_view> name, number;
  ForEachLine(bytes, [&](std::string_view line) {
    if (!name && line.substr(0, 7) == "100000=") name = line.substr(7);
    if (!number && line.substr(0, 7) == "100001=") number = line.substr(7);
    return !(name && number);
  });
  if (name) header.DisplayName = Utf8ToWide(*name);
  if (number) {
    std::string_view digits = TrimBlanks(*number);
    int32_t value = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error == std::errc() && end == digits.data() + digits.size()) header.LangId = value;
  }
  return header;
}

}  // namespace snibbet
