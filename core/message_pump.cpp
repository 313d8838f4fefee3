#include "core/message_pump.h"

#include <chrono>

namespace snibbet {

bool ProcessPendingMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}

bool PumpMessagesFor(DWORD ms) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point end = Clock::now() + std::chrono::milliseconds(ms);
  for (Clock::time_point now = Clock::now(); now < end; now = Clock::now()) {
    // Rounded up, so the wait never ends early. A message ends the wait at
    // once: a fixed sleep step would answer it late and overshoot the end.
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - now);
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(left.count()), QS_ALLINPUT,
                                MWMO_ALERTABLE | MWMO_INPUTAVAILABLE);
    if (!ProcessPendingMessages()) return false;
  }
  return true;
}

bool PumpMessagesUntil(DWORD ms, const std::function<bool()>& done) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point end = Clock::now() + std::chrono::milliseconds(ms);
  for (Clock::time_point now = Clock::now(); !done(); now = Clock::now()) {
    if (now >= end) return false;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - now);
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(left.count()), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (!ProcessPendingMessages()) return done();
  }
  return true;
}

}  // namespace snibbet
