#pragma once
// Process-wide state of the shared utilities: the debug switch, the two
// registered cursors and the registered clipboard formats. The program entry
// calls InitializeUtilities after the language table and FinalizeUtilities
// before it.
#include <windows.h>

namespace snibbet {

void InitializeUtilities();
void FinalizeUtilities();

// The "Magnify" cursor of the program's resources (the arrow when the
// program carries none) and the system's hand cursor.
HCURSOR MagnifyCursor();
HCURSOR HandCursor();

// The registered clipboard formats "Rich Text Format" and "HTML Format"
// (not named CF_RTF/CF_HTML: richedit.h uses CF_RTF for the format's name).
UINT RtfClipboardFormat();
UINT HtmlClipboardFormat();

}  // namespace snibbet
