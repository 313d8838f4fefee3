#pragma once
// A thin holder of an HWND with the queries every window wrapper needs.
// Copying is deleted: a wrapper stands for exactly one window.
#include <windows.h>

#include <string>
#include <string_view>

namespace ui {

class Window {
 public:
  Window() = default;
  virtual ~Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND Handle() const { return hwnd_; }
  bool IsCreated() const { return hwnd_ != nullptr; }

  std::wstring Text() const;
  void SetText(std::wstring_view text);
  bool IsVisible() const { return hwnd_ && IsWindowVisible(hwnd_); }
  bool IsEnabled() const { return hwnd_ && IsWindowEnabled(hwnd_); }
  void SetEnabled(bool enabled);
  void Focus();

  // Top-level windows: screen coordinates; child windows: the parent's client area.
  RECT Bounds() const;
  void SetBounds(int left, int top, int width, int height);
  int Left() const { return Bounds().left; }
  int Top() const { return Bounds().top; }
  int Width() const;
  int Height() const;
  void SetLeft(int left);
  void SetTop(int top);
  RECT ClientRect() const;
  int ClientWidth() const;
  int ClientHeight() const;

  void Invalidate(bool erase = false);
  void Repaint();  // invalidate and paint now

  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return SendMessageW(hwnd_, message, wParam, lParam);
  }
  bool Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return PostMessageW(hwnd_, message, wParam, lParam) != FALSE;
  }

 protected:
  HWND hwnd_ = nullptr;
};

}  // namespace ui
