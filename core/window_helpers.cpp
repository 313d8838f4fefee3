#include "core/window_helpers.h"

#include "core/window_geometry.h"

namespace snibbet {
namespace {

constexpr int kMaxOwnerDepth = 32;  // owner chains are short; this only bounds a damaged one

class ForegroundLockTimeoutOff {
 public:
  ForegroundLockTimeoutOff() {
    saved_ = SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &timeout_, 0) != FALSE;
    if (saved_) SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, nullptr, 0);
  }
  // Only put back what was read: never leave the user's setting at 0.
  ~ForegroundLockTimeoutOff() {
    if (saved_) SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, reinterpret_cast<void*>(
                                          static_cast<ULONG_PTR>(timeout_)), 0);
  }
  ForegroundLockTimeoutOff(const ForegroundLockTimeoutOff&) = delete;
  ForegroundLockTimeoutOff& operator=(const ForegroundLockTimeoutOff&) = delete;

 private:
  DWORD timeout_ = 0;
  bool saved_ = false;
};

// An empty input record counts as user input, which lifts the foreground lock.
void SendEmptyInput() {
  INPUT input{};
  input.type = INPUT_MOUSE;
  SendInput(1, &input, sizeof(INPUT));
}

HICON OwnIconOf(HWND window, UINT timeoutMs, int depth) {
  DWORD_PTR icon = 0;
  if (SendMessageTimeoutW(window, WM_GETICON, ICON_SMALL2, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, timeoutMs,
                          &icon) &&
      icon) {
    return reinterpret_cast<HICON>(icon);
  }
  if (HICON classIcon = reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICONSM))) return classIcon;
  const HWND owner = GetWindow(window, GW_OWNER);
  if (owner && depth < kMaxOwnerDepth) return OwnIconOf(owner, timeoutMs, depth + 1);
  return nullptr;
}

}  // namespace

void ForceForegroundWindow(HWND window, bool show) {
  if (!window || !IsWindow(window) || GetForegroundWindow() == window) return;
  if (show && !IsWindowVisible(window)) ShowWindowAsync(window, SW_SHOW);
  {
    ForegroundLockTimeoutOff lockOff;
    if (GetForegroundWindow() != window && !SetForegroundWindow(window)) {
      SendEmptyInput();
      SetForegroundWindow(window);
    }
  }
  if (IsIconic(window)) ShowWindowAsync(window, SW_RESTORE);
  if (GetForegroundWindow() != window) ShowWindowAsync(window, SW_SHOW);
}

HICON GetWindowIconHandle(HWND window, UINT timeoutMs) {
  HICON icon = window ? OwnIconOf(window, timeoutMs, 0) : nullptr;
  // A copy: the caller may destroy it without harming the window's own icon.
  HICON copy = icon ? CopyIcon(icon) : nullptr;
  return copy ? copy : CopyIcon(LoadIconW(nullptr, IDI_APPLICATION));
}

void KeepFormOnMonitor(HWND window) {
  if (!window || IsIconic(window) || IsZoomed(window)) return;
  RECT bounds;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  if (!GetWindowRect(window, &bounds) ||
      !GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) {
    return;
  }
  const ScreenRect area{monitor.rcWork.left, monitor.rcWork.top, monitor.rcWork.right, monitor.rcWork.bottom};
  const ScreenPoint corner = FitIntoArea({bounds.left, bounds.top, bounds.right, bounds.bottom}, area);
  if (corner.x != bounds.left || corner.y != bounds.top) {
    SetWindowPos(window, nullptr, corner.x, corner.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

}  // namespace snibbet
