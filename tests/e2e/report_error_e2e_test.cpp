// The error report as a user meets it, in ReportTarget.exe, a test build of
// the program's error path (testing/report): errors thrown by a window
// procedure, a timer and a low-level hook open the report; the countdown
// closes it; "never show again" holds across a restart; Send mails the report
// through a stand-in mapi32.dll with the program switched off meanwhile; Exit
// leaves through the program's exit path.
//
// The stand-in lies in each test's program folder; Wine takes it instead of
// its own through the DLL override "mapi32=n" in this test's environment
// (tests/e2e/CMakeLists.txt): the loader reads overrides from the Unix
// environment a process starts with, so a test cannot set it for a child.
#include <windows.h>

#include <shlobj.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "testing/probe/probe.h"
#include "testing/report/local_http_server.h"
#include "testing/report/mapi_journal.h"
#include "testing/report/report_target_protocol.h"
#include "tests/e2e/app_e2e_support.h"

namespace snibbet_e2e {
namespace {

namespace fs = std::filesystem;
using namespace report_target;
using namespace std::chrono_literals;
using probe::milliseconds;

probe::WindowQuery WindowsOf(const wchar_t* className, DWORD pid, bool visibleOnly = false) {
  probe::WindowQuery query;
  query.className = className;
  query.pid = pid;
  query.visibleOnly = visibleOnly;
  return query;
}

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

std::wstring NeverAskFile() {
  wchar_t appData[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, appData);
  return std::wstring(appData) + L"\\OrvaneSoftware\\Snibbet\\NeverAskBug.txt";
}

std::string FileBytes(const std::wstring& path) {
  std::ifstream in(fs::path(path), std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The environment of the programs this test starts, put back at scope end.
class ChildEnvironment {
 public:
  void Set(const wchar_t* name, const std::wstring& value) {
    wchar_t old[4096] = {};
    const DWORD n = GetEnvironmentVariableW(name, old, 4096);
    saved_.emplace_back(name, n ? std::optional<std::wstring>(old) : std::nullopt);
    SetEnvironmentVariableW(name, value.c_str());
  }
  ~ChildEnvironment() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      SetEnvironmentVariableW(it->first.c_str(), it->second ? it->second->c_str() : nullptr);
    }
  }

 private:
  std::vector<std::pair<std::wstring, std::optional<std::wstring>>> saved_;
};

// The report window as the test sees it from outside.
class Report {
 public:
  explicit Report(HWND window) : window_(window) {}
  HWND Window() const { return window_; }
  std::wstring Caption() const { return probe::CaptionOf(window_); }
  std::wstring Message() const { return probe::WindowText(ChildOfClass(L"Static")); }
  HWND Button(const std::wstring& textStart) const {
    for (HWND child : probe::ChildWindows(window_)) {
      if (_wcsicmp(probe::ClassNameOf(child).c_str(), L"Button") == 0 &&
          probe::WindowText(child).rfind(textStart, 0) == 0) {
        return child;
      }
    }
    return nullptr;
  }
  void Click(const std::wstring& textStart) const {
    HWND button = Button(textStart);
    ASSERT_NE(button, nullptr) << "no button " << probe::ToUtf8(textStart);
    PostMessageW(window_, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED), reinterpret_cast<LPARAM>(button));
  }
  HWND NeverAsk() const { return Button(L"Do not show this message again"); }
  bool Visible() const { return IsWindowVisible(window_); }

 private:
  HWND ChildOfClass(const wchar_t* className) const {
    for (HWND child : probe::ChildWindows(window_)) {
      if (_wcsicmp(probe::ClassNameOf(child).c_str(), className) == 0) return child;
    }
    return nullptr;
  }
  HWND window_;
};

class ErrorReport : public SnibbetTest {
 protected:
  void SetUp() override {
    SnibbetTest::SetUp();
    fs::copy_file(TestDir() + L"ReportTarget.exe", folder_.File(L"ReportTarget.exe"));
    fs::copy_file(ProgramDir() + L"..\\standins\\mapi\\mapi32.dll", folder_.File(L"mapi32.dll"));
    fs::remove(NeverAskFile());
  }
  void TearDown() override {
    fs::remove(NeverAskFile());
    SnibbetTest::TearDown();
  }

  // Starts the test build; its window, waited for.
  HWND StartTarget(std::vector<std::wstring> arguments) {
    probe::LaunchOptions options;
    options.arguments = probe::JoinArguments(arguments);
    options.workDir = folder_.Path();
    target_ = &Start(folder_.File(L"ReportTarget.exe"), options);
    HWND window = probe::WaitForWindow(WindowsOf(kWindowClass, target_->Pid()), 10s);
    EXPECT_NE(window, nullptr) << "ReportTarget.exe did not start";
    return window;
  }
  std::optional<Report> WaitForReport(milliseconds timeout = 10s) {
    HWND window = probe::WaitForWindow(WindowsOf(L"TQvBugMessageForm", target_->Pid(), true), timeout);
    if (!window) return std::nullopt;
    return Report(window);
  }
  bool ReportGone(milliseconds timeout) {
    return probe::WaitForNoWindow(WindowsOf(L"TQvBugMessageForm", target_->Pid(), true), timeout);
  }
  size_t LoggedExceptions(const std::string& message) {
    const std::string log = FileBytes(folder_.File(L"Log.txt"));
    size_t count = 0;
    for (size_t at = log.find("Exception : " + message); at != std::string::npos;
         at = log.find("Exception : " + message, at + 1)) {
      ++count;
    }
    return count;
  }
  void EndTarget(HWND window) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    const auto code = target_->WaitExit(10s);
    ASSERT_TRUE(code.has_value()) << "ReportTarget.exe did not end";
    EXPECT_EQ(*code, 0u);
  }

  probe::Process* target_ = nullptr;
};

TEST_F(ErrorReport, ErrorsOfAHandlerATimerAndAHookOpenTheReportAndTheCountdownClosesIt) {
  HWND target = StartTarget({L"/debug", L"/tick", L"50"});
  ASSERT_NE(target, nullptr);

  PostMessageW(target, kThrowInHandler, 1, 0);
  auto report = WaitForReport();
  ASSERT_TRUE(report.has_value());
  EXPECT_EQ(report->Caption(), L"Error");
  EXPECT_EQ(report->Message(), L"An error occurred in Orvane Paste:\r\n\r\n" + Wide(HandlerMessage(1)) +
                                   L"\r\n\r\nPlease report this error to Orvane Software Group.");
  EXPECT_NE(report->Button(L"Send report"), nullptr);
  EXPECT_NE(report->Button(L"Exit"), nullptr);
  ASSERT_NE(report->NeverAsk(), nullptr);
  EXPECT_EQ(SendMessageW(report->NeverAsk(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_TRUE(probe::WaitUntil([&] { return report->Button(L"Close (") != nullptr; }, 3s))
      << "the Close button shows the seconds left";
  EXPECT_TRUE(ReportGone(10s)) << "the countdown closes the report";
  EXPECT_EQ(LoggedExceptions(HandlerMessage(1)), 1u);

  PostMessageW(target, kThrowInTimer, 0, 0);
  report = WaitForReport();
  ASSERT_TRUE(report.has_value());
  EXPECT_NE(report->Message().find(Wide(kTimerMessage)), std::wstring::npos);
  report->Click(L"Close");
  ASSERT_TRUE(ReportGone(5s));

  DWORD_PTR hooked = 0;
  SendMessageTimeoutW(target, kHookKeys, 0, 0, SMTO_ABORTIFHUNG, 5000, &hooked);
  ASSERT_EQ(hooked, 1u);
  probe::SendKeyTap(static_cast<WORD>(kHookThrowKey));
  report = WaitForReport();
  ASSERT_TRUE(report.has_value()) << "an error inside the hook is reported from the loop";
  EXPECT_NE(report->Message().find(Wide(kHookMessage)), std::wstring::npos);
  report->Click(L"Close");
  ASSERT_TRUE(ReportGone(5s));

  EndTarget(target);
  EXPECT_NE(FileBytes(folder_.File(L"Log.txt")).find("QvBugMessageForm"), std::string::npos);
}

TEST_F(ErrorReport, NeverShowAgainSilencesThatMessageAcrossARestart) {
  const std::string message = HandlerMessage(2);  // holds a line break
  HWND target = StartTarget({L"/debug"});
  ASSERT_NE(target, nullptr);
  PostMessageW(target, kThrowInHandler, 2, 0);
  auto report = WaitForReport();
  ASSERT_TRUE(report.has_value());
  SendMessageW(report->NeverAsk(), BM_SETCHECK, BST_CHECKED, 0);
  report->Click(L"Close");
  ASSERT_TRUE(ReportGone(5s));
  const std::string expected = "\xEF\xBB\xBF" "First line of the error  second line of the error\r\n";
  // Written as the report closes: a busy machine may show the gap.
  probe::WaitUntil([&] { return FileBytes(NeverAskFile()) == expected; }, 2s);
  EXPECT_EQ(FileBytes(NeverAskFile()), expected);
  EndTarget(target);

  target = StartTarget({L"/debug"});
  ASSERT_NE(target, nullptr);
  PostMessageW(target, kThrowInHandler, 2, 0);
  ASSERT_TRUE(probe::WaitUntil([&] { return LoggedExceptions(message) == 1; }, 10s)) << "the error is still logged";
  EXPECT_FALSE(WaitForReport(1s).has_value()) << "a silenced message shows no report";

  PostMessageW(target, kThrowInHandler, 1, 0);
  report = WaitForReport();
  ASSERT_TRUE(report.has_value()) << "other messages are still reported";
  EXPECT_EQ(SendMessageW(report->NeverAsk(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  report->Click(L"Close");
  ASSERT_TRUE(ReportGone(5s));
  EndTarget(target);
}

TEST_F(ErrorReport, SendMailsTheReportWithTheProgramSwitchedOffAroundTheMailProgramThenExitEndsIt) {
  report_test::LocalHttpServer server;
  server.Serve("/version.txt", {.body = "4.5.6.7\r\nThe version you have."});
  const std::wstring journal = folder_.File(L"journal.txt");
  HWND target = nullptr;
  {
    ChildEnvironment environment;
    environment.Set(L"SNIBBET_MAPI_JOURNAL", journal);  // read by the stand-in at each call
    target = StartTarget({L"/journal", journal, L"/versionurl", server.Url("/version.txt")});
  }
  ASSERT_NE(target, nullptr);
  PostMessageW(target, kThrowInHandler, 1, 0);
  auto report = WaitForReport();
  ASSERT_TRUE(report.has_value());

  report->Click(L"Send report");
  probe::WaitUntil([&] { return report_test::ReadJournal(journal).size() >= 9; }, 15s);
  const auto lines = report_test::ReadJournal(journal);
  ASSERT_EQ(lines.size(), 9u) << "without the stand-in (Wine's DLL override mapi32=n) no mail is recorded";
  EXPECT_EQ(lines[0], L"VersionCheck");
  EXPECT_EQ(lines[1], L"SetActive 0");
  EXPECT_EQ(lines[2], L"MAPILogon flags=3");
  EXPECT_EQ(lines[3], L"MAPISendMailW flags=9");
  EXPECT_EQ(lines[4], L"recipient class=1 name=bugs@orvanesoftware.com address=SMTP:bugs@orvanesoftware.com");
  EXPECT_EQ(lines[5], L"subject=Error Orvane Paste");
  EXPECT_EQ(lines[7], L"MAPILogoff session=1");
  EXPECT_EQ(lines[8], L"SetActive 1");
  const std::wstring body = report_test::Unescaped(lines[6].substr(lines[6].find(L'=') + 1));
  EXPECT_EQ(body.rfind(L"An error occurred in Orvane Paste:\r\n\r\n" + Wide(HandlerMessage(1)) +
                           L"\r\n\r\n\r\nOrvane Paste 4.5.6 (4.5.6.7)\r\nOS: Windows ",
                       0),
            0u)
      << probe::ToUtf8(body);
  EXPECT_NE(body.find(L"\r\nCPU: "), std::wstring::npos) << probe::ToUtf8(body);
  EXPECT_NE(body.find(L"\r\nRAM: "), std::wstring::npos);
  EXPECT_NE(body.find(L"\r\n1280x1024  "), std::wstring::npos);
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u) << "the version is checked before the report is composed";
  EXPECT_EQ(requests[0].userAgent, "Snibbet");
  EXPECT_TRUE(report->Visible()) << "the report stays open after Send";
  EXPECT_TRUE(Boxes().Seen().empty());

  report->Click(L"Exit");
  const auto code = target_->WaitExit(10s);
  ASSERT_TRUE(code.has_value()) << "Exit ends the program";
  EXPECT_EQ(*code, 0u);
  EXPECT_EQ(report_test::ReadJournal(journal).back(), L"Exit");
}

TEST_F(ErrorReport, ANewerVersionFoundBeforeSendingIsOfferedInsteadOfTheMail) {
  report_test::LocalHttpServer server;
  server.Serve("/version.txt", {.body = "4.6.0.0\r\nA fix for this error."});
  const std::wstring journal = folder_.File(L"journal.txt");
  HWND target = StartTarget({L"/journal", journal, L"/versionurl", server.Url("/version.txt")});
  ASSERT_NE(target, nullptr);
  Boxes().AnswerWith(IDYES);
  PostMessageW(target, kThrowInHandler, 1, 0);
  auto report = WaitForReport();
  ASSERT_TRUE(report.has_value());
  report->Click(L"Send report");

  const auto box = Boxes().WaitForBox(15s);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->box.text, L"Orvane Paste 4.6.0.0 is available.\r\nDo you want to open the download page?\r\n\r\n"
                           L"A fix for this error.");
  ASSERT_TRUE(probe::WaitUntil([&] { return report_test::ReadJournal(journal).size() >= 2; }, 10s));
  probe::PumpMessages(300ms);
  EXPECT_EQ(report_test::ReadJournal(journal),
            (std::vector<std::wstring>{L"VersionCheck", L"OpenPage http://www.orvanesoftware.com/paste/download.html"}));
  report->Click(L"Close");
  ASSERT_TRUE(ReportGone(5s));
  EndTarget(target);
}

}  // namespace
}  // namespace snibbet_e2e
