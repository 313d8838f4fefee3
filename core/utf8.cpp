#include "core/utf8.h"

#include <cstdint>
#include <type_traits>

namespace snibbet {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendCodePoint(std::wstring& out, char32_t cp) {
  if constexpr (sizeof(wchar_t) == 2) {
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
      return;
    }
  }
  out.push_back(static_cast<wchar_t>(cp));
}

// Allowed range of the second byte for a lead byte; later bytes are always 80..BF.
struct LeadInfo {
  int length;  // total bytes, 0 when the byte cannot start a sequence
  unsigned char secondLow, secondHigh;
};

LeadInfo InfoOfLead(unsigned char b) {
  if (b < 0x80) return {1, 0, 0};
  if (b >= 0xC2 && b <= 0xDF) return {2, 0x80, 0xBF};
  if (b == 0xE0) return {3, 0xA0, 0xBF};
  if (b == 0xED) return {3, 0x80, 0x9F};  // no surrogates
  if (b >= 0xE1 && b <= 0xEF) return {3, 0x80, 0xBF};
  if (b == 0xF0) return {4, 0x90, 0xBF};
  if (b >= 0xF1 && b <= 0xF3) return {4, 0x80, 0xBF};
  if (b == 0xF4) return {4, 0x80, 0x8F};  // nothing above U+10FFFF
  return {0, 0, 0};
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

}  // namespace

std::wstring Utf8ToWide(std::string_view bytes) {
  std::wstring out;
  out.reserve(bytes.size());
  size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    const LeadInfo info = InfoOfLead(lead);
    if (info.length == 1) {
      out.push_back(static_cast<wchar_t>(lead));
      ++i;
      continue;
    }
    if (info.length == 0) {
      AppendCodePoint(out, kReplacement);
      ++i;
      continue;
    }
    char32_t cp = lead & (0xFF >> (info.length + 1));
    size_t taken = 1;
    for (; taken < static_cast<size_t>(info.length) && i + taken < bytes.size(); ++taken) {
      const auto b = static_cast<unsigned char>(bytes[i + taken]);
      const unsigned char low = taken == 1 ? info.secondLow : 0x80;
      const unsigned char high = taken == 1 ? info.secondHigh : 0xBF;
      if (b < low || b > high) break;
      cp = (cp << 6) | (b & 0x3F);
    }
    if (taken == static_cast<size_t>(info.length)) {
      AppendCodePoint(out, cp);
    } else {
      // The valid prefix of a broken sequence counts as one bad character.
      AppendCodePoint(out, kReplacement);
    }
    i += taken;
  }
  return out;
}

std::string WideToUtf8(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = static_cast<char32_t>(static_cast<std::make_unsigned_t<wchar_t>>(text[i]));
    if constexpr (sizeof(wchar_t) == 2) {
      if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
        const char32_t next = static_cast<char16_t>(text[i + 1]);
        if (next >= 0xDC00 && next <= 0xDFFF) {
          c = 0x10000 + ((c - 0xD800) << 10) + (next - 0xDC00);
          ++i;
        }
      }
    }
    if (IsSurrogate(c) || c > 0x10FFFF) c = kReplacement;
    AppendUtf8(out, c);
  }
  return out;
}

}  // namespace snibbet
