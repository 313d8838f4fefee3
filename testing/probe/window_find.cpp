#include "testing/probe/window_find.h"

namespace probe {

std::wstring ClassNameOf(HWND hwnd) {
  wchar_t name[256] = {};
  const int n = GetClassNameW(hwnd, name, 256);
  return std::wstring(name, n > 0 ? n : 0);
}

std::wstring CaptionOf(HWND hwnd) {
  std::wstring text(4096, L'\0');
  const int n = InternalGetWindowText(hwnd, text.data(), static_cast<int>(text.size()));
  text.resize(n > 0 ? n : 0);
  return text;
}

std::wstring WindowText(HWND hwnd, milliseconds timeout) {
  const UINT flags = SMTO_ABORTIFHUNG | SMTO_BLOCK;
  const auto ms = static_cast<UINT>(timeout.count());
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, flags, ms, &length)) return CaptionOf(hwnd);
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), flags,
                           ms, &copied)) {
    return CaptionOf(hwnd);
  }
  text.resize(copied);
  return text;
}

HWND OwnerOf(HWND hwnd) { return GetWindow(hwnd, GW_OWNER); }

DWORD ProcessOf(HWND hwnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  return pid;
}

WindowInfo Describe(HWND hwnd) {
  WindowInfo info;
  info.hwnd = hwnd;
  info.className = ClassNameOf(hwnd);
  info.title = CaptionOf(hwnd);
  info.pid = ProcessOf(hwnd);
  info.owner = OwnerOf(hwnd);
  info.visible = IsWindowVisible(hwnd) != FALSE;
  GetWindowRect(hwnd, &info.rect);
  return info;
}

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> windows;
  EnumWindows(
      [](HWND hwnd, LPARAM list) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

namespace {

bool Matches(HWND hwnd, const WindowQuery& query) {
  if (query.visibleOnly && !IsWindowVisible(hwnd)) return false;
  if (query.pid && ProcessOf(hwnd) != *query.pid) return false;
  if (query.owner && OwnerOf(hwnd) != *query.owner) return false;
  if (query.className && ClassNameOf(hwnd) != *query.className) return false;
  if (query.title && CaptionOf(hwnd) != *query.title) return false;
  return true;
}

}  // namespace

std::vector<HWND> FindWindows(const WindowQuery& query) {
  std::vector<HWND> found;
  for (HWND hwnd : TopLevelWindows())
    if (Matches(hwnd, query)) found.push_back(hwnd);
  return found;
}

HWND FindTopWindow(const WindowQuery& query) {
  for (HWND hwnd : TopLevelWindows())
    if (Matches(hwnd, query)) return hwnd;
  return nullptr;
}

HWND WaitForWindow(const WindowQuery& query, milliseconds timeout) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindTopWindow(query)) != nullptr; }, timeout);
  return found;
}

bool WaitForNoWindow(const WindowQuery& query, milliseconds timeout) {
  return WaitUntil([&] { return FindTopWindow(query) == nullptr; }, timeout);
}

std::vector<WindowInfo> VisibleWindowsOf(DWORD pid) {
  std::vector<WindowInfo> windows;
  WindowQuery query;
  query.pid = pid;
  query.visibleOnly = true;
  for (HWND hwnd : FindWindows(query)) windows.push_back(Describe(hwnd));
  return windows;
}

std::vector<HWND> ChildWindows(HWND parent) {
  std::vector<HWND> children;
  EnumChildWindows(
      parent,
      [](HWND hwnd, LPARAM list) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&children));
  return children;
}

}  // namespace probe
