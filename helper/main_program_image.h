#pragma once
// Whether the process that started the helper is the main program, told by
// the file name of its image. Window-free.
#include <string_view>

namespace snibbet::helper {

// True when the last part of `imagePath` is the main program's file name, in
// any case; a shell, a test runner or "NotSnibbet.exe" is not the main program.
bool IsMainProgramImage(std::wstring_view imagePath);

}  // namespace snibbet::helper
