#include "helper/helper_window.h"

#include <string>

#include "helper/helper_protocol.h"
#include "helper/input_helper.h"
#include "helper/win_ports.h"

namespace snibbet::helper {
namespace {

void ShowHookFailure(WPARAM failure) {
  if (failure > static_cast<WPARAM>(HookFailure::MouseRemove)) return;  // anyone may post to us
  const std::wstring text(HookFailureText(static_cast<HookFailure>(failure)));
  MessageBoxW(nullptr, text.c_str(), kHookFailureCaption, MB_OK | MB_ICONERROR);
}

LRESULT CALLBACK HelperWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  InputHelper* helper = ActiveHelper();
  if (message == WM_DESTROY) {
    if (helper != nullptr) helper->RemoveHooks();
    PostQuitMessage(0);
    return 0;
  }
  if (message == WM_TIMER && wParam == kHelperTimerId) {
    if (helper != nullptr) helper->OnTimer();
    return 0;
  }
  // The box is shown here, after the sent command that failed has returned:
  // inside it the main program would wait on a modal box.
  if (message == kShowHookFailureMessage) ShowHookFailure(wParam);
  else if (helper != nullptr) helper->OnCommand(message);
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

bool RegisterHelperWindowClass(HINSTANCE instance) {
  WNDCLASSW windowClass{};
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = HelperWndProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kHelperWindowClass;
  return RegisterClassW(&windowClass) != 0;
}

HWND CreateHelperWindow(HINSTANCE instance) {
  return CreateWindowExW(0, kHelperWindowClass, kHelperWindowTitle, WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                         nullptr, instance, nullptr);
}

void ShowPendingHookFailures(HWND window) {
  MSG message{};
  while (PeekMessageW(&message, window, kShowHookFailureMessage, kShowHookFailureMessage, PM_REMOVE)) {
    ShowHookFailure(message.wParam);
  }
}

}  // namespace snibbet::helper
