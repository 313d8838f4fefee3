#pragma once
// Message boxes owned by the application window.
#include <windows.h>

#include <string_view>

namespace ui {

// A message box owned by `owner` (default: the application window). It is
// brought to the foreground: a tray program usually has no active window, and
// a box behind other programs' windows would look like a hang.
// Returns the button pressed (IDOK, IDYES, ...), 0 on failure.
int ShowMessageBox(std::wstring_view text, std::wstring_view caption, UINT flags, HWND owner = nullptr);


}  // namespace ui
