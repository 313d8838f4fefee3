#include "ui/window.h"

namespace ui {

std::wstring Window::Text() const {
  if (!hwnd_) return {};
  int length = GetWindowTextLengthW(hwnd_);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  int copied = GetWindowTextW(hwnd_, text.data(), length + 1);
  text.resize(static_cast<size_t>(copied));
  return text;
}

void Window::SetText(std::wstring_view text) {
  if (hwnd_) SetWindowTextW(hwnd_, std::wstring(text).c_str());
}

void Window::SetEnabled(bool enabled) {
  if (hwnd_) EnableWindow(hwnd_, enabled);
}

void Window::Focus() {
  if (hwnd_) SetFocus(hwnd_);
}

RECT Window::Bounds() const {
  RECT r{};
  if (!hwnd_) return r;
  GetWindowRect(hwnd_, &r);
  if (GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_CHILD) {
    MapWindowPoints(HWND_DESKTOP, GetParent(hwnd_), reinterpret_cast<POINT*>(&r), 2);
  }
  return r;
}

int Window::Width() const {
  RECT r = Bounds();
  return r.right - r.left;
}

int Window::Height() const {
  RECT r = Bounds();
  return r.bottom - r.top;
}

void Window::SetBounds(int left, int top, int width, int height) {
  if (hwnd_) SetWindowPos(hwnd_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::SetLeft(int left) {
  RECT r = Bounds();
  SetBounds(left, r.top, r.right - r.left, r.bottom - r.top);
}

void Window::SetTop(int top) {
  RECT r = Bounds();
  SetBounds(r.left, top, r.right - r.left, r.bottom - r.top);
}

RECT Window::ClientRect() const {
  RECT r{};
  if (hwnd_) GetClientRect(hwnd_, &r);
  return r;
}

int Window::ClientWidth() const { return ClientRect().right; }
int Window::ClientHeight() const { return ClientRect().bottom; }

void Window::Invalidate(bool erase) {
  if (hwnd_) InvalidateRect(hwnd_, nullptr, erase);
}

void Window::Repaint() {
  if (!hwnd_) return;
  InvalidateRect(hwnd_, nullptr, TRUE);
  UpdateWindow(hwnd_);
}

}  // namespace ui
