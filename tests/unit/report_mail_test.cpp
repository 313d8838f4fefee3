// The mailed error report through a stand-in mapi32.dll (standins/mapi),
// loaded instead of the system's by the Wine DLL override "mapi32=n": what
// reaches the mail library, and the program switched off around it.
#include "core/bug_report.h"

#include <gtest/gtest.h>

#include <optional>

#include "core/bug_report_form.h"
#include "tests/unit/qvlib_test_support.h"
#include "tests/unit/report_test_support.h"
#include "ui/application.h"

namespace snibbet::test {
namespace {

using report_test::AppendJournal;
using report_test::ReadJournal;
using report_test::Unescaped;


class MailedReport : public ReportTest, public BugReportPort {
 protected:
  void SetUp() override {
    ReportTest::SetUp();
    Lang().SetText(301, L"Error in %1:\r\n\r\n%2");
    Lang().SetText(304, L"No mail program");
    journal_ = folder_.File(L"journal.txt");
    SetEnvironmentVariableW(L"SNIBBET_MAPI_JOURNAL", journal_.c_str());
    connected_.emplace(*this);
  }
  void TearDown() override {
    connected_.reset();
    SetEnvironmentVariableW(L"SNIBBET_MAPI_JOURNAL", nullptr);
    SetEnvironmentVariableW(L"SNIBBET_MAPI_LOGON_FAILS", nullptr);
    ReportTest::TearDown();
  }

  // The program's part, noted in the journal.
  bool ProgramActive() override { return active_; }
  void SetProgramActive(bool on) override {
    active_ = on;
    AppendJournal(journal_, L"SetActive " + std::to_wstring(on ? 1 : 0));
  }
  void ExitProgram() override { ui::Terminate(); }
  bool NewerVersionChosen() override {
    AppendJournal(journal_, L"VersionCheck");
    return newerChosen_;
  }
  HKL KeyboardLayout() override { return reinterpret_cast<HKL>(static_cast<UINT_PTR>(0x04070407)); }

  std::vector<std::wstring> Journal() const { return ReadJournal(journal_); }
  std::wstring MailedBody() const {
    for (const auto& line : Journal()) {
      if (line.rfind(L"body=", 0) == 0) return Unescaped(line.substr(5));
    }
    return {};
  }

  TempFolder folder_;
  std::wstring journal_;
  bool active_ = true;
  bool newerChosen_ = false;
  std::optional<BugReportConnection> connected_;
};

TEST_F(MailedReport, MailsTheMessageAndTheSystemDetailsWithTheProgramSwitchedOffMeanwhile) {
  BuildBugReport(L"Disk full\r\nwhile saving");
  const auto journal = Journal();
  ASSERT_EQ(journal.size(), 9u) << "the stand-in mapi32.dll writes the mail's lines";
  EXPECT_EQ(journal[0], L"VersionCheck");
  EXPECT_EQ(journal[1], L"SetActive 0");
  EXPECT_EQ(journal[2], L"MAPILogon flags=3");
  EXPECT_EQ(journal[3], L"MAPISendMailW flags=9");
  EXPECT_EQ(journal[4], L"recipient class=1 name=bugs@orvanesoftware.com address=SMTP:bugs@orvanesoftware.com");
  EXPECT_EQ(journal[5], L"subject=Error Orvane Paste");
  EXPECT_EQ(journal[7], L"MAPILogoff session=1");
  EXPECT_EQ(journal[8], L"SetActive 1");
  EXPECT_TRUE(active_);

  MEMORYSTATUSEX memory{};
  memory.dwLength = sizeof memory;
  GlobalMemoryStatusEx(&memory);
  const std::wstring body = MailedBody();
  EXPECT_EQ(body.rfind(L"Error in Orvane Paste:\r\n\r\nDisk full\r\nwhile saving\r\n\r\n\r\n"
                       L"Orvane Paste 3.1.4 (3.1.4.159)\r\nOS: Windows ",
                       0),
            0u)
      << std::string(body.begin(), body.end());
  EXPECT_NE(body.find(L"\r\nCPU: "), std::wstring::npos);
  EXPECT_NE(body.find(L"\r\nRAM: " + std::to_wstring(memory.ullTotalPhys >> 20) + L" Mb ("), std::wstring::npos);
  const std::wstring screen = std::to_wstring(GetSystemMetrics(SM_CXSCREEN)) + L"x" +
                              std::to_wstring(GetSystemMetrics(SM_CYSCREEN)) + L"  04070407";
  EXPECT_EQ(body.substr(body.size() - screen.size()), screen);
}

TEST_F(MailedReport, AProgramSwitchedOffBeforeStaysOff) {
  active_ = false;
  BuildBugReport(L"x");
  const auto journal = Journal();
  ASSERT_GE(journal.size(), 2u);
  EXPECT_EQ(journal[1], L"SetActive 0");
  EXPECT_EQ(journal.back(), L"SetActive 0");
  EXPECT_FALSE(active_);
}

TEST_F(MailedReport, TheTrayMenusReportHasAnEmptyMessage) {
  BuildBugReport(L"");
  EXPECT_EQ(MailedBody().rfind(L"Error in Orvane Paste:\r\n\r\n\r\n\r\n\r\nOrvane Paste ", 0), 0u);
}

TEST_F(MailedReport, NothingIsMailedWhenTheUserWentForANewerVersion) {
  newerChosen_ = true;
  BuildBugReport(L"Disk full");
  EXPECT_EQ(Journal(), std::vector<std::wstring>{L"VersionCheck"});
  EXPECT_TRUE(active_);
}

TEST_F(MailedReport, AFailedLogonWarnsAndTheProgramIsSwitchedBackOn) {
  SetEnvironmentVariableW(L"SNIBBET_MAPI_LOGON_FAILS", L"1");
  BuildBugReport(L"Disk full");
  EXPECT_EQ(Journal(), (std::vector<std::wstring>{L"VersionCheck", L"SetActive 0", L"MAPILogon flags=3",
                                                   L"SetActive 1"}));
  const auto seen = Boxes();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].box.caption, L"Warning");
  EXPECT_EQ(seen[0].box.text, L"No mail program");
  EXPECT_TRUE(active_);
}

TEST_F(MailedReport, SendFromTheOpenReportMailsItsMessageAndTheReportStaysOpen) {
  TempFolder data;
  auto& form = App().CreateForm<TQvBugMessageForm>(data.File(L"NeverAskBug.txt"));
  bool openAfterSend = false;
  RunSoon during(30, [&] {
    form.Send(WM_COMMAND, MAKEWPARAM(form.btnSend.Id(), BN_CLICKED), reinterpret_cast<LPARAM>(form.btnSend.Handle()));
    openAfterSend = form.IsVisible();
    form.Close();
  });
  ShowBugMessage(form, L"Template file is damaged");
  EXPECT_TRUE(openAfterSend);
  EXPECT_EQ(MailedBody().rfind(L"Error in Orvane Paste:\r\n\r\nTemplate file is damaged\r\n", 0), 0u);
}

}  // namespace
}  // namespace snibbet::test
