#pragma once
// Shared by the data module's unit tests: the stand-in hook library and its
// test builds, windows on the test's own thread, and a message pump that
// notes what the hook library reported.
#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

#include "core/hook_messages.h"
#include "tests/unit/qvlib_test_support.h"

namespace snibbet::test {

inline std::wstring TestFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

// Full paths: a bare "SnibbetH.dll" would find whichever copy is loaded already.
inline std::wstring StandInLibrary() { return ProgramDirFromEnvironment() + L"SnibbetH.dll"; }
inline std::wstring LibraryWithoutHook() { return TestFolder() + L"snibbeth_without_hook\\SnibbetH.dll"; }
inline std::wstring LibraryWithoutUnHook() { return TestFolder() + L"snibbeth_without_unhook\\SnibbetH.dll"; }
inline std::wstring MissingLibrary() { return TestFolder() + L"no_such_folder\\SnibbetH.dll"; }

// A plain top-level window of this thread, shown or hidden.
class ThreadWindow {
 public:
  explicit ThreadWindow(bool visible, const wchar_t* title = L"datamodule test") {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SnibbetDataModuleTestWindow";
    RegisterClassW(&wc);
    window_ = CreateWindowExW(0, wc.lpszClassName, title, WS_POPUP | (visible ? WS_VISIBLE : 0), 100, 100, 80,
                              60, nullptr, nullptr, wc.hInstance, nullptr);
  }
  ~ThreadWindow() { DestroyWindow(window_); }
  ThreadWindow(const ThreadWindow&) = delete;
  ThreadWindow& operator=(const ThreadWindow&) = delete;
  HWND Handle() const { return window_; }

 private:
  HWND window_ = nullptr;
};

// Pumps this thread's messages for `ms` (out-of-context WinEvent callbacks run
// here) and answers the windows reported to `target` with WM_HOOK_WINDOW_ACTIVATED.
inline std::vector<HWND> PumpNotingActivations(HWND target, DWORD ms) {
  std::vector<HWND> reported;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < deadline) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.hwnd == target && msg.message == WM_HOOK_WINDOW_ACTIVATED) {
        reported.push_back(reinterpret_cast<HWND>(msg.wParam));
        continue;
      }
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return reported;
}

// Brings `window` to the front and answers what `target` was told meanwhile.
inline std::vector<HWND> ActivateNotingReports(HWND window, HWND target) {
  SetForegroundWindow(window);
  return PumpNotingActivations(target, 500);
}

}  // namespace snibbet::test
