#pragma once
// A hidden top-level window that receives WM_THEMECHANGED and tells its
// listeners. Top-level on purpose: the system broadcasts the message to
// top-level windows only, so a message-only window would never hear it.
#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

#include "ui/message_window.h"

namespace snibbet {

class ThemeChangeReceiver {
 public:
  using Listener = std::function<void()>;

  // `beforeDefault` runs when the message arrives, `afterDefault` once the
  // default window procedure has seen it; then every listener.
  ThemeChangeReceiver(Listener beforeDefault, Listener afterDefault);
  ThemeChangeReceiver(const ThemeChangeReceiver&) = delete;
  ThemeChangeReceiver& operator=(const ThemeChangeReceiver&) = delete;

  HWND Window() const { return window_.Handle(); }
  int AddListener(Listener listener);
  void RemoveListener(int id);

  // The whole reaction to WM_THEMECHANGED; returns the message's result (0).
  LRESULT OnThemeChanged(WPARAM wParam, LPARAM lParam);

 private:
  Listener beforeDefault_, afterDefault_;
  std::vector<std::pair<int, Listener>> listeners_;
  int nextId_ = 1;
  ui::MessageWindow window_;  // last: gone before the listeners it calls
};

}  // namespace snibbet
