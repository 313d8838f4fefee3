#include "core/input_helper_link.h"

#include <string>

#include "core/input_helper_search.h"
#include "core/message_boxes.h"
#include "helper/helper_protocol.h"
#include "ui/application.h"
#include "ui/handles.h"

namespace snibbet {
namespace {

HWND g_helperWindow = nullptr;

HWND FindInputHelperWindow() { return FindWindowW(kHelperWindowClass, kHelperWindowTitle); }

// The bare name: the system's search starts with the program's own folder.
void LaunchInputHelper() {
  std::wstring commandLine = kHelperFileName;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION process{};
  if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                     &process)) {
    // Nothing waits for the helper: its handles go at once.
    const ui::KernelHandle thread(process.hThread), helper(process.hProcess);
  }
}

BOOL CALLBACK BroadcastResetProc(HWND window, LPARAM) {
  if (IsWindowVisible(window)) PostMessageW(window, WM_HELPER_RESET_MAIN_WINDOW, 0, 0);
  return TRUE;
}

// The helper forgets a main window it may remember from an earlier run.
void BroadcastReset(HWND helper) {
  PostMessageW(helper, WM_HELPER_RESET_MAIN_WINDOW, 0, 0);
  EnumWindows(BroadcastResetProc, 0);
}

// Other programs' sent messages are answered meanwhile (a broadcast must not
// wait for us); posted ones, a close or a second start among them, stay queued
// for the message loop, which runs once start-up has finished.
bool WaitAnsweringSentMessages(unsigned ms) {
  const DWORD start = GetTickCount();
  for (DWORD passed = 0; passed < ms; passed = GetTickCount() - start) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - passed, QS_SENDMESSAGE);
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  return !ui::Terminated();
}

// The caption as stored: GetWindowText would send WM_GETTEXT, which a hung
// window of our own process never answers.
bool WindowTextIs(HWND window, const wchar_t* expected, bool className) {
  wchar_t text[64] = {};
  const int length = className ? GetClassNameW(window, text, 64) : InternalGetWindowText(window, text, 64);
  return length > 0 && std::wstring(text, static_cast<size_t>(length)) == expected;
}

}  // namespace

bool StartInputHelper() {
  if (ui::Terminated()) return false;
  const InputHelperSearchResult result = SearchInputHelper({
      .look = [] { return (g_helperWindow = FindInputHelperWindow()) != nullptr; },
      .launch = LaunchInputHelper,
      .wait = WaitAnsweringSentMessages,
  });
  if (result == InputHelperSearchResult::Abandoned) return false;
  if (result == InputHelperSearchResult::NotFound) {
    ShowErrorMessage(std::wstring(L"File ") + kHelperFileName + L" is not found!");
    ui::Terminate();
    return false;
  }
  BroadcastReset(g_helperWindow);
  return true;
}

HWND InputHelperWindow() { return g_helperWindow; }

bool IsInputHelperWindow(HWND window) {
  return window != nullptr && IsWindow(window) && WindowTextIs(window, kHelperWindowClass, true) &&
         WindowTextIs(window, kHelperWindowTitle, false);
}

std::optional<LRESULT> SendToInputHelper(UINT message) {
  if (!IsInputHelperWindow(g_helperWindow)) return std::nullopt;
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(g_helperWindow, message, 0, 0, SMTO_ABORTIFHUNG, kInputHelperSendTimeoutMs, &result))
    return std::nullopt;
  return static_cast<LRESULT>(result);
}

bool NotifyInputHelper(UINT message) {
  if (!IsInputHelperWindow(g_helperWindow)) return false;
  // Queued with the sent messages, which the helper answers in order.
  return SendNotifyMessageW(g_helperWindow, message, 0, 0) != FALSE;
}

void EndInputHelper() {
  SendToInputHelper(WM_DESTROY);
  g_helperWindow = nullptr;
}

void ForgetInputHelper() { g_helperWindow = nullptr; }

}  // namespace snibbet
