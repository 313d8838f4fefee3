#include "ui/message_window.h"

#include <map>
#include <mutex>
#include <system_error>

#include "ui/exceptions.h"
#include "ui/window_class.h"

namespace ui {
namespace {

struct ClassRegistry {
  std::mutex mutex;
  std::map<std::wstring, std::weak_ptr<WindowClass>> classes;
};

// Never destroyed: a thread's window may outlive the statics at process end.
ClassRegistry& Registry() {
  static ClassRegistry* registry = new ClassRegistry;
  return *registry;
}

// The class of that name while any window of it lives; null when it cannot be registered.
std::shared_ptr<WindowClass> SharedClass(const std::wstring& name, WNDPROC procedure, HINSTANCE instance) {
  ClassRegistry& registry = Registry();
  std::lock_guard lock(registry.mutex);
  std::weak_ptr<WindowClass>& entry = registry.classes[name];
  if (auto existing = entry.lock()) return existing;
  WNDCLASSEXW description{};
  description.cbSize = sizeof description;
  description.lpfnWndProc = procedure;
  description.hInstance = instance;
  description.lpszClassName = name.c_str();
  try {
    // Unregistered under the lock, so a window of another thread never meets a half-gone class.
    std::shared_ptr<WindowClass> registered(new WindowClass(description), [](WindowClass* windowClass) {
      std::lock_guard unregisterLock(Registry().mutex);
      delete windowClass;
    });
    entry = registered;
    return registered;
  } catch (const std::system_error&) {
    return nullptr;
  }
}

}  // namespace

MessageWindow::MessageWindow(const MessageWindowParams& params, Handler handler) : handler_(std::move(handler)) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  class_ = SharedClass(params.className, &MessageWindow::Procedure, instance);
  if (!class_) return;
  const bool messageOnly = params.kind == MessageWindowKind::MessageOnly;
  CreateWindowExW(params.exStyle, params.className.c_str(), L"", messageOnly ? 0 : WS_POPUP, 0, 0, 0, 0,
                  messageOnly ? HWND_MESSAGE : nullptr, nullptr, instance, this);
}

MessageWindow::~MessageWindow() {
  if (window_) DestroyWindow(window_);  // before the class may go
}

LRESULT CALLBACK MessageWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* creating = static_cast<MessageWindow*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creating));
    if (creating) creating->window_ = window;
  }
  // Null for windows others create with one of our class names.
  auto* self = reinterpret_cast<MessageWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self && message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
  } else if (self && self->handler_) {
    const std::optional<LRESULT> result =
        Guarded(std::optional<LRESULT>(0), [&] { return self->handler_(message, wParam, lParam); });
    if (result) return *result;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace ui
