#pragma once
// The helper's hidden window "SnibbetCm": where the main program's commands arrive.
#include <windows.h>

namespace snibbet::helper {

bool RegisterHelperWindowClass(HINSTANCE instance);
// Never shown; the main program finds it by class and title.
HWND CreateHelperWindow(HINSTANCE instance);
// Shows the hook failures still queued for `window` (posted while it was ending).
void ShowPendingHookFailures(HWND window);

}  // namespace snibbet::helper
