#pragma once
// The version file of the maker's web site and the comparison of its version
// with the program's own. Window-free.
//
// The file is 8-bit text: the newest version on the first line (2.3.0.1),
// then a line break and optionally news about that version.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace snibbet {

// No more than this many bytes of the file are read.
inline constexpr size_t kVersionFileLimit = 10240;

// One or more decimal numbers separated by single dots ("2", "2.3.0.10"),
// blanks around it ignored. Nothing for any other text (an error page, "",
// "2..3", "v2.3", a number too large for 32 bits).
std::optional<std::vector<uint32_t>> ParseVersion(std::wstring_view text);

// True only when both are versions and `remote` is later than `local`, number
// by number from the left; missing numbers count as 0, so 2.3 equals 2.3.0.0.
bool IsNewerVersion(std::wstring_view remote, std::wstring_view local);

struct VersionFile {
  std::string version;  // the first line, without its line break
  std::string news;     // what follows the first line break; may be empty
};

// Splits the file after its first line (CR LF, or LF alone); a UTF-8
// byte-order mark at the start is dropped. Without a line break the whole
// text is the version.
VersionFile SplitVersionFile(std::string_view bytes);

}  // namespace snibbet
