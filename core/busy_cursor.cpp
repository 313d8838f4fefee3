#include "core/busy_cursor.h"

#include <algorithm>

namespace snibbet {
namespace {

int g_busyLevel = 0;
HCURSOR g_screenCursor = nullptr;

void SetScreenCursor(HCURSOR cursor) {
  g_screenCursor = cursor;
  SetCursor(cursor ? cursor : LoadCursorW(nullptr, IDC_ARROW));
}

}  // namespace

void BusyCursorBegin(bool reset) {
  g_busyLevel = reset ? 1 : g_busyLevel + 1;
  SetScreenCursor(LoadCursorW(nullptr, IDC_WAIT));
}

void BusyCursorEnd(bool reset) {
  g_busyLevel = reset ? 0 : std::max(0, g_busyLevel - 1);
  if (g_busyLevel == 0) SetScreenCursor(nullptr);
}

void ShowHandCursor() { SetScreenCursor(LoadCursorW(nullptr, IDC_HAND)); }

int BusyCursorLevel() { return g_busyLevel; }

HCURSOR ScreenCursor() { return g_screenCursor; }

}  // namespace snibbet
