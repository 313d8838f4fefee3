#pragma once
// Finding and reading top-level windows of any process.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "testing/probe/wait.h"

namespace probe {

// Every field that is set must match exactly.
struct WindowQuery {
  std::optional<std::wstring> className = std::nullopt;
  std::optional<std::wstring> title = std::nullopt;
  std::optional<DWORD> pid = std::nullopt;
  std::optional<HWND> owner = std::nullopt;  // nullptr asks for an unowned window
  bool visibleOnly = false;
};

struct WindowInfo {
  HWND hwnd = nullptr;
  std::wstring className;
  std::wstring title;
  DWORD pid = 0;
  HWND owner = nullptr;
  bool visible = false;
  RECT rect{};
};

std::wstring ClassNameOf(HWND hwnd);
// The caption as the system stores it; never sends a message, so a hung window cannot block.
std::wstring CaptionOf(HWND hwnd);
// WM_GETTEXT with a time-out: the live text of any window, e.g. an EDIT control in another process.
std::wstring WindowText(HWND hwnd, milliseconds timeout = 1000ms);
HWND OwnerOf(HWND hwnd);
DWORD ProcessOf(HWND hwnd);
WindowInfo Describe(HWND hwnd);

std::vector<HWND> TopLevelWindows();
std::vector<HWND> FindWindows(const WindowQuery& query);
HWND FindTopWindow(const WindowQuery& query);   // the first match or nullptr
HWND WaitForWindow(const WindowQuery& query, milliseconds timeout);   // nullptr on time-out
bool WaitForNoWindow(const WindowQuery& query, milliseconds timeout);
std::vector<WindowInfo> VisibleWindowsOf(DWORD pid);
std::vector<HWND> ChildWindows(HWND parent);

}  // namespace probe
