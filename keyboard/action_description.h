#pragma once
// Helpers behind a binding's description. Window-free.
#include <cstdint>
#include <string>

namespace snibbet {

// The keyboard-layout number a binding's text holds: decimal, or hexadecimal
// after "$" or "0x", optionally signed and surrounded by blanks; a negative
// number is its 32-bit two's complement; 0 when the text is not a number that
// fits 32 bits.
std::uint32_t LayoutNumberOfText(const std::wstring& text);

// At most `count` characters from the start of `text`, never splitting a
// surrogate pair.
std::wstring LeadingCharacters(const std::wstring& text, std::size_t count);

}  // namespace snibbet
