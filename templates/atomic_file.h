#pragma once
// Replacing a file's contents all at once (Windows).
#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace snibbet {

// Asked before each block is written; false makes that write fail (tests).
using WriteBlockCheck = std::function<bool(std::size_t bytesWritten)>;

// Writes `bytes` to a new file beside `path`, flushes it, and only then moves
// it over `path` (MoveFileExW, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH).
// On any failure the file at `path` is as it was and the new file is gone.
// First it deletes what earlier saves of `path` that were killed midway left
// beside it: their temporary files, not those of a save still running.
// Returns ERROR_SUCCESS or the system's error code.
DWORD ReplaceFileContents(const std::wstring& path, std::string_view bytes, const WriteBlockCheck& check = {});

// The system's text for an error code, without the trailing line break.
std::wstring SystemErrorText(DWORD error);

}  // namespace snibbet
