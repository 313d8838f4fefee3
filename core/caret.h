#pragma once
// Where the caret of the window in front is, in screen coordinates.
#include <windows.h>

namespace snibbet {

// The caret of the foreground window's GUI thread: `point` is the caret
// rectangle's top right corner on the screen (the right edge on purpose: a
// pop-up placed there leaves the caret visible), `height` the rectangle's
// height. False, with both untouched, when there is no foreground window, its
// thread has no caret window, or the caret must blink and does not.
bool GetCaretScreenPos(POINT& point, int& height, bool requireBlinking);

// The same for the GUI thread `threadId`.
bool GetThreadCaretScreenPos(DWORD threadId, POINT& point, int& height, bool requireBlinking);

}  // namespace snibbet
