// Window placement under the settings key, by window class name.
#include <exception>
#include <vector>

#include "core/app_ini.h"

namespace snibbet {
namespace {

std::wstring ClassNameOf(HWND form) {
  std::vector<wchar_t> name(257, L'\0');
  int length = GetClassNameW(form, name.data(), static_cast<int>(name.size()));
  return std::wstring(name.data(), static_cast<size_t>(length > 0 ? length : 0));
}

bool IsNormalState(HWND form) { return !IsZoomed(form) && !IsIconic(form); }

LONG_PTR StyleOf(HWND form) { return GetWindowLongPtrW(form, GWL_STYLE); }

// Placement rectangles of top-level windows without WS_EX_TOOLWINDOW are in
// workspace coordinates: relative to the work area of their monitor.
POINT WorkspaceOffset(HWND form, const RECT& rect) {
  if (GetWindowLongPtrW(form, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) return {0, 0};
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (!GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTOPRIMARY), &info)) return {0, 0};
  return {info.rcWork.left - info.rcMonitor.left, info.rcWork.top - info.rcMonitor.top};
}

// The rectangle the window has, or returns to, in the normal state (screen coordinates).
RECT NormalRect(HWND form) {
  RECT rect{};
  if (IsNormalState(form)) {
    GetWindowRect(form, &rect);
    return rect;
  }
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  GetWindowPlacement(form, &placement);
  rect = placement.rcNormalPosition;
  POINT offset = WorkspaceOffset(form, rect);
  OffsetRect(&rect, offset.x, offset.y);
  return rect;
}

RECT WorkAreaOf(HMONITOR monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  GetMonitorInfoW(monitor, &info);
  return info.rcWork;
}

// Top-left that centres a `width` x `height` rectangle in `area`; a larger
// rectangle gets a negative offset.
POINT CentredIn(const RECT& area, int width, int height) {
  return {area.left + (area.right - area.left - width) / 2, area.top + (area.bottom - area.top - height) / 2};
}

// A stored position can lie off every monitor (a monitor was removed or the
// resolution dropped): such a window is centred on the nearest monitor.
RECT KeptOnAMonitor(RECT rect) {
  if (MonitorFromRect(&rect, MONITOR_DEFAULTTONULL)) return rect;
  int width = rect.right - rect.left;
  int height = rect.bottom - rect.top;
  POINT topLeft = CentredIn(WorkAreaOf(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST)), width, height);
  return {topLeft.x, topLeft.y, topLeft.x + width, topLeft.y + height};
}

void ApplyNormalRect(HWND form, RECT rect, FormWindowState state) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  GetWindowPlacement(form, &placement);
  POINT offset = WorkspaceOffset(form, rect);
  OffsetRect(&rect, -offset.x, -offset.y);
  placement.rcNormalPosition = rect;
  placement.flags = 0;
  if (!IsWindowVisible(form)) {
    placement.showCmd = SW_HIDE;  // the caller shows it in the returned state
  } else {
    placement.showCmd = state == FormWindowState::Maximised ? SW_SHOWMAXIMIZED : SW_SHOWNOACTIVATE;
  }
  SetWindowPlacement(form, &placement);
}

}  // namespace

void TAppIni::SaveFormPlacement(HWND form, bool positionOnly) noexcept {
  try {
    const std::wstring prefix = ClassNameOf(form);
    RECT rect{};
    GetWindowRect(form, &rect);
    if (positionOnly) {
      WriteInteger(prefix + L"Top", rect.top);
      WriteInteger(prefix + L"Left", rect.left);
      return;
    }
    if (!IsNormalState(form)) {
      WriteInteger(prefix + L"State", 1);  // the last normal rectangle stays as stored
      return;
    }
    WriteInteger(prefix + L"Top", rect.top);
    WriteInteger(prefix + L"Left", rect.left);
    if (StyleOf(form) & WS_MAXIMIZEBOX) {
      WriteInteger(prefix + L"Height", rect.bottom - rect.top);
      WriteInteger(prefix + L"Width", rect.right - rect.left);
    }
    WriteInteger(prefix + L"State", 0);
  } catch (const std::exception&) {
    // A placement that cannot be saved is not worth bothering the user about.
  }
}

FormWindowState TAppIni::LoadFormPlacement(HWND form, bool positionOnly, bool centreOnDesktop) {
  if (centreOnDesktop) CenterFormOnMonitor(form);
  const std::wstring prefix = ClassNameOf(form);
  const RECT current = NormalRect(form);
  const int state = ReadIntegerDef(prefix + L"State", 0);
  const int top = ReadIntegerDef(prefix + L"Top", current.top);
  const int left = ReadIntegerDef(prefix + L"Left", current.left);
  int height = current.bottom - current.top;
  int width = current.right - current.left;
  const LONG_PTR style = StyleOf(form);

  if (positionOnly) {
    RECT target = KeptOnAMonitor({left, top, left + width, top + height});
    SetWindowPos(form, nullptr, target.left, target.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return IsZoomed(form) ? FormWindowState::Maximised : FormWindowState::Normal;
  }
  if (style & WS_THICKFRAME) {
    height = ReadIntegerDef(prefix + L"Height", height);
    width = ReadIntegerDef(prefix + L"Width", width);
  }
  const FormWindowState windowState =
      state != 0 && (style & WS_MAXIMIZEBOX) ? FormWindowState::Maximised : FormWindowState::Normal;
  ApplyNormalRect(form, KeptOnAMonitor({left, top, left + width, top + height}), windowState);
  return windowState;
}

void TAppIni::CenterFormOnMonitor(HWND form) {
  RECT rect{};
  GetWindowRect(form, &rect);
  POINT topLeft = CentredIn(WorkAreaOf(MonitorFromWindow(form, MONITOR_DEFAULTTONEAREST)), rect.right - rect.left,
                            rect.bottom - rect.top);
  SetWindowPos(form, nullptr, topLeft.x, topLeft.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace snibbet
