#include "visual/theme_change_receiver.h"

#include <algorithm>

namespace snibbet {
namespace {

constexpr wchar_t kClassName[] = L"SnibbetThemeChangeReceiver";

// No exception may leave a window procedure.
void RunGuarded(const ThemeChangeReceiver::Listener& f) {
  if (!f) return;
  try {
    f();
  } catch (...) {
  }
}

}  // namespace

ThemeChangeReceiver::ThemeChangeReceiver(Listener beforeDefault, Listener afterDefault)
    : beforeDefault_(std::move(beforeDefault)), afterDefault_(std::move(afterDefault)) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kClassName;
  RegisterClassW(&wc);  // fails harmlessly when already registered
  // Never shown; a tool window so that it never gets a taskbar button.
  window_ = CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                            wc.hInstance, this);
}

ThemeChangeReceiver::~ThemeChangeReceiver() {
  if (window_) DestroyWindow(window_);
}

int ThemeChangeReceiver::AddListener(Listener listener) {
  listeners_.emplace_back(nextId_, std::move(listener));
  return nextId_++;
}

void ThemeChangeReceiver::RemoveListener(int id) {
  std::erase_if(listeners_, [id](const auto& entry) { return entry.first == id; });
}

LRESULT ThemeChangeReceiver::OnThemeChanged(WPARAM wParam, LPARAM lParam) {
  RunGuarded(beforeDefault_);
  if (window_) DefWindowProcW(window_, WM_THEMECHANGED, wParam, lParam);
  RunGuarded(afterDefault_);
  // A copy: a listener may add or remove listeners.
  const auto listeners = listeners_;
  for (const auto& entry : listeners) RunGuarded(entry.second);
  return 0;
}

LRESULT CALLBACK ThemeChangeReceiver::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<ThemeChangeReceiver*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_THEMECHANGED && self) return self->OnThemeChanged(wParam, lParam);
  if (message == WM_NCDESTROY && self) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace snibbet
