#pragma once
// Monitor geometry and DPI for placing forms.
#include <windows.h>

namespace ui {

RECT MonitorBounds(HWND window);    // the whole monitor the window lies on (nearest)
RECT MonitorWorkArea(HWND window);  // that monitor less the taskbar
RECT MonitorBoundsAt(POINT point);
RECT VirtualDesktop();              // all monitors together

// The top-left corner that centres a width x height rectangle in `area`;
// the halves are rounded toward zero, so a rectangle larger than the area
// gets a negative offset and is not clamped.
POINT CenteredIn(const RECT& area, int width, int height);

int SystemDpi();
int ScaleToDpi(int value);  // a value designed at 96 DPI

}  // namespace ui
