#pragma once
// Polling with short steps and a time-out, optionally pumping the calling
// thread's messages, so tests never sleep for a fixed long time.
#include <chrono>
#include <functional>

namespace probe {

using std::chrono::milliseconds;
using namespace std::chrono_literals;

// Calls `done` every `step` until it returns true (true) or `timeout` passes (false).
// `done` is always called at least once, and once more at the deadline.
bool WaitUntil(const std::function<bool()>& done, milliseconds timeout, milliseconds step = 10ms);

// Dispatches the calling thread's messages for `duration`.
void PumpMessages(milliseconds duration);

// Like WaitUntil, but dispatches the calling thread's messages while waiting
// (needed when this thread owns windows or hooks that must keep answering).
bool PumpUntil(const std::function<bool()>& done, milliseconds timeout);

}  // namespace probe
