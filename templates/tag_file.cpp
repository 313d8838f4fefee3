#include "templates/tag_file.h"

#include <cstdint>

#include "core/utf8.h"
#include "templates/tag_text.h"

namespace snibbet {

std::wstring TextAsLines(std::wstring_view text) {
  std::wstring lines;
  lines.reserve(text.size() + 2);
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = pos;
    while (end < text.size() && text[end] != L'\r' && text[end] != L'\n') ++end;
    lines.append(text.substr(pos, end - pos));
    lines += L"\r\n";
    if (end < text.size() && text[end++] == L'\r' && end < text.size() && text[end] == L'\n') ++end;
    pos = end;
  }
  return lines;
}

std::wstring DecodeTagFileBytes(std::string_view bytes, std::wstring (*widenSingleByte)(std::string_view)) {
  if (bytes.starts_with(kUtf8Bom)) return Utf8ToWide(bytes.substr(kUtf8Bom.size()));
  if (bytes.starts_with(std::string_view("\xFF\xFE", 2))) return DecodeUtf16Le(bytes.substr(2));
  return widenSingleByte(bytes);
}

std::wstring DecodeUtf16Le(std::string_view bytes) {
  std::wstring text;
  text.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto unit = static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i]) |
                                                 (static_cast<unsigned char>(bytes[i + 1]) << 8));
    text.push_back(static_cast<wchar_t>(unit));
  }
  if constexpr (sizeof(wchar_t) == 4) {
    // UTF-32 text: join surrogate pairs; a lone surrogate becomes U+FFFD.
    std::wstring joined;
    joined.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
      const auto unit = static_cast<std::uint32_t>(text[i]);
      if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size()) {
        const auto low = static_cast<std::uint32_t>(text[i + 1]);
        if (low >= 0xDC00 && low <= 0xDFFF) {
          joined.push_back(static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00)));
          ++i;
          continue;
        }
      }
      joined.push_back(unit >= 0xD800 && unit <= 0xDFFF ? L'\xFFFD' : text[i]);
    }
    return joined;
  }
  return text;
}

bool ExpandFileTag(std::wstring& text, TagFileSource& files, FileExpansionBudget& budget) {
  const std::size_t open = FindTagWord(text, kFileTag);
  if (open == std::wstring::npos) return false;
  const std::size_t close = text.find(L'>', open);
  if (close == std::wstring::npos) return false;
  if (budget.expansionsLeft <= 0) return false;
  const std::size_t tagLength = close - open + 1;
  const std::size_t rest = text.size() - tagLength;
  if (rest >= budget.maxTextChars) return false;
  const std::size_t pathBegin = open + kFileTag.size();
  const std::wstring path(TrimBlanks(std::wstring_view(text).substr(pathBegin, close - pathBegin)));
  const std::optional<std::wstring> content = files.ReadTagFile(path, budget.maxTextChars - rest);
  if (!content) return false;
  const std::wstring lines = TextAsLines(*content);
  if (lines.size() > budget.maxTextChars - rest) return false;
  text.replace(open, tagLength, lines);
  --budget.expansionsLeft;
  return true;
}

}  // namespace snibbet
