#pragma once
// Whole-file reads and writes by wide path (Windows).
#include <optional>
#include <string>
#include <string_view>

namespace snibbet {

// The file's bytes; nothing when it cannot be opened or read.
std::optional<std::string> ReadFileBytes(const std::wstring& path);

// Creates or replaces the file with `bytes`; false on any failure.
bool WriteFileBytes(const std::wstring& path, std::string_view bytes);

}  // namespace snibbet
