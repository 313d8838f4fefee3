#include "ui/custom_control.h"

#include "ui/exceptions.h"
#include "ui/window_class.h"

namespace ui {

CustomControl::~CustomControl() {
  if (hwnd_ && IsWindow(hwnd_)) SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
}

const wchar_t* CustomControl::CustomClass(const wchar_t* name, LPCWSTR cursor, UINT style, HBRUSH background) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = style;
  wc.lpfnWndProc = &CustomControl::WindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, cursor);
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  EnsureWindowClass(wc);
  return name;
}

void CustomControl::OnAttached() { SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this)); }

LRESULT CALLBACK CustomControl::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<CustomControl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  return Guarded(LRESULT{0}, [&] { return self->HandleMessage(message, wParam, lParam); });
}

}  // namespace ui
