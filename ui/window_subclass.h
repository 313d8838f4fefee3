#pragma once
// A subclass of a window of this thread (comctl32's SetWindowSubclass), held
// for the lifetime of the object. Controls use it to see messages the system
// sends to their parent (commands of toolbar buttons, menu measuring and
// drawing, the parent's size) without the parent's code knowing about them.
#include <windows.h>

#include <functional>
#include <optional>

namespace ui {

class WindowSubclass {
 public:
  // A value: the message is handled and that is its result; nothing: the
  // window's own procedure gets it.
  using Handler = std::function<std::optional<LRESULT>(UINT message, WPARAM wParam, LPARAM lParam)>;

  WindowSubclass() = default;
  WindowSubclass(HWND window, Handler handler) { Attach(window, std::move(handler)); }
  ~WindowSubclass() { Detach(); }
  WindowSubclass(const WindowSubclass&) = delete;
  WindowSubclass& operator=(const WindowSubclass&) = delete;

  void Attach(HWND window, Handler handler);  // detaches from an earlier window first
  void Detach();
  HWND Window() const { return window_; }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                    DWORD_PTR self);
  HWND window_ = nullptr;
  Handler handler_;
};

}  // namespace ui
