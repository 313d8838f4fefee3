#pragma once
// Conversions between UTF-16 (Windows) and UTF-8 (Unix side, console output).
#include <string>

namespace probe {

std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);

// Text of the last Win32 error (or of `code`), for failure messages.
std::string LastErrorText(unsigned long code = 0);

}  // namespace probe
