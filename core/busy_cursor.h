#pragma once
// The application-wide cursor: the hourglass while the program is busy, the
// hand on request, else each window's own cursor. Nested busy stretches count.
#include <windows.h>

namespace snibbet {

// One more busy level (exactly one with reset); the cursor becomes the hourglass.
void BusyCursorBegin(bool reset = false);

// One busy level less, never below 0 (none at all with reset); at 0 the
// cursor returns to the default.
void BusyCursorEnd(bool reset = false);

// The cursor becomes the system's hand until the busy level next reaches 0.
void ShowHandCursor();

int BusyCursorLevel();

// The cursor every window of the program should show now; null for "the
// window's own". Windows answer WM_SETCURSOR with it while it is not null.
HCURSOR ScreenCursor();

}  // namespace snibbet
