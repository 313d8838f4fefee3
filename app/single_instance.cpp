#include "app/single_instance.h"

#include "app/app_messages.h"
#include "helper/helper_protocol.h"

namespace snibbet {
namespace {

// Per session ("Local\"): another user's copy is no concern of ours.
constexpr wchar_t kInstanceMutexName[] = L"Local\\OrvaneSoftware.Snibbet.Instance";
constexpr DWORD kHandOverWaitMs = 5000;  // how long a racing second start waits
constexpr DWORD kPollMs = 50;

void HandOver(HWND running) { PostMessageW(running, WM_SECOND_INSTANCE, 0, 0); }

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
  mutex_.Reset(CreateMutexW(nullptr, FALSE, kInstanceMutexName));
  if (!mutex_) return true;  // cannot tell: better two copies than none
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
