#pragma once
// Bringing windows to the front, finding their icons and keeping them on
// their monitor.
#include <windows.h>

namespace snibbet {

// Brings `window` to the foreground, past the system's foreground lock; with
// `show` a hidden window is shown first. Nothing for 0, a dead window or the
// window already in front.
void ForceForegroundWindow(HWND window, bool show);

// The window's small icon (asking the window, up to `timeoutMs`, then its
// class, then its owner), else the standard application icon. The caller owns
// the returned copy and destroys it with DestroyIcon.
HICON GetWindowIconHandle(HWND window, UINT timeoutMs);


// Moves a window that is neither minimised nor maximised into the work area
// of its monitor.
void KeepFormOnMonitor(HWND window);

}  // namespace snibbet
