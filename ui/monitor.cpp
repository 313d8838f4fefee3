#include "ui/monitor.h"

namespace ui {
namespace {
MONITORINFO InfoOf(HMONITOR monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoW(monitor, &info);
  return info;
}
}  // namespace

RECT MonitorBounds(HWND window) { return InfoOf(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)).rcMonitor; }
RECT MonitorWorkArea(HWND window) { return InfoOf(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)).rcWork; }
RECT MonitorBoundsAt(POINT point) { return InfoOf(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST)).rcMonitor; }

RECT VirtualDesktop() {
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  return {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

POINT CenteredIn(const RECT& area, int width, int height) {
  // C++ integer division rounds toward zero, as wanted.
  return {area.left + (area.right - area.left - width) / 2, area.top + (area.bottom - area.top - height) / 2};
}

int SystemDpi() {
  static const int dpi = [] {
    HDC screen = GetDC(nullptr);
    int value = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return value > 0 ? value : 96;
  }();
  return dpi;
}

int ScaleToDpi(int value) { return MulDiv(value, SystemDpi(), 96); }

}  // namespace ui
