#pragma once
// Watches the processes under test (and every process they start) for message
// boxes, records what each box said and answers it, so that no box can hang a run.
#include <windows.h>

#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "testing/probe/message_box.h"
#include "testing/probe/wait.h"

namespace probe {

struct SeenMessageBox {
  MessageBoxInfo box;
  int answer = 0;   // the button id pressed, IDCANCEL when closed, 0 when left open
};

// Polls every 50 ms for visible message boxes of the watched processes and of
// every process they start (their "family"), records each box and answers it by its policy.
class MessageBoxWatcher {
 public:
  static constexpr int kLeaveOpen = 0;
  static constexpr int kClose = -1;
  // Returns the id of the button to press, kClose or kLeaveOpen.
  using Policy = std::function<int(const MessageBoxInfo&)>;

  MessageBoxWatcher();
  ~MessageBoxWatcher();
  MessageBoxWatcher(const MessageBoxWatcher&) = delete;
  MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

  void Watch(DWORD pid);
  // Windows of this class count as message boxes too (besides "#32770").
  void WatchClass(const std::wstring& className);
  // The watched processes and the processes they started (seen so far).
  std::set<DWORD> Family() const;
  // Kills every process of the family except `spared` and this one; the pids killed.
  std::vector<DWORD> KillFamily(const std::set<DWORD>& spared);

  void SetPolicy(Policy policy);   // default: the default button (Enter), else close
  void AnswerWith(int buttonId);   // falls back to closing when the box lacks it
  void AnswerWith(const std::wstring& buttonText);
  void LeaveOpen();

  std::vector<SeenMessageBox> Seen() const;
  // Waits until more than `index` boxes have been seen; the box number `index`.
  std::optional<SeenMessageBox> WaitForBox(milliseconds timeout, size_t index = 0) const;
  void Clear();

 private:
  void Run();
  void Poll();
  std::vector<HWND> VisibleBoxes() const;
  void AdoptChildren();
  void Add(DWORD pid, HANDLE handle);   // takes the handle; mutex_ held

  mutable std::mutex mutex_;
  std::map<DWORD, HANDLE> family_;
  std::set<std::wstring> classes_{kDialogClass};   // a handle keeps the pid from being reused
  std::set<HWND> handled_;
  std::vector<SeenMessageBox> seen_;
  Policy policy_;
  HANDLE stop_ = nullptr;
  std::thread thread_;
};

}  // namespace probe
