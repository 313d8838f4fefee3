#pragma once
// No C++ exception may unwind through user32: every window procedure, timer
// callback and hook callback of ours catches at the boundary and hands the
// exception to the application's exception handler.
#include <windows.h>

#include <exception>
#include <string>

namespace ui {

// Reports the exception now through the application's handler (default: a
// plain error box). Inside a hook callback (see HookScope) it is reported
// later instead, from the message loop. Never throws.
void HandleException(const std::exception_ptr& error) noexcept;

// Queues the exception and posts a note to the application window; the loop
// reports it when it next runs. Safe from low-level hooks, where a modal box
// would stall the whole desktop's input.
void ReportLater(const std::exception_ptr& error) noexcept;

// Reports every exception queued by ReportLater (the application window does
// this when the note arrives). Returns how many were reported.
int ReportQueuedExceptions() noexcept;

// The text of an exception for a plain message ("Unknown error" for one that
// is not a std::exception).
std::wstring ExceptionMessage(const std::exception_ptr& error);

// Marks the code below it as running inside a hook callback.
class HookScope {
 public:
  HookScope() noexcept;
  ~HookScope();
  HookScope(const HookScope&) = delete;
  HookScope& operator=(const HookScope&) = delete;
  static bool Inside() noexcept;
};

// Runs body(); on an exception reports it and returns fallback.
template <class R, class Body>
R Guarded(R fallback, Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    HandleException(std::current_exception());
    return fallback;
  }
}

template <class Body>
void Guarded(Body&& body) noexcept {
  try {
    body();
  } catch (...) {
    HandleException(std::current_exception());
  }
}

// For hook procedures: like Guarded, and any exception met meanwhile (also in
// a window procedure the hook reaches by SendMessage) is reported later.
template <class R, class Body>
R GuardedHook(R fallback, Body&& body) noexcept {
  HookScope scope;
  return Guarded(fallback, static_cast<Body&&>(body));
}

}  // namespace ui
