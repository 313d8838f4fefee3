#include "ui/exceptions.h"

#include <vector>

#include "ui/application.h"
#include "ui/message_box.h"

namespace ui {
namespace {

thread_local int t_hookDepth = 0;
std::vector<std::exception_ptr> g_queued;  // reported from the loop

std::wstring Widen(const char* text) {
  // Our own texts are UTF-8; system error texts may come in the ANSI code page.
  UINT codePage = CP_UTF8;
  int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, nullptr, 0);
  if (n == 0) {
    codePage = CP_ACP;
    n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  }
  if (n <= 1) return {};
  std::wstring wide(static_cast<size_t>(n - 1), L'\0');
  MultiByteToWideChar(codePage, 0, text, -1, wide.data(), n);
  return wide;
}

void ShowPlainErrorBox(const std::exception_ptr& error) noexcept {
  try {
    ShowMessageBox(ExceptionMessage(error), L"Error", MB_OK | MB_ICONERROR);
  } catch (...) {
  }
}

}  // namespace

std::wstring ExceptionMessage(const std::exception_ptr& error) {
  try {
    if (error) std::rethrow_exception(error);
  } catch (const std::exception& e) {
    return Widen(e.what());
  } catch (...) {
  }
  return L"Unknown error";
}

HookScope::HookScope() noexcept { ++t_hookDepth; }
HookScope::~HookScope() { --t_hookDepth; }
bool HookScope::Inside() noexcept { return t_hookDepth > 0; }

void HandleException(const std::exception_ptr& error) noexcept {
  if (HookScope::Inside()) {
    ReportLater(error);
    return;
  }
  static thread_local bool t_handling = false;
  Application* app = Application::Existing();
  if (!app || !app->HasExceptionHandler() || t_handling) {
    // No handler, or the handler itself failed: the plain box never fails.
    ShowPlainErrorBox(error);
    return;
  }
  t_handling = true;
  try {
    app->CallExceptionHandler(error);
  } catch (...) {
    ShowPlainErrorBox(std::current_exception());
  }
  t_handling = false;
}

void ReportLater(const std::exception_ptr& error) noexcept {
  try {
    g_queued.push_back(error);
  } catch (...) {
    return;  // out of memory: nothing sensible is left to do
  }
  if (HWND window = ApplicationWindow()) PostMessageW(window, kReportLaterMessage, 0, 0);
}

int ReportQueuedExceptions() noexcept {
  if (HookScope::Inside()) {
    // A hook that pumps messages: try again once it has returned.
    if (HWND window = ApplicationWindow(); window && !g_queued.empty()) {
      PostMessageW(window, kReportLaterMessage, 0, 0);
    }
    return 0;
  }
  int reported = 0;
  while (!g_queued.empty()) {
    std::exception_ptr error = g_queued.front();
    g_queued.erase(g_queued.begin());
    HandleException(error);
    ++reported;
  }
  return reported;
}

}  // namespace ui
