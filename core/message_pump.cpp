#include "core/message_pump.h"

#include <algorithm>
#include <chrono>

#include "ui/handles.h"

namespace snibbet {
namespace {

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

// A message wait wakes a few tenths of a millisecond after its timer rang,
// and a look at the queue costs about as much again; a plain sleep ends on
// time. So a pump sleeps its last stretch, leaving the messages that come
// then to whatever answers messages next.
constexpr auto kSleptEnd = std::chrono::milliseconds(1);
// A sleeping thread wakes about a tenth of a millisecond after its timer;
// the last moment of a sleep is spent yielding instead.
constexpr auto kSpunEnd = std::chrono::microseconds(200);

// One waitable timer per thread, set for each wait. A wait's own time-out
// counts in whole milliseconds; the timer counts in tenths of microseconds.
HANDLE ThreadTimer() {
  thread_local const ui::KernelHandle timer = [] {
    HANDLE made = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS);
    if (!made) made = CreateWaitableTimerW(nullptr, TRUE, nullptr);  // before Windows 10 1803
    return ui::KernelHandle(made);
  }();
  return timer.Get();
}

// The thread's timer set to ring at `end`; null when there is none.
HANDLE TimerRingingAt(WaitClock::time_point end) {
  const HANDLE timer = ThreadTimer();
  if (!timer) return nullptr;
  const auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(end - WaitClock::now());
  LARGE_INTEGER due{};
  due.QuadPart = -std::max<LONGLONG>(1, left.count() / 100);  // negative: relative, in 100 ns
  return SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE) ? timer : nullptr;
}

// Waits for a message, or for `end`, whichever comes first.
void WaitForMessageTill(WaitClock::time_point end, DWORD flags) {
  if (const HANDLE timer = TimerRingingAt(end)) {
    MsgWaitForMultipleObjectsEx(1, &timer, INFINITE, QS_ALLINPUT, flags);
    return;
  }
  // Rounded up, so the wait never ends early.
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - WaitClock::now());
  MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(std::max<long long>(0, left.count())), QS_ALLINPUT,
                              flags);
}

}  // namespace

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

bool PumpMessagesFor(DWORD ms) { return PumpMessagesTill(WaitClock::now() + std::chrono::milliseconds(ms)); }

bool PumpMessagesTill(WaitClock::time_point end) {
  // A wait too short to spare its last stretch answers messages throughout.
  const bool spared = end - WaitClock::now() > 2 * kSleptEnd;
  const WaitClock::time_point lastAnswer = spared ? end - kSleptEnd : end;
  while (WaitClock::now() < lastAnswer) {
    // A message ends the wait at once: a fixed sleep step would answer it
    // late and overshoot the end.
    WaitForMessageTill(lastAnswer, MWMO_ALERTABLE | MWMO_INPUTAVAILABLE);
    if (!ProcessPendingMessages()) return false;
  }
  SleepTill(end);
  return true;
}

bool PumpMessagesUntil(DWORD ms, const std::function<bool()>& done) {
  const WaitClock::time_point end = WaitClock::now() + std::chrono::milliseconds(ms);
  while (!done()) {
    if (WaitClock::now() >= end) return false;
    WaitForMessageTill(end, MWMO_INPUTAVAILABLE);
    if (!ProcessPendingMessages()) return done();
  }
  return true;
}

void SleepTill(WaitClock::time_point end) {
  const WaitClock::time_point wake = end - kSpunEnd;
  while (WaitClock::now() < wake) {
    if (const HANDLE timer = TimerRingingAt(wake)) {
      WaitForSingleObject(timer, INFINITE);
    } else {
      Sleep(static_cast<DWORD>(std::chrono::ceil<std::chrono::milliseconds>(wake - WaitClock::now()).count()));
    }
  }
  while (WaitClock::now() < end) SwitchToThread();
}

}  // namespace snibbet
