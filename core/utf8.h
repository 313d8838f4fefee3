#pragma once
// UTF-8 <-> wide text. Window-free: std::wstring holds UTF-16 on Windows and
// UTF-32 elsewhere; both directions handle either.
#include <string>
#include <string_view>

namespace snibbet {

// Decodes UTF-8. Each malformed sequence (stray continuation byte, overlong
// form, surrogate, value above U+10FFFF, truncated sequence) becomes one U+FFFD;
// decoding goes on with the next byte that can start a character.
std::wstring Utf8ToWide(std::string_view bytes);

// Encodes wide text as UTF-8; unpaired surrogates become U+FFFD.
std::string WideToUtf8(std::wstring_view text);

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

}  // namespace snibbet
