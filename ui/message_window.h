#pragma once
// A hidden window that only receives messages (a tray icon's callbacks, a
// broadcast, the clipboard's ownership). Its class is registered on the first
// window of its name and unregistered when the last one is gone.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace ui {

class WindowClass;

enum class MessageWindowKind {
  MessageOnly,     // below HWND_MESSAGE: no z-order, no broadcasts
  HiddenTopLevel,  // a never-shown popup: hears broadcasts (WM_THEMECHANGED, "TaskbarCreated")
};

struct MessageWindowParams {
  std::wstring className;  // other processes and tests may look windows up by it
  MessageWindowKind kind = MessageWindowKind::MessageOnly;
  DWORD exStyle = 0;
};

class MessageWindow {
 public:
  // A message's result, or nothing to leave it to the default window procedure.
  // An exception is reported through the application's handler; the message then answers 0.
  using Handler = std::function<std::optional<LRESULT>(UINT message, WPARAM wParam, LPARAM lParam)>;

  // Handle() is null when the window cannot be made.
  explicit MessageWindow(const MessageWindowParams& params, Handler handler = {});
  ~MessageWindow();
  // The window procedure holds the object's address.
  MessageWindow(const MessageWindow&) = delete;
  MessageWindow& operator=(const MessageWindow&) = delete;

  // Null also once the window was destroyed from outside.
  HWND Handle() const { return window_; }

  LRESULT CallDefault(UINT message, WPARAM wParam, LPARAM lParam) const {
    return DefWindowProcW(window_, message, wParam, lParam);
  }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  Handler handler_;
  std::shared_ptr<WindowClass> class_;  // shared by the windows of one name
  HWND window_ = nullptr;
};

}  // namespace ui
