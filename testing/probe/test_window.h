#pragma once
// A top-level window of a chosen class and title that records every message it
// receives. It lives on a thread of its own with its own message loop, so the test
// thread may block or sleep while other processes send or post to it.
#include <windows.h>

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "testing/probe/wait.h"

namespace probe {

struct RecordedMessage {
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  DWORD time = 0;   // GetTickCount() on arrival
};

class TestWindow {
 public:
  // Throws std::runtime_error when the window cannot be created.
  TestWindow(const std::wstring& className, const std::wstring& title, HWND owner = nullptr,
             bool visible = false);
  ~TestWindow();
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;

  HWND Handle() const { return hwnd_; }
  std::vector<RecordedMessage> Messages() const;
  std::vector<RecordedMessage> Messages(UINT message) const;
  size_t Count(UINT message) const;
  // True once `message` has arrived at least `count` times.
  bool WaitForCount(UINT message, size_t count, milliseconds timeout) const;
  void Clear();

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void Run(std::wstring className, std::wstring title, HWND owner, bool visible);
  void Record(UINT message, WPARAM wParam, LPARAM lParam);

  mutable std::mutex mutex_;
  std::vector<RecordedMessage> messages_;
  HWND hwnd_ = nullptr;
  DWORD threadId_ = 0;
  std::string error_;
  std::thread thread_;
};

}  // namespace probe
