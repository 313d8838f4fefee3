#include "testing/probe/wait.h"

#include <windows.h>

#include <thread>

namespace probe {
namespace {

using Clock = std::chrono::steady_clock;

void DispatchPending() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// Sleeps up to `duration` but wakes at once when a message arrives.
void WaitForMessages(milliseconds duration) {
  auto ms = static_cast<DWORD>(duration.count());
  MsgWaitForMultipleObjectsEx(0, nullptr, ms, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

}  // namespace

bool WaitUntil(const std::function<bool()>& done, milliseconds timeout, milliseconds step) {
  const auto deadline = Clock::now() + timeout;
  for (;;) {
    if (done()) return true;
    const auto now = Clock::now();
    if (now >= deadline) return false;
    const auto left = std::chrono::duration_cast<milliseconds>(deadline - now);
    std::this_thread::sleep_for(left < step ? left : step);
  }
}

void PumpMessages(milliseconds duration) {
  const auto deadline = Clock::now() + duration;
  for (;;) {
    DispatchPending();
    const auto now = Clock::now();
    if (now >= deadline) return;
    WaitForMessages(std::chrono::duration_cast<milliseconds>(deadline - now));
  }
}

bool PumpUntil(const std::function<bool()>& done, milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  for (;;) {
    DispatchPending();
    if (done()) return true;
    const auto now = Clock::now();
    if (now >= deadline) return false;
    const auto left = std::chrono::duration_cast<milliseconds>(deadline - now);
    WaitForMessages(left < 10ms ? left : 10ms);
  }
}

}  // namespace probe
