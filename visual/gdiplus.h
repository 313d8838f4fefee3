#pragma once
// GDI+ for the program's pictures: the one way to include it, and its start.
#include <windows.h>
#include <objidl.h>  // left out by WIN32_LEAN_AND_MEAN, needed by GDI+

#include <algorithm>

// GDI+ expects the min and max of windows.h, which NOMINMAX leaves out.
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

namespace snibbet {

// Starts GDI+ at the first call; it runs until the program ends. False when
// it cannot start (then no picture loads).
bool StartGdiplus();

}  // namespace snibbet
