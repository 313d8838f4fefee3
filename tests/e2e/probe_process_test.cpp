// The probe's process, window and message-box operations against ProbeTarget.exe.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include "testing/probe/harness.h"
#include "testing/probe/probe.h"

namespace {

using namespace probe;

class ProbeProcessTest : public EndToEndTest {
 protected:
  Process& StartTarget(const std::vector<std::wstring>& arguments, AtEnd atEnd = AtEnd::MustHaveEnded) {
    return Start(TestDir() + L"ProbeTarget.exe", arguments, atEnd);
  }
  // Unique per process: tests of one Wine session run side by side.
  static std::wstring Unique(const std::wstring& name) {
    return name + L" " + std::to_wstring(GetCurrentProcessId());
  }
};

TEST_F(ProbeProcessTest, ReportsTheExitCodeOfAStartedProgram) {
  Process& target = StartTarget({L"exit", L"7"});
  EXPECT_EQ(target.WaitExit(10s), 7u);
  EXPECT_FALSE(target.Running());
}

TEST_F(ProbeProcessTest, WatcherRecordsAndAnswersAMessageBoxWithItsDefaultButton) {
  // Yes/No with No as the default: the watcher must press No, as Enter would.
  Process& target = StartTarget({L"msgbox", L"Delete \"all\" items?", L"Probe caption",
                                 std::to_wstring(MB_YESNO | MB_DEFBUTTON2)});
  EXPECT_EQ(target.WaitExit(10s), static_cast<DWORD>(IDNO));
  const auto seen = Boxes().WaitForBox(1s);
  ASSERT_TRUE(seen);
  EXPECT_EQ(seen->box.caption, L"Probe caption");
  EXPECT_EQ(seen->box.text, L"Delete \"all\" items?");
  EXPECT_EQ(seen->box.pid, target.Pid());
  ASSERT_EQ(seen->box.buttons.size(), 2u);
  EXPECT_TRUE(seen->box.Button(L"Yes"));
  EXPECT_EQ(seen->box.defaultId, IDNO);
  EXPECT_EQ(seen->answer, IDNO);
}

TEST_F(ProbeProcessTest, WatcherPressesTheButtonItIsTold) {
  Boxes().AnswerWith(L"Yes");
  Process& yes = StartTarget({L"msgbox", L"first", L"", std::to_wstring(MB_YESNO | MB_DEFBUTTON2)});
  EXPECT_EQ(yes.WaitExit(10s), static_cast<DWORD>(IDYES));
  // A box without the button asked for is closed, which a box with Cancel answers with IDCANCEL.
  Process& closed = StartTarget({L"msgbox", L"second", L"", std::to_wstring(MB_OKCANCEL)});
  EXPECT_EQ(closed.WaitExit(10s), static_cast<DWORD>(IDCANCEL));
  EXPECT_EQ(Boxes().Seen().size(), 2u);
}

// A program may show boxes of its own window class made of Static and Button controls.
TEST_F(ProbeProcessTest, WatcherAnswersBoxesOfAnotherClassToo) {
  TestWindow form(L"ProbeMessageForm", Unique(L"Own box"), nullptr, true);
  struct Control {
    HWND hwnd;
    ~Control() { DestroyWindow(hwnd); }   // before the form's thread destroys the form
  };
  const auto add = [&](const wchar_t* cls, const wchar_t* text, DWORD style, int id, int y) {
    return Control{CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, 10, y, 200, 24, form.Handle(),
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr)};
  };
  Control text = add(L"STATIC", L"Something failed", 0, 0xFFFF, 10);
  Control cancel = add(L"BUTTON", L"Cancel", BS_PUSHBUTTON, IDCANCEL, 40);
  Control ok = add(L"BUTTON", L"OK", BS_DEFPUSHBUTTON, IDOK, 70);
  Boxes().WatchClass(L"ProbeMessageForm");
  Boxes().Watch(GetCurrentProcessId());
  ASSERT_TRUE(form.WaitForCount(WM_COMMAND, 1, 2s));
  EXPECT_EQ(LOWORD(form.Messages(WM_COMMAND)[0].wParam), IDOK);
  const auto seen = Boxes().WaitForBox(1s);
  ASSERT_TRUE(seen);
  EXPECT_EQ(seen->box.text, L"Something failed");
  EXPECT_EQ(seen->box.caption, Unique(L"Own box"));
  EXPECT_EQ(seen->box.buttons.size(), 2u);
}

TEST_F(ProbeProcessTest, BoxLeftOpenCanBeReadAndAnsweredByTheTest) {
  Boxes().LeaveOpen();
  Process& target = StartTarget({L"msgbox", L"Line one\nLine two", L"Question", std::to_wstring(MB_OKCANCEL)});
  const auto box = WaitForMessageBox(target.Pid(), 10s);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, L"Line one\nLine two");
  EXPECT_EQ(box->caption, L"Question");
  EXPECT_FALSE(PressButton(*box, L"Retry"));
  EXPECT_TRUE(target.Running());
  EXPECT_TRUE(PressButton(*box, L"Cancel"));
  EXPECT_EQ(target.WaitExit(10s), static_cast<DWORD>(IDCANCEL));
}

TEST_F(ProbeProcessTest, FindsAWindowByClassTitleAndOwner) {
  const std::wstring title = Unique(L"Probe owned form");
  TestWindow owner(L"ProbeOwnerForm", Unique(L"Probe owner"));
  TestWindow owned(L"ProbeOwnedForm", title, owner.Handle());
  WindowQuery query;
  query.className = L"ProbeOwnedForm";
  query.title = title;
  EXPECT_EQ(FindTopWindow(query), owned.Handle());
  query.owner = owner.Handle();
  EXPECT_EQ(FindTopWindow(query), owned.Handle());
  EXPECT_EQ(OwnerOf(owned.Handle()), owner.Handle());
  query.owner = nullptr;   // an unowned window is asked for
  EXPECT_EQ(FindTopWindow(query), nullptr);
  query.owner.reset();
  query.title = title + L" ";   // exact match only
  EXPECT_EQ(FindTopWindow(query), nullptr);
}

TEST_F(ProbeProcessTest, TestWindowCountsMessagesPostedByAnotherProcess) {
  const std::wstring title = Unique(L"Probe fake form");
  TestWindow fake(L"ProbeFakeForm", title);
  constexpr UINT kMessage = 1187;
  Process& poster = StartTarget({L"post", L"ProbeFakeForm", title, std::to_wstring(kMessage), L"3"});
  EXPECT_EQ(poster.WaitExit(10s), 0u);
  ASSERT_TRUE(fake.WaitForCount(kMessage, 3, 5s));
  const auto messages = fake.Messages(kMessage);
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[2].wParam, 2u);
  EXPECT_EQ(messages[2].lParam, MAKELPARAM(17, 42));
  EXPECT_LE(messages[0].time, messages[2].time);
}

TEST_F(ProbeProcessTest, SeesAWindowAppearAndDisappearWithItsProcess) {
  const std::wstring title = Unique(L"Probe edit window");
  Process& target = StartTarget({L"edit", title}, AtEnd::MustRun);
  WindowQuery query;
  query.className = L"ProbeTargetWindow";
  query.title = title;
  query.pid = target.Pid();
  query.visibleOnly = true;
  HWND window = WaitForWindow(query, 10s);
  ASSERT_NE(window, nullptr);
  const auto visible = VisibleWindowsOf(target.Pid());
  ASSERT_EQ(visible.size(), 1u);
  EXPECT_EQ(visible[0].hwnd, window);
  EXPECT_EQ(visible[0].title, title);
  EXPECT_TRUE(target.Kill());
  EXPECT_TRUE(WaitForNoWindow(query, 5s));
  SetAtEnd(target, AtEnd::MayRun);
}

TEST_F(ProbeProcessTest, WatcherFollowsAndKillsProcessesStartedByTheProgram) {
  const std::wstring title = Unique(L"Probe spawned window");
  Process& spawner = StartTarget({L"spawn", title});
  EXPECT_EQ(spawner.WaitExit(10s), 0u);
  WindowQuery query;
  query.className = L"ProbeTargetWindow";
  query.title = title;
  HWND child = WaitForWindow(query, 10s);
  ASSERT_NE(child, nullptr);
  const DWORD childPid = ProcessOf(child);
  // The watcher adopts the child on its next poll.
  ASSERT_TRUE(WaitUntil([&] { return Boxes().Family().count(childPid) > 0; }, 2s));
  EXPECT_EQ(Boxes().KillFamily({}), std::vector<DWORD>{childPid});
  EXPECT_TRUE(WaitForNoWindow(query, 5s));
}

// A program left running is a failure unless the test said otherwise.
TEST(ProbeHarnessTest, TearDownFailsForAProgramStillRunningAndKillsIt) {
  struct Inner : EndToEndTest {
    void TestBody() override {}
    using EndToEndTest::Start;
    using EndToEndTest::TearDown;
    using EndToEndTest::TestDir;
  };
  static DWORD pid = 0;
  EXPECT_NONFATAL_FAILURE(
      {
        Inner inner;
        pid = inner.Start(Inner::TestDir() + L"ProbeTarget.exe", {L"edit", L"Probe left running"}).Pid();
        inner.TearDown();
      },
      "is still running at the end of the test");
  HANDLE gone = OpenProcess(SYNCHRONIZE, FALSE, pid);
  EXPECT_TRUE(!gone || WaitForSingleObject(gone, 0) == WAIT_OBJECT_0);
  if (gone) CloseHandle(gone);
}

TEST(ProbePumpTest, PumpingDispatchesTheThreadsTimers) {
  static int fired = 0;
  fired = 0;
  const UINT_PTR timer = SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR, DWORD) { ++fired; });
  EXPECT_FALSE(PumpUntil([] { return fired >= 3; }, 0ms));
  EXPECT_TRUE(PumpUntil([] { return fired >= 3; }, 2s));
  KillTimer(nullptr, timer);
  const int before = fired;
  PumpMessages(30ms);
  EXPECT_EQ(fired, before);
}

TEST(ProbeQuoteTest, ArgumentsSurviveTheCommandLine) {
  const std::vector<std::wstring> arguments = {L"plain", L"two words", L"", L"quote\"inside", L"trail\\",
                                               L"C:\\dir with space\\", L"back\\\"slash", L"tab\there"};
  const std::wstring commandLine = L"prog.exe " + JoinArguments(arguments);
  int count = 0;
  wchar_t** parsed = CommandLineToArgvW(commandLine.c_str(), &count);
  ASSERT_NE(parsed, nullptr);
  std::vector<std::wstring> back(parsed + 1, parsed + count);
  LocalFree(parsed);
  EXPECT_EQ(back, arguments);
}

}  // namespace
