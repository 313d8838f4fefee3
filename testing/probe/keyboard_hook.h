#pragma once
// A low-level keyboard hook that records every key event it sees, on a thread of
// its own (a low-level hook is called through its thread's message loop).
// One recorder per process at a time.
#include <windows.h>

#include <mutex>
#include <thread>
#include <vector>

#include "testing/probe/wait.h"

namespace probe {

struct HookedKey {
  WPARAM message = 0;   // WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP
  DWORD vk = 0;
  DWORD scanCode = 0;
  DWORD flags = 0;      // LLKHF_*
  DWORD time = 0;
  ULONG_PTR extraInfo = 0;

  bool Injected() const { return (flags & LLKHF_INJECTED) != 0; }
  bool Up() const {
    return (flags & LLKHF_UP) != 0 || message == WM_KEYUP || message == WM_SYSKEYUP;
  }
};

class KeyboardHookRecorder {
 public:
  // Throws std::runtime_error when the hook cannot be installed.
  KeyboardHookRecorder();
  ~KeyboardHookRecorder();
  KeyboardHookRecorder(const KeyboardHookRecorder&) = delete;
  KeyboardHookRecorder& operator=(const KeyboardHookRecorder&) = delete;

  std::vector<HookedKey> Keys() const;
  // Key-downs of `vk` seen so far.
  size_t DownCount(DWORD vk) const;
  bool WaitForDowns(DWORD vk, size_t count, milliseconds timeout) const;
  void Clear();

 private:
  static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);

  mutable std::mutex mutex_;
  std::vector<HookedKey> keys_;
  DWORD threadId_ = 0;
  std::thread thread_;
};

}  // namespace probe
