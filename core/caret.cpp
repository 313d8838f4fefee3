#include "core/caret.h"

namespace snibbet {

bool GetThreadCaretScreenPos(DWORD threadId, POINT& point, int& height, bool requireBlinking) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  if (!GetGUIThreadInfo(threadId, &info)) return false;
  if (requireBlinking && !(info.flags & GUI_CARETBLINKING)) return false;
  POINT corner{info.rcCaret.right, info.rcCaret.top};
  if (!info.hwndCaret || !ClientToScreen(info.hwndCaret, &corner)) return false;
  point = corner;
  height = info.rcCaret.bottom - info.rcCaret.top;
  return true;
}

bool GetCaretScreenPos(POINT& point, int& height, bool requireBlinking) {
  const HWND foreground = GetForegroundWindow();
  if (!foreground) return false;
  const DWORD threadId = GetWindowThreadProcessId(foreground, nullptr);
  return threadId != 0 && GetThreadCaretScreenPos(threadId, point, height, requireBlinking);
}

}  // namespace snibbet
