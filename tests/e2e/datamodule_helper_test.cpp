// Snibbet and its input helper as separate processes: the helper is started
// hidden and found, one left running is reused, the program's end ends it, and
// without SnibbetCm.exe the program names the file and ends.
#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "testing/probe/probe.h"
#include "tests/e2e/app_e2e_support.h"

namespace snibbet_e2e {
namespace {

using namespace std::chrono_literals;
constexpr UINT kResetMainWindow = 1210;

std::wstring ImagePathOf(const probe::Process& process) {
  wchar_t path[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  if (!QueryFullProcessImageNameW(process.Handle(), 0, path, &size)) return {};
  return path;
}

// The threads of a process started suspended.
bool ResumeThreadsOf(DWORD pid) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  bool resumed = false;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID != pid) continue;
    if (HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID)) {
      resumed = ResumeThread(thread) != static_cast<DWORD>(-1) || resumed;
      CloseHandle(thread);
    }
  }
  CloseHandle(snapshot);
  return resumed;
}

class DataModuleHelperTest : public SnibbetTest {
 protected:
  void SetUp() override {
    SnibbetTest::SetUp();
    // Each test decides whether a helper runs before the program starts.
    for (DWORD pid : probe::ProcessesNamed(L"SnibbetCm.exe")) probe::Process::Attach(pid).Kill();
  }

  HWND WaitForHelperWindow(probe::milliseconds timeout = 10s) {
    return probe::WaitForWindow({.className = L"SnibbetCm", .title = L"SnibbetCm"}, timeout);
  }

  std::vector<std::string> LoggedEvents() {
    std::ifstream log(std::filesystem::path(folder_.File(L"Log.txt")), std::ios::binary);
    std::stringstream text;
    text << log.rdbuf();
    std::vector<std::string> events;
    std::string line;
    while (std::getline(text, line)) {
      if (line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
      events.push_back(line.substr(0, line.find(" : ")));
    }
    return events;
  }
};

TEST_F(DataModuleHelperTest, StartsTheHelperHiddenFromItsOwnFolderAndEndsItWithTheProgram) {
  probe::Process& snibbet = StartSnibbet();
  HWND main = WaitForMainWindow(snibbet.Pid());
  ASSERT_NE(main, nullptr);
  HWND helper = WaitForHelperWindow();
  ASSERT_NE(helper, nullptr) << "SnibbetCm was not started";
  EXPECT_FALSE(IsWindowVisible(helper));

  const DWORD helperPid = probe::ProcessOf(helper);
  const std::vector<DWORD> helpers = probe::ProcessesNamed(L"SnibbetCm.exe");
  EXPECT_EQ(helpers, std::vector<DWORD>{helperPid}) << "exactly one helper";
  for (const auto& entry : probe::ListProcesses()) {
    if (entry.pid == helperPid) {
      EXPECT_EQ(entry.parent, snibbet.Pid()) << "started by the program";
    }
  }
  probe::Process helperProcess = probe::Process::Attach(helperPid);
  EXPECT_EQ(ImagePathOf(helperProcess), folder_.File(L"SnibbetCm.exe")) << "the program folder comes first";

  ASSERT_TRUE(snibbet.WaitIdle(5s));
  CloseNormally(snibbet, main);
  auto code = helperProcess.WaitExit(5s);
  ASSERT_TRUE(code.has_value()) << "the helper outlived the program";
  EXPECT_EQ(*code, 0u) << "ended by WM_DESTROY, not killed";
  EXPECT_TRUE(probe::ProcessesNamed(L"SnibbetCm.exe").empty());
}

TEST_F(DataModuleHelperTest, TheHelperEndsWithAProgramThatWasKilled) {
  probe::Process& snibbet = StartSnibbet({}, probe::AtEnd::MayRun);
  ASSERT_NE(WaitForMainWindow(snibbet.Pid()), nullptr);
  const HWND helper = WaitForHelperWindow();
  ASSERT_NE(helper, nullptr);
  probe::Process helperProcess = probe::Process::Attach(probe::ProcessOf(helper));
  ASSERT_TRUE(snibbet.WaitIdle(5s));

  // No WM_DESTROY comes from a program that is killed.
  ASSERT_TRUE(snibbet.Kill());
  ASSERT_TRUE(snibbet.WaitExit(10s).has_value());
  auto code = helperProcess.WaitExit(10s);
  ASSERT_TRUE(code.has_value()) << "the helper outlived the program, holding its hooks";
  EXPECT_EQ(*code, 0u) << "it ended itself, its hooks removed";
}

// The main program may end before the helper it started runs far enough to
// look for its window: the helper watches the process that started it from its
// first moment. The stand-in here, named as the main program, has no main
// window at all.
TEST_F(DataModuleHelperTest, TheHelperEndsWithTheProcessThatStartedItEvenWhenItsWindowWasNeverFound) {
  const std::wstring standInFile = TestDir() + L"main_program_standin.exe";
  ASSERT_TRUE(CopyFileW(standInFile.c_str(), folder_.File(L"Snibbet.exe").c_str(), FALSE));
  probe::Process& standIn = Start(folder_.File(L"Snibbet.exe"), {L"wait"}, probe::AtEnd::MayRun);
  const HWND helperWindow = WaitForHelperWindow();
  ASSERT_NE(helperWindow, nullptr);
  probe::ProcessGuard helper(probe::Process::Attach(probe::ProcessOf(helperWindow)));
  probe::PumpMessages(300ms);
  EXPECT_TRUE(helper->Running()) << "it watches a program that runs";

  ASSERT_TRUE(standIn.Kill());
  auto code = helper->WaitExit(10s);
  ASSERT_TRUE(code.has_value()) << "the helper outlived the program that started it";
  EXPECT_EQ(*code, 0u);

  // Its starter ended before the helper ran at all.
  probe::Process& leaver = Start(folder_.File(L"Snibbet.exe"), {L"leave"}, probe::AtEnd::MayRun);
  const auto latePid = leaver.WaitExit(10s);
  ASSERT_TRUE(latePid.has_value());
  ASSERT_NE(*latePid, 0u) << "the stand-in did not start the helper";
  probe::ProcessGuard late(probe::Process::Attach(*latePid));
  ASSERT_TRUE(ResumeThreadsOf(*latePid));
  code = late->WaitExit(10s);
  ASSERT_TRUE(code.has_value()) << "the helper outlived a program that had ended already";
  EXPECT_EQ(*code, 0u);
}

TEST_F(DataModuleHelperTest, AHelperLeftRunningIsReusedNotStartedTwice) {
  probe::LaunchOptions options;
  options.workDir = folder_.Path();
  probe::Process& helperProcess = Start(folder_.File(L"SnibbetCm.exe"), options, probe::AtEnd::MustHaveEnded);
  HWND helper = WaitForHelperWindow();
  ASSERT_NE(helper, nullptr);

  probe::Process& snibbet = StartSnibbet();
  HWND main = WaitForMainWindow(snibbet.Pid());
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(snibbet.WaitIdle(5s));
  probe::PumpMessages(500ms);
  EXPECT_EQ(probe::ProcessesNamed(L"SnibbetCm.exe"), std::vector<DWORD>{helperProcess.Pid()});

  CloseNormally(snibbet, main);
  auto code = helperProcess.WaitExit(5s);
  ASSERT_TRUE(code.has_value()) << "the reused helper was not ended";
  EXPECT_EQ(*code, 0u);
}

TEST_F(DataModuleHelperTest, TheHelperAndEveryVisibleWindowAreToldToLookAgainAndOnlyTheHelperIsDestroyed) {
  probe::TestWindow helper(L"SnibbetCm", L"SnibbetCm");
  probe::TestWindow visible(L"SnibbetDataModuleVisible", L"visible", nullptr, true);
  probe::TestWindow hidden(L"SnibbetDataModuleHidden", L"hidden");
  probe::TestWindow lookalike(L"SnibbetCm", L"Not the helper", nullptr, true);

  probe::Process& snibbet = StartSnibbet();
  HWND main = WaitForMainWindow(snibbet.Pid());
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(helper.WaitForCount(kResetMainWindow, 1, 5s));
  ASSERT_TRUE(visible.WaitForCount(kResetMainWindow, 1, 5s));
  ASSERT_TRUE(snibbet.WaitIdle(5s));
  probe::PumpMessages(300ms);
  EXPECT_EQ(helper.Count(kResetMainWindow), 1u);
  EXPECT_EQ(hidden.Count(kResetMainWindow), 0u);
  EXPECT_TRUE(probe::ProcessesNamed(L"SnibbetCm.exe").empty()) << "a running helper is used as it is";

  CloseNormally(snibbet, main);
  EXPECT_EQ(helper.Count(WM_DESTROY), 1u);
  EXPECT_EQ(lookalike.Count(WM_DESTROY), 0u);
  EXPECT_EQ(visible.Count(WM_DESTROY), 0u);
}

TEST_F(DataModuleHelperTest, WithoutTheHelperFileTheBoxNamesItAndNothingStarts) {
  firstStart_ = true;  // the key stays empty
  folder_.Remove(L"SnibbetCm.exe");
  const DWORD before = GetTickCount();
  probe::Process& snibbet = StartSnibbet({L"/debug"});
  auto box = Boxes().WaitForBox(15s);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->box.text, L"File SnibbetCm.exe is not found!");
  EXPECT_EQ(box->box.caption, L"Error");
  EXPECT_GE(GetTickCount() - before, 5000u) << "51 looks, 100 ms apart";
  auto code = snibbet.WaitExit(10s);
  ASSERT_TRUE(code.has_value());
  EXPECT_EQ(Boxes().Seen().size(), 1u);
  EXPECT_TRUE(probe::ListRegValues(kSettingsKey).empty()) << "no setting loaded, so none saved";
  const std::vector<std::string> events = LoggedEvents();
  EXPECT_NE(std::find(events.begin(), events.end(), "DataDM"), events.end());
  EXPECT_EQ(std::find(events.begin(), events.end(), "Start"), events.end()) << "no hook installed";
  EXPECT_EQ(std::find(events.begin(), events.end(), "Run"), events.end());
}

TEST_F(DataModuleHelperTest, TheDebugLogShowsTheModuleSwitchedOnAndOff) {
  probe::Process& snibbet = StartSnibbet({L"/debug"});
  HWND main = WaitForMainWindow(snibbet.Pid());
  ASSERT_NE(main, nullptr);
  ASSERT_NE(WaitForHelperWindow(), nullptr);
  ASSERT_TRUE(snibbet.WaitIdle(5s));
  CloseNormally(snibbet, main);
  const std::vector<std::string> expected = {"Initialize", "FirstForm", "DataDM", "Start", "Run", "Stop", "Finalize"};
  std::vector<std::string> seen;
  for (const auto& event : LoggedEvents())
    if (std::find(expected.begin(), expected.end(), event) != expected.end()) seen.push_back(event);
  EXPECT_EQ(seen, expected);
}

}  // namespace
}  // namespace snibbet_e2e
