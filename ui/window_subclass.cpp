#include "ui/window_subclass.h"

#include <commctrl.h>

#include "ui/exceptions.h"

namespace ui {

void WindowSubclass::Attach(HWND window, Handler handler) {
  Detach();
  handler_ = std::move(handler);
  if (window && SetWindowSubclass(window, &WindowSubclass::Procedure, reinterpret_cast<UINT_PTR>(this),
                                  reinterpret_cast<DWORD_PTR>(this))) {
    window_ = window;
  }
}

void WindowSubclass::Detach() {
  if (window_ && IsWindow(window_)) {
    RemoveWindowSubclass(window_, &WindowSubclass::Procedure, reinterpret_cast<UINT_PTR>(this));
  }
  window_ = nullptr;
}

LRESULT CALLBACK WindowSubclass::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR data) {
  auto* self = reinterpret_cast<WindowSubclass*>(data);
  if (message == WM_NCDESTROY) {  // the window goes: nothing of ours may stay on it
    RemoveWindowSubclass(window, &WindowSubclass::Procedure, reinterpret_cast<UINT_PTR>(self));
    self->window_ = nullptr;
    return DefSubclassProc(window, message, wParam, lParam);
  }
  if (self->handler_) {
    const std::optional<LRESULT> handled =
        Guarded(std::optional<LRESULT>{}, [&] { return self->handler_(message, wParam, lParam); });
    if (handled) return *handled;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace ui
