#pragma once
// Waiting on the GUI thread without freezing it: pending messages are
// processed so timers, posted messages and the keyboard hook keep running.
// Callers must tolerate that re-entry.
#include <windows.h>

#include <chrono>
#include <functional>

namespace snibbet {

// Dispatches every message waiting in this thread's queue. A WM_QUIT met here
// is posted again for the main loop and ends the processing; false then.
bool ProcessPendingMessages();

using WaitClock = std::chrono::steady_clock;

// Until `ms` milliseconds have passed, answering each message as it comes
// (the wait is alertable) but for the last millisecond of a longer wait,
// which is slept so the wait ends on time. Ends early, with false, only when
// WM_QUIT arrives.
bool PumpMessagesFor(DWORD ms);
// The same until `end`.
bool PumpMessagesTill(WaitClock::time_point end);

// Until `end` without answering messages: the pause between two of the
// program's own keys. Like the pumps above, it ends at `end` itself, not at
// the next whole millisecond after it: its last fifth of a millisecond is
// spent yielding rather than waiting for a late wake-up.
void SleepTill(WaitClock::time_point end);

// Until `done` holds or `ms` milliseconds have passed, answering each message
// as it comes; `done` is asked again after each. Answers `done` at the end,
// also when WM_QUIT ends the wait early.
bool PumpMessagesUntil(DWORD ms, const std::function<bool()>& done);

}  // namespace snibbet
