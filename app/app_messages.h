#pragma once
// Window messages the main program receives from outside (besides the input
// helper's, which live in helper/helper_protocol.h).
#include <windows.h>

#include "core/product_name.h"

namespace snibbet {

// Posted by a second start of the program to the running one's main window
// (class "TFirstForm", title "SnibbetFirstForm"), wParam 0, lParam 0.
inline constexpr UINT WM_SECOND_INSTANCE = 1215;

inline constexpr const wchar_t* kApplicationTitle = kProductName;

}  // namespace snibbet
