#pragma once
// HHCTRL.OCX, the HTML Help viewer, bound at run time: the program starts
// and runs without it. Loaded on the first request that needs it and kept
// until the process ends.
#include <windows.h>

namespace ui {

using HtmlHelpFunction = HWND(WINAPI*)(HWND caller, const wchar_t* file, UINT command, DWORD_PTR data);

// Loads the module when it is not loaded; true when it is loaded (its entry
// may still be missing). A failure is not reported.
bool LoadHtmlHelp();
bool IsHtmlHelpLoaded();
// The viewer's entry, loading the module first when needed; null when the
// module or its entry is missing.
HtmlHelpFunction EnsureHtmlHelp();

}  // namespace ui
