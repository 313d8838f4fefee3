#pragma once
// The base of every end-to-end test: starts the real programs as separate
// processes, answers any message box they show so that no box can hang a run
// (recording what it said), and cleans up every process left at the end.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "testing/probe/box_watcher.h"
#include "testing/probe/process.h"

namespace probe {

// What a process still running at the end of the test means.
enum class AtEnd {
  MustHaveEnded,   // a failure (it is killed)
  MayRun,          // killed quietly
  MustRun,         // expected alive (a crash is a failure); killed afterwards
};

// A fixture that overrides TearDown must call EndToEndTest::TearDown().
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
