#pragma once
// Process-wide state of the shared utilities: the debug switch, the two
// registered cursors and the registered clipboard formats (core/clipboard_access.h). The program entry
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

}  // namespace snibbet
