#include "ui/paint_box.h"

#include "ui/exceptions.h"
#include "ui/gdi.h"

namespace ui {
namespace {
constexpr wchar_t kClassName[] = L"UiPaintBox";
}  // namespace

const wchar_t* PaintBox::WindowClassName() const { return CustomClass(kClassName, IDC_ARROW, CS_DBLCLKS); }

bool PaintBox::CursorOverThis() const {
  POINT cursor{};
  return GetCursorPos(&cursor) && WindowFromPoint(cursor) == hwnd_;
}

void PaintBox::Paint() {
  PaintDC screen(hwnd_);
  const RECT client = ClientRect();
  if (!onPaint || client.right <= 0 || client.bottom <= 0) return;
  MemoryDC buffer(screen);
  Bitmap picture(CreateCompatibleBitmap(screen, client.right, client.bottom));
  SelectedObject selected(buffer, picture.Get());
  FillRect(buffer, &client, GetSysColorBrush(COLOR_BTNFACE));
  onPaint(buffer, client);
  BitBlt(screen, 0, 0, client.right, client.bottom, buffer, 0, 0, SRCCOPY);
}

LRESULT PaintBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // Paint covers everything
    case WM_MOUSEMOVE:
      // A box that holds the mouse gets moves from elsewhere too: only a
      // move really over it is an entry whose leave the system then tells.
      if (!tracking_ && onMouseLeave && (GetCapture() != hwnd_ || CursorOverThis())) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd_, 0};
        tracking_ = TrackMouseEvent(&track) != FALSE;
      }
      [[fallthrough]];
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK:
      if (onMouse) {
        onMouse(message, {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}, wParam);
        return 0;
      }
      break;
    case WM_MOUSELEAVE:
      tracking_ = false;
      if (onMouseLeave) onMouseLeave();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace ui
