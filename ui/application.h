#pragma once
// The application object: the hidden application window that owns every form
// and message box, the title, the terminate request and the message loop in
// which every queued message passes the application's message filter first.
//
// Created and destroyed by explicit calls in the program entry:
//   ui::Application::Create({.title = L"..."});  ...  ui::Application::Destroy();
#include <windows.h>

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace ui {

class Form;

// Private notes to the application window.
inline constexpr UINT kReportLaterMessage = WM_APP + 0x3F00;  // ReportLater queued an exception
inline constexpr UINT kReleaseFormMessage = WM_APP + 0x3F01;  // wParam: serial of the form to free

// The application's events. Every queued message of the thread (posted to any
// window of ours, to the application window or to the thread itself) reaches
// OnMessage before it is dispatched, also inside modal loops of our own.
// Sent messages do not pass here.
class ApplicationEvents {
 public:
  virtual ~ApplicationEvents() = default;
  // Return true when the message is handled: it is then not dispatched.
  virtual bool OnMessage(MSG& msg) { return false; }
  virtual void OnActivate() {}    // a window of this program became active
  virtual void OnDeactivate() {}  // another program became active
  virtual void OnSettingChange(WPARAM flag, LPARAM section) {}
  // The session is about to end; false asks the system to keep it.
  virtual bool OnQueryEndSession() { return true; }
};

// A look at every queued message the loop processes, before the filter, for
// as long as a MessageWatch made with it lives. It cannot mark a message
// handled. For a window that must see what happens anywhere in the program.
class MessageWatcher {
 public:
  virtual ~MessageWatcher() = default;
  virtual void WatchMessage(const MSG& msg) = 0;
};

// Puts a watcher on the application's loop from construction to destruction.
// Nothing when no application exists.
class MessageWatch {
 public:
  explicit MessageWatch(MessageWatcher& watcher);
  ~MessageWatch();
  MessageWatch(const MessageWatch&) = delete;
  MessageWatch& operator=(const MessageWatch&) = delete;

 private:
  friend class Application;
  MessageWatcher& watcher_;
  MessageWatch* next_ = nullptr;
  bool linked_ = false;
};

// The application's help event: every help command (the WinHelp commands and
// data) reaches it first; it clears `callHelp` once it has served the request.
class HelpHandler {
 public:
  virtual ~HelpHandler() = default;
  virtual bool OnHelp(UINT command, ULONG_PTR data, bool& callHelp) = 0;
};

struct ApplicationOptions {
  std::wstring title{};
  HINSTANCE instance = nullptr;  // default: the program's own module
  std::wstring windowClassName = L"UiApplicationWindow";
  WORD iconResourceId = 1;  // the program's icon; the system's when missing
};

class Application {
 public:
  using ExceptionHandler = std::function<void(const std::exception_ptr&)>;

  // Creates the one application object with its hidden window. Throws
  // std::logic_error when one exists, std::system_error when the window fails.
  static Application& Create(const ApplicationOptions& options);
  // Frees the forms the application owns (last created first) and the
  // application window. Safe to call when none exists.
  static void Destroy() noexcept;
  static Application& Get();  // throws std::logic_error when none exists
  static Application* Existing() noexcept;

  HWND Window() const { return window_; }
  HINSTANCE Module() const { return instance_; }
  HICON Icon() const { return icon_; }
  HICON SmallIcon() const { return smallIcon_; }
  const std::wstring& Title() const { return title_; }

  void SetEvents(ApplicationEvents* events) { events_ = events; }
  ApplicationEvents* Events() const { return events_; }

  // The help event; null: none. Whoever sets it keeps the previous one to put back.
  void SetHelpHandler(HelpHandler* handler) { helpHandler_ = handler; }
  HelpHandler* GetHelpHandler() const { return helpHandler_; }
  // The help command: the help event first. What it leaves undone finds no help
  // file of the application's own, so the answer is then false.
  bool HelpCommand(UINT command, ULONG_PTR data);

  // The default (no handler set) is a plain error box with the message.
  void SetExceptionHandler(ExceptionHandler handler) { exceptionHandler_ = std::move(handler); }
  bool HasExceptionHandler() const { return static_cast<bool>(exceptionHandler_); }
  void CallExceptionHandler(const std::exception_ptr& error) { exceptionHandler_(error); }

  // Runs the message loop until Terminate().
  void Run();
  // Waits for one message and processes it; false once the loop must end.
  bool HandleMessage();
  // Processes the messages already queued, without waiting.
  void ProcessMessages();
  // Filter, dialog keyboard navigation, translation and dispatch of one message.
  void ProcessMessage(MSG& msg);

  // Creates a form owned by the application (two-step: constructed, then its
  // window created); it lives until Release() or Application::Destroy.
  template <class T, class... Args>
  T& CreateForm(Args&&... args) {
    static_assert(std::is_base_of_v<Form, T>);
    auto form = std::make_unique<T>(std::forward<Args>(args)...);
    T& ref = *form;
    Adopt(std::move(form));
    CreateAdopted(ref);
    return ref;
  }
  bool Owns(const Form& form) const;

 private:
  friend class Form;
  friend class MessageWatch;
  explicit Application(const ApplicationOptions& options);
  ~Application();
  void Adopt(std::unique_ptr<Form> form);
  void CreateAdopted(Form& form);
  void ReleaseForm(unsigned serial);  // destroys now; reached by kReleaseFormMessage
  bool DialogNavigation(MSG& msg);
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleWindowMessage(UINT message, WPARAM wParam, LPARAM lParam);

  HINSTANCE instance_;
  HWND window_ = nullptr;
  HICON icon_ = nullptr;
  HICON smallIcon_ = nullptr;
  std::wstring title_;
  ApplicationEvents* events_ = nullptr;
  MessageWatch* watches_ = nullptr;  // the newest first
  HelpHandler* helpHandler_ = nullptr;
  ExceptionHandler exceptionHandler_;
  std::vector<std::unique_ptr<Form>> owned_;  // creation order
};

// The hidden application window (owner of every form and of message boxes).
// Null until the application object has been created.
HWND ApplicationWindow();

// The application's help command; false when there is no application object.
bool HelpCommand(UINT command, ULONG_PTR data);

// Asks the message loop to end (like the class library's Application.Terminate).
void Terminate();
bool Terminated();

}  // namespace ui
