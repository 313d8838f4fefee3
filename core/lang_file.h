#pragma once
// Reading language files: UTF-8 text (optionally with a byte-order mark) made
// of numbered lines. Window-free; works on the file's bytes.
//
//   ; a comment
//   000009=Error                 id in six digits, "=", the text
//   000035=Click the tray icon   a line without an id continues the entry
//   000015=Save changes?##Yes    "##" is a line break (CR LF)
//   100000=English               display name of the language
//   100001=9                     its language number
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace snibbet {

struct LangEntry {
  int32_t Id = 0;
  std::wstring Text;
};

inline constexpr int32_t kLangDisplayNameId = 100000;
inline constexpr int32_t kLangNumberId = 100001;

// The entries of a language file in file order (an id may occur twice: the
// later one is meant to win). Bad lines are skipped, never fatal.
std::vector<LangEntry> ParseLanguageFile(std::string_view bytes);

// The two header values that the language list needs, read from the first
// lines that carry them.
struct LanguageHeader {
  std::wstring DisplayName;  // text of 100000, "" when missing
  int32_t LangId = 0;        // number of 100001, 0 when missing or not a number
};
LanguageHeader ReadLanguageHeader(std::string_view bytes);

}  // namespace snibbet
