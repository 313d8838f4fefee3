#pragma once
// The file tag "<FILE " path ">": the tag becomes the file's text, line by
// line. A file may hold file tags itself, also for itself, so the expansions
// of one paste share a budget. Window-free.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace snibbet {

inline constexpr int kMaxFileExpansions = 32;
inline constexpr std::size_t kMaxExpandedChars = 1024 * 1024;  // 1 MB of single-byte text

class TagFileSource {
 public:
  virtual ~TagFileSource() = default;
  // The file's text; nothing when it does not exist, cannot be read or would
  // be longer than `maxChars` characters.
  virtual std::optional<std::wstring> ReadTagFile(std::wstring_view path, std::size_t maxChars) = 0;
};

struct FileExpansionBudget {
  int expansionsLeft = kMaxFileExpansions;
  std::size_t maxTextChars = kMaxExpandedChars;
};

// Each line of the text followed by a carriage return and a line feed. Lines
// end at CR, LF or CR LF; a final line break adds no empty line.
std::wstring TextAsLines(std::wstring_view text);

// Decodes a tag file's bytes: UTF-8 or UTF-16 (little-endian) when the bytes
// start with that byte-order mark, else single-byte text through
// `widenSingleByte` (the system code page). A lone UTF-16 surrogate is kept
// where wide text is UTF-16 and becomes U+FFFD where it is UTF-32.
std::wstring DecodeTagFileBytes(std::string_view bytes, std::wstring (*widenSingleByte)(std::string_view));
std::wstring DecodeUtf16Le(std::string_view bytes);

// Replaces the first complete file tag by the file's lines. False, with the
// tag left as written, when there is no complete tag, the file is missing or
// the budget is spent (too many expansions, or the text would grow beyond it).
bool ExpandFileTag(std::wstring& text, TagFileSource& files, FileExpansionBudget& budget);

}  // namespace snibbet
