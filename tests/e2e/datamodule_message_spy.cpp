// A WH_GETMESSAGE hook the test puts on Snibbet's GUI thread: it reports every
// activation message the hook library posted there, and to which window.
#include <windows.h>

#include "core/hook_messages.h"
#include "tests/e2e/datamodule_spy_protocol.h"

extern "C" __declspec(dllexport) LRESULT CALLBACK SpyGetMessage(int code, WPARAM removal, LPARAM lParam) {
  const auto* msg = reinterpret_cast<const MSG*>(lParam);
  if (code == HC_ACTION && removal == PM_REMOVE && msg->message == snibbet::WM_HOOK_WINDOW_ACTIVATED)
    snibbet_e2e::ReportToSpy(snibbet_e2e::kSpyActivationSeen, reinterpret_cast<WPARAM>(msg->hwnd),
                             static_cast<LPARAM>(msg->wParam));
  return CallNextHookEx(nullptr, code, removal, lParam);
}
