#include "testing/probe/test_window.h"

#include <future>
#include <stdexcept>

#include "testing/probe/text.h"

namespace probe {
namespace {

// Several test windows may share a class; a class is registered once per process
// and stays registered (test processes are short-lived).
bool EnsureClass(const std::wstring& className, WNDPROC proc) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = className.c_str();
  return RegisterClassExW(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

TestWindow::TestWindow(const std::wstring& className, const std::wstring& title, HWND owner, bool visible) {
  std::promise<void> created;
  std::future<void> ready = created.get_future();
  thread_ = std::thread([this, className, title, owner, visible, created = std::move(created)]() mutable {
    Run(className, title, owner, visible);
    created.set_value();
    if (!hwnd_) return;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  });
  ready.wait();
  if (!hwnd_) {
    thread_.join();
    throw std::runtime_error(error_);
  }
}

void TestWindow::Run(std::wstring className, std::wstring title, HWND owner, bool visible) {
  threadId_ = GetCurrentThreadId();
  if (!EnsureClass(className, &TestWindow::WindowProc)) {
    error_ = "cannot register window class: " + LastErrorText();
    return;
  }
  const DWORD style = WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0);
  hwnd_ = CreateWindowExW(0, className.c_str(), title.c_str(), style, 100, 100, 320, 200, owner, nullptr,
                          GetModuleHandleW(nullptr), this);
  if (!hwnd_) error_ = "cannot create test window: " + LastErrorText();
}

TestWindow::~TestWindow() {
  if (hwnd_) PostMessageW(hwnd_, WM_CLOSE, 0, 0);
  PostThreadMessageW(threadId_, WM_QUIT, 0, 0);   // in case the window is already gone
  if (thread_.joinable()) thread_.join();
}

LRESULT CALLBACK TestWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self) self->Record(message, wParam, lParam);
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void TestWindow::Record(UINT message, WPARAM wParam, LPARAM lParam) {
  std::lock_guard lock(mutex_);
  messages_.push_back({message, wParam, lParam, GetTickCount()});
}

std::vector<RecordedMessage> TestWindow::Messages() const {
  std::lock_guard lock(mutex_);
  return messages_;
}

std::vector<RecordedMessage> TestWindow::Messages(UINT message) const {
  std::vector<RecordedMessage> found;
  std::lock_guard lock(mutex_);
  for (const auto& recorded : messages_)
    if (recorded.message == message) found.push_back(recorded);
  return found;
}

size_t TestWindow::Count(UINT message) const {
  std::lock_guard lock(mutex_);
  size_t count = 0;
  for (const auto& recorded : messages_) count += recorded.message == message;
  return count;
}

bool TestWindow::WaitForCount(UINT message, size_t count, milliseconds timeout) const {
  return WaitUntil([&] { return Count(message) >= count; }, timeout, 2ms);
}

void TestWindow::Clear() {
  std::lock_guard lock(mutex_);
  messages_.clear();
}

}  // namespace probe
