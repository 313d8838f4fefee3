#include "app/single_instance.h"

#include "app/app_messages.h"
#include "helper/helper_protocol.h"

namespace snibbet {
namespace {

constexpr DWORD kHandOverWaitMs = 5000;  // how long a racing second start waits
constexpr DWORD kPollMs = 50;

void HandOver(HWND running) { PostMessageW(running, WM_SECOND_INSTANCE, 0, 0); }

// Waits for the running copy's main window and hands over to it. A copy that
// is stuck starting keeps the start: this one ends without a word.
bool HandedOverWithin(DWORD ms) {
  for (DWORD waited = 0; waited < ms; waited += kPollMs) {
    if (HWND running = FindRunningMainWindow()) {
      HandOver(running);
      return true;
    }
    Sleep(kPollMs);
  }
  return false;
}

}  // namespace

HWND FindRunningMainWindow() { return FindWindowW(kMainWindowClass, kMainWindowTitle); }

SingleInstance::~SingleInstance() {
  if (owned_) ReleaseMutex(mutex_.Get());
}

bool SingleInstance::Claim() {
  // The window test comes first: a running copy is found by its main window.
  if (HWND running = FindRunningMainWindow()) {
    HandOver(running);
    return false;
  }
  // Two starts in the same instant both pass the window test, since the main
  // window exists only later in start-up; the mutex lets just one go on.
  HANDLE mutex = CreateMutexW(nullptr, FALSE, kInstanceMutexName);
  const DWORD createError = GetLastError();
  mutex_.Reset(mutex);
  if (!mutex_) {
    // A copy started with other rights (elevated, say) holds a mutex we may
    // not open: it is running or starting all the same.
    if (createError == ERROR_ACCESS_DENIED) {
      HandedOverWithin(kHandOverWaitMs);
      return false;
    }
    return true;  // cannot tell: better two copies than none
  }
  for (DWORD waited = 0;; waited += kPollMs) {
    DWORD result = WaitForSingleObject(mutex_.Get(), kPollMs);
    if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED) {
      owned_ = true;
      // The copy that held it may have finished start-up meanwhile.
      if (HWND running = FindRunningMainWindow()) {
        HandOver(running);
        return false;
      }
      return true;
    }
    if (HWND running = FindRunningMainWindow()) {
      HandOver(running);
      return false;
    }
    if (waited >= kHandOverWaitMs) return false;  // the other copy is stuck starting
  }
}

}  // namespace snibbet
