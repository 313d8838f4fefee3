#pragma once
// 8-bit text from outside the program (a web server's answer, a plain text
// file of an older version) as wide text.
#include <string>
#include <string_view>

namespace snibbet {

// UTF-8 (a byte-order mark is dropped) when the bytes are valid UTF-8, else
// the system's ANSI code page. ASCII reads the same either way.
std::wstring DecodeTextBytes(std::string_view bytes);

}  // namespace snibbet
