#pragma once
// The base of every end-to-end test: starts the real programs as separate
// processes, answers any message box they show so that no box can hang a run
// (recording what it said), and cleans up every process left at the end.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "testing/probe/message_box.h"
#include "testing/probe/process.h"

namespace probe {

struct SeenMessageBox {
  MessageBoxInfo box;
  int answer = 0;   // the button id pressed, IDCANCEL when closed, 0 when left open
};

// Polls every 50 ms for visible message boxes of the watched processes and of
// every process they start, records each box and answers it by its policy.
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
  // The watched processes and the processes they started (seen so far).
  std::set<DWORD> Family() const;
  // Kills every process of the family except `spared`; the pids killed.
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
  void AdoptChildren();

  mutable std::mutex mutex_;
  std::map<DWORD, HANDLE> family_;   // a handle keeps the pid from being reused
  std::set<HWND> handled_;
  std::vector<SeenMessageBox> seen_;
  Policy policy_;
  HANDLE stop_ = nullptr;
  std::thread thread_;
};

// What a process still running at the end of the test means.
enum class AtEnd {
  MustHaveEnded,   // a failure (it is killed)
  MayRun,          // killed quietly
  MustRun,         // expected alive (a crash is a failure); killed afterwards
};

class EndToEndTest : public ::testing::Test {
 protected:
  EndToEndTest() = default;
  ~EndToEndTest() override;
  void TearDown() override;

  // The program folder (Windows path, ending in "\"): env SNIBBET_PROGRAM_DIR
  // (a Unix path under Wine), else ..\bin beside the test's own folder.
  static std::wstring ProgramDir();
  static std::wstring ProgramPath(const std::wstring& fileName);
  // The folder of the test executable (test-only programs such as ProbeTarget.exe).
  static std::wstring TestDir();

  Process& Start(const std::wstring& path, const LaunchOptions& options, AtEnd atEnd = AtEnd::MustHaveEnded);
  Process& Start(const std::wstring& path, const std::vector<std::wstring>& arguments = {},
                 AtEnd atEnd = AtEnd::MustHaveEnded);
  // A program of the program folder, started in the program folder.
  Process& StartProgram(const std::wstring& fileName, const std::vector<std::wstring>& arguments = {},
                        AtEnd atEnd = AtEnd::MustHaveEnded);
  // A process started by someone else (its boxes are watched and it is cleaned up too).
  Process& Adopt(DWORD pid, AtEnd atEnd = AtEnd::MayRun);
  void SetAtEnd(const Process& process, AtEnd atEnd);

  MessageBoxWatcher& Boxes() { return watcher_; }

 private:
  struct Tracked {
    std::unique_ptr<Process> process;
    AtEnd atEnd;
  };
  Process& Track(Process process, AtEnd atEnd);
  void CheckAndKill(Tracked& tracked);

  MessageBoxWatcher watcher_;
  std::vector<Tracked> tracked_;
};

}  // namespace probe
