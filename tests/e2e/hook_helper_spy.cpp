// A WH_CALLWNDPROC hook the hotkey tests put on SnibbetCm's thread: it reports
// each command as SnibbetCm receives it.
#include <windows.h>

#include "helper/helper_protocol.h"
#include "tests/e2e/hook_helper_spy.h"

namespace {

void Report(WPARAM what) {
  if (HWND spy = FindWindowW(snibbet_e2e::kHookSpyWindowClass, nullptr))
    PostMessageW(spy, snibbet_e2e::kHookSpyCommand, what, static_cast<LPARAM>(GetTickCount()));
}

// SnibbetCm's hooks keep running: messages are pumped meanwhile.
void Hold() {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < snibbet_e2e::kHookSpyHoldMs) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  Report(snibbet_e2e::kHookSpyHoldEnded);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK SpyCallWndProc(int code, WPARAM wParam, LPARAM lParam) {
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && sent->message >= snibbet::WM_HELPER_HOOKS_ON &&
      sent->message <= snibbet::WM_HELPER_UNBLOCK_INPUT) {
    Report(sent->message);
    if (sent->message == snibbet::WM_HELPER_UNBLOCK_INPUT && FindWindowW(snibbet_e2e::kHookSpyHoldClass, nullptr))
      Hold();
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
