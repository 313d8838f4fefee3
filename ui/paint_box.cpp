#include "ui/paint_box.h"

#include "ui/exceptions.h"
#include "ui/gdi.h"
#include "ui/window_class.h"

namespace ui {
namespace {
constexpr wchar_t kClassName[] = L"UiPaintBox";
}  // namespace

const wchar_t* PaintBox::WindowClassName() const {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = &PaintBox::WindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kClassName;
  EnsureWindowClass(wc);
  return kClassName;
}

// A form destroyed as an object destroys its window after its members: the
// window must not call into this object then.
PaintBox::~PaintBox() {
  if (hwnd_ && IsWindow(hwnd_)) SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
}

void PaintBox::OnAttached() { SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this)); }

LRESULT CALLBACK PaintBox::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<PaintBox*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  return Guarded(LRESULT{0}, [&] { return self->HandleMessage(message, wParam, lParam); });
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
      if (!tracking_ && onMouseLeave) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd_, 0};
        tracking_ = TrackMouseEvent(&track) != FALSE;
      }
      [[fallthrough]];
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_MBUTTONDOWN: case WM_MBUTTONUP:
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
