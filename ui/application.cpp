#include "ui/application.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>
#include <system_error>

#include "ui/exceptions.h"
#include "ui/form.h"
#include "ui/forms.h"
#include "ui/window_class.h"

namespace ui {
namespace {
Application* g_application = nullptr;
bool g_terminated = false;
}  // namespace

HWND ApplicationWindow() { return g_application ? g_application->Window() : nullptr; }

void Terminate() {
  g_terminated = true;
  PostQuitMessage(0);
}

bool Terminated() { return g_terminated; }

Application& Application::Create(const ApplicationOptions& options) {
  if (g_application) throw std::logic_error("the application object exists already");
  g_terminated = false;
  g_application = new Application(options);
  // Anything ReportLater queued before there was a window is reported by the loop.
  PostMessageW(g_application->Window(), kReportLaterMessage, 0, 0);
  return *g_application;
}

void Application::Destroy() noexcept {
  delete std::exchange(g_application, nullptr);
}

Application& Application::Get() {
  if (!g_application) throw std::logic_error("no application object");
  return *g_application;
}

Application* Application::Existing() noexcept { return g_application; }

Application::Application(const ApplicationOptions& options)
    : instance_(options.instance ? options.instance : GetModuleHandleW(nullptr)), title_(options.title) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_USEREX_CLASSES};
  InitCommonControlsEx(&controls);

  if (options.iconResourceId) {
    const wchar_t* id = MAKEINTRESOURCEW(options.iconResourceId);
    icon_ = static_cast<HICON>(LoadImageW(instance_, id, IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                          GetSystemMetrics(SM_CYICON), LR_SHARED));
    smallIcon_ = static_cast<HICON>(LoadImageW(instance_, id, IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  }
  if (!icon_) icon_ = LoadIconW(nullptr, IDI_APPLICATION);
  if (!smallIcon_) smallIcon_ = icon_;

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &Application::WindowProc;
  wc.hInstance = instance_;
  wc.hIcon = icon_;
  wc.hIconSm = smallIcon_;
  wc.lpszClassName = options.windowClassName.c_str();
  EnsureWindowClass(wc);
  // A top-level window that is never shown: it owns the forms, so they get no
  // taskbar buttons of their own, and it is what the hook library is told.
  window_ = CreateWindowExW(0, options.windowClassName.c_str(), title_.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU,
                            0, 0, 0, 0, nullptr, nullptr, instance_, this);
  if (!window_) {
    const DWORD error = GetLastError();
    UnregisterAllWindowClasses();
    throw std::system_error(static_cast<int>(error), std::system_category(), "application window");
  }
}

Application::~Application() {
  // Help windows close with the program; this never loads a help system.
  try {
    HelpCommand(HELP_QUIT, 0);
  } catch (...) {
  }
  // The last created goes first: later forms may refer to earlier ones.
  while (!owned_.empty()) {
    owned_.back()->Destroy();
    owned_.pop_back();
  }
  if (window_) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
  UnregisterAllWindowClasses();
}

bool Application::HelpCommand(UINT command, ULONG_PTR data) {
  bool callHelp = true;
  const bool done = helpHandler_ ? helpHandler_->OnHelp(command, data, callHelp) : false;
  return callHelp ? false : done;
}

bool HelpCommand(UINT command, ULONG_PTR data) {
  return g_application ? g_application->HelpCommand(command, data) : false;
}

// --- forms -----------------------------------------------------------------

void Application::Adopt(std::unique_ptr<Form> form) { owned_.push_back(std::move(form)); }

void Application::CreateAdopted(Form& form) {
  try {
    form.Create();
  } catch (...) {
    owned_.erase(std::find_if(owned_.begin(), owned_.end(), [&](auto& f) { return f.get() == &form; }));
    throw;
  }
}

bool Application::Owns(const Form& form) const {
  return std::any_of(owned_.begin(), owned_.end(), [&](auto& f) { return f.get() == &form; });
}

void Application::ReleaseForm(unsigned serial) {
  auto owned = std::find_if(owned_.begin(), owned_.end(), [&](auto& f) { return f->Serial() == serial; });
  if (owned != owned_.end()) {
    std::unique_ptr<Form> form = std::move(*owned);
    owned_.erase(owned);
    form->Destroy();
    return;
  }
  for (Form* form : Forms()) {
    if (form->Serial() == serial) {
      form->Destroy();
      return;
    }
  }
}

// --- message loop ----------------------------------------------------------

MessageWatch::MessageWatch(MessageWatcher& watcher) : watcher_(watcher) {
  Application* app = Application::Existing();
  if (!app) return;
  next_ = app->watches_;
  app->watches_ = this;
  linked_ = true;
}

MessageWatch::~MessageWatch() {
  Application* app = Application::Existing();
  if (!linked_ || !app) return;
  for (MessageWatch** link = &app->watches_; *link; link = &(*link)->next_) {
    if (*link == this) {
      *link = next_;
      return;
    }
  }
}

void Application::Run() {
  while (!g_terminated && HandleMessage()) {
  }
}

bool Application::HandleMessage() {
  MSG msg;
  const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
  if (got == 0 || got == -1) {
    g_terminated = true;
    return false;
  }
  ProcessMessage(msg);
  return !g_terminated;
}

void Application::ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      g_terminated = true;
      return;
    }
    ProcessMessage(msg);
  }
}

void Application::ProcessMessage(MSG& msg) {
  for (MessageWatch* watch = watches_; watch;) {
    MessageWatch* const next = watch->next_;  // a watch may end its own life
    Guarded(false, [&] {
      watch->watcher_.WatchMessage(msg);
      return false;
    });
    watch = next;
  }
  if (events_ && Guarded(false, [&] { return events_->OnMessage(msg); })) return;
  if (DialogNavigation(msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

// Tab, Enter and Esc for forms that want dialog keys. Only keyboard messages
// can be dialog keys, so other messages skip the look-up.
bool Application::DialogNavigation(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST || !msg.hwnd) return false;
  HWND root = GetAncestor(msg.hwnd, GA_ROOT);
  for (Form* form : Forms()) {
    if (form->Handle() == root) {
      return form->Params().keyboardNavigation && IsDialogMessageW(root, &msg);
    }
  }
  return false;
}

// --- the application window ------------------------------------------------

LRESULT CALLBACK Application::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Application*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Application*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  return Guarded(LRESULT{0}, [&] { return self->HandleWindowMessage(message, wParam, lParam); });
}

LRESULT Application::HandleWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kReportLaterMessage:
      ReportQueuedExceptions();
      return 0;
    case kReleaseFormMessage:
      ReleaseForm(static_cast<unsigned>(wParam));
      return 0;
    case WM_ACTIVATEAPP:
      if (events_) {
        if (wParam) events_->OnActivate();
        else events_->OnDeactivate();
      }
      return 0;
    case WM_SETTINGCHANGE:
      if (events_) events_->OnSettingChange(wParam, lParam);
      return 0;
    case WM_QUERYENDSESSION:
      return events_ && !events_->OnQueryEndSession() ? FALSE : TRUE;
    case WM_CLOSE:  // e.g. an installer asking the program to end
      Terminate();
      return 0;
    default:
      return DefWindowProcW(window_, message, wParam, lParam);
  }
}

}  // namespace ui
