// The error-report form: its texts, the modal showing with the 60-second
// countdown, "never show again" with its file, the exception handler that
// opens it, and Exit.
#include "core/bug_report_form.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "core/bug_report.h"
#include "tests/unit/qvlib_test_support.h"
#include "tests/unit/report_test_support.h"
#include "ui/exceptions.h"
#include "ui/monitor.h"

namespace snibbet::test {
namespace {

class BugForm : public ReportTest {
 protected:
  void SetUp() override {
    ReportTest::SetUp();
    Lang().SetText(105, L"Close");
    Lang().SetText(301, L"Error in %1:\r\n\r\n%2");
    Lang().SetText(302, L"Send report");
    Lang().SetText(303, L"Never show this again");
    Lang().SetText(305, L"Please report it.");
    Lang().SetText(323, L"Exit");
    App().SetExceptionHandler(ReportApplicationException);
  }
  void TearDown() override { ReportTest::TearDown(); }

  TQvBugMessageForm& CreateForm() { return App().CreateForm<TQvBugMessageForm>(NeverAskFile()); }
  std::wstring NeverAskFile() const { return folder.File(L"NeverAskBug.txt"); }

  // Shows the message; `whileShown` runs from inside the modal loop. True when the form showed.
  bool Show(TQvBugMessageForm& form, const std::wstring& message, std::function<void()> whileShown) {
    bool shown = false;
    RunSoon during(30, [&] {
      shown = form.IsVisible() && form.IsModal();
      whileShown();
    });
    ShowBugMessage(form, message);
    return shown;
  }
  static void Click(ui::Button& button) {
    button.Owner().Send(WM_COMMAND, MAKEWPARAM(button.Id(), BN_CLICKED), reinterpret_cast<LPARAM>(button.Handle()));
  }

  TempFolder folder;
};

TEST_F(BugForm, CreatedHiddenCentredWithItsTexts) {
  TQvBugMessageForm& form = CreateForm();
  EXPECT_EQ(BugMessageForm(), &form);
  EXPECT_FALSE(form.IsVisible());
  EXPECT_EQ(FindWindowW(TQvBugMessageForm::kClassName, nullptr), form.Handle());
  EXPECT_EQ(form.btnClose.Text(), L"Close");
  EXPECT_EQ(form.btnSend.Text(), L"Send report");
  EXPECT_EQ(form.btnTerminate.Text(), L"Exit");
  EXPECT_EQ(form.chkNeverAsk.Text(), L"Never show this again");
  EXPECT_TRUE(GetWindowLongW(form.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(form.tmrClose.Interval(), 1000u);
  EXPECT_FALSE(form.tmrClose.Enabled());

  const RECT work = ui::MonitorWorkArea(form.Handle());
  const RECT bounds = form.Bounds();
  EXPECT_NEAR(bounds.left + bounds.right, work.left + work.right, 1);
  EXPECT_NEAR(bounds.top + bounds.bottom, work.top + work.bottom, 1);
}

TEST_F(BugForm, ShowsTheMessageAndTheCloseButtonCountsDownFrom59ThenCloses) {
  TQvBugMessageForm& form = CreateForm();
  std::vector<std::wstring> captions;
  std::wstring caption, info;
  bool checked = true;
  const bool shown = Show(form, L"Disk full & more", [&] {
    caption = form.Text();
    info = form.lblInfo.Text();
    checked = form.chkNeverAsk.Checked();
    captions.push_back(form.btnClose.Text());
    for (int tick = 0; tick < TQvBugMessageForm::kCountdownSeconds; ++tick) {
      form.tmrCloseTimer();
      captions.push_back(form.btnClose.Text());
    }
  });
  ASSERT_TRUE(shown);
  EXPECT_EQ(caption, L"Error");
  EXPECT_EQ(info, L"Error in Orvane Paste:\r\n\r\nDisk full & more\r\n\r\nPlease report it.");
  EXPECT_FALSE(checked);
  ASSERT_EQ(captions.size(), 61u);
  EXPECT_EQ(captions[0], L"Close");
  EXPECT_EQ(captions[1], L"Close (59)");
  EXPECT_EQ(captions[59], L"Close (1)");
  EXPECT_EQ(captions[60], L"Close");
  EXPECT_FALSE(form.IsVisible());
  EXPECT_EQ(form.ModalResult(), IDOK);
  EXPECT_FALSE(form.tmrClose.Enabled());
  EXPECT_TRUE(form.NeverAsk().Lines().empty());
}

TEST_F(BugForm, WithoutTheUserItClosesItselfWhenTheCountdownRunsOut) {
  TQvBugMessageForm& form = CreateForm();
  form.tmrClose.SetInterval(5);  // sixty steps of 5 ms
  const ULONGLONG start = GetTickCount64();
  ShowBugMessage(form, L"Nobody is there");
  EXPECT_LT(GetTickCount64() - start, 5000u);
  EXPECT_EQ(form.Countdown(), 0);
  EXPECT_EQ(form.ModalResult(), IDOK);
  EXPECT_FALSE(form.IsVisible());
}

TEST_F(BugForm, NeverShowAgainSilencesThatMessageForGoodAndTheBoxKeepsItsStateForTheNext) {
  TQvBugMessageForm& form = CreateForm();
  ASSERT_TRUE(Show(form, L"Cannot open\r\nthe template file", [&] {
    form.chkNeverAsk.SetChecked(true);
    Click(form.btnClose);
  }));
  EXPECT_FALSE(form.IsVisible());
  ASSERT_EQ(form.NeverAsk().Lines(), std::vector<std::wstring>{L"Cannot open  the template file"});

  // The same message, in other letters, shows no more; its current message is still noted.
  EXPECT_FALSE(Show(form, L"CANNOT OPEN\r\nTHE TEMPLATE FILE", [&] { form.Close(); }));
  EXPECT_EQ(form.CurrentMessage(), L"CANNOT OPEN\r\nTHE TEMPLATE FILE");

  // The box is as the user left it: closing silences this one too, unless
  // the user unticks it.
  bool checkedAtStart = false;
  EXPECT_TRUE(Show(form, L"Another error", [&] {
    checkedAtStart = form.chkNeverAsk.Checked();
    Click(form.btnClose);
  }));
  EXPECT_TRUE(checkedAtStart);
  EXPECT_EQ(form.NeverAsk().Lines().size(), 2u);
  EXPECT_TRUE(Show(form, L"A third error", [&] {
    form.chkNeverAsk.SetChecked(false);
    Click(form.btnClose);
  }));
  EXPECT_TRUE(Show(form, L"A third error", [&] {
    checkedAtStart = form.chkNeverAsk.Checked();
    Click(form.btnClose);
  }));
  EXPECT_FALSE(checkedAtStart);
  EXPECT_EQ(form.NeverAsk().Lines().size(), 2u);

  // The next start reads the file.
  TQvBugMessageForm& next = CreateForm();
  EXPECT_FALSE(Show(next, L"cannot open  the template file", [&] { next.Close(); }));
}

TEST_F(BugForm, AnErrorWhileTheReportShowsIsNotShownOnTopOfIt) {
  TQvBugMessageForm& form = CreateForm();
  std::wstring during;
  ASSERT_TRUE(Show(form, L"First error", [&] {
    ShowBugMessage(form, L"Second error");  // returns at once: no second modal loop
    during = form.lblInfo.Text();
    form.Close();
  }));
  EXPECT_NE(during.find(L"First error"), std::wstring::npos);
  EXPECT_EQ(form.CurrentMessage(), L"First error");
}

TEST_F(BugForm, ExceptionsOfTimersWindowsAndHooksOpenTheReport) {
  TQvBugMessageForm& form = CreateForm();
  std::vector<std::wstring> shown;
  ui::Timer closer(30, [&] {
    if (!form.IsVisible()) return;
    shown.push_back(form.CurrentMessage());
    form.Close();
  });
  closer.Start();

  ui::Timer failing(10, [&] {
    failing.Stop();
    throw std::runtime_error("The timer failed");
  });
  failing.Start();
  ASSERT_TRUE(PumpUntil([&] { return shown.size() == 1; }));

  // A window procedure.
  class Throwing : public ui::Form {
   public:
    Throwing() : ui::Form({.className = L"TReportThrowingForm"}) {}
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
      if (message == WM_APP) throw std::invalid_argument("The window failed");
      return ui::Form::HandleMessage(message, wParam, lParam);
    }
  };
  Throwing& window = App().CreateForm<Throwing>();
  window.Post(WM_APP, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return shown.size() == 2; }));

  // A low-level hook: reported once the hook has returned, from the loop.
  {
    ui::HookScope hook;
    ui::HandleException(std::make_exception_ptr(std::runtime_error("The hook failed")));
    EXPECT_FALSE(form.IsVisible());
  }
  ASSERT_TRUE(PumpUntil([&] { return shown.size() == 3; }));
  EXPECT_EQ(shown, (std::vector<std::wstring>{L"The timer failed", L"The window failed", L"The hook failed"}));
}

TEST_F(BugForm, WithoutTheFormTheHandlerShowsAnErrorBox) {
  ReportApplicationException(std::make_exception_ptr(std::runtime_error("Early failure")));
  const auto seen = Boxes();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].box.caption, L"Error");
  EXPECT_EQ(seen[0].box.text, L"Early failure");
}

TEST_F(BugForm, ExitLeavesThroughTheTrayMenusExitPath) {
  TQvBugMessageForm& form = CreateForm();
  int exits = 0;
  struct CountedExit : DefaultBugReportPort {
    int& exits;
    explicit CountedExit(int& count) : exits(count) {}
    void ExitProgram() override {
      ++exits;
      ui::Terminate();
    }
  } program(exits);
  BugReportConnection connected(program);
  ASSERT_TRUE(Show(form, L"Fatal", [&] { Click(form.btnTerminate); }));
  EXPECT_EQ(exits, 1);
  EXPECT_TRUE(ui::Terminated());
  EXPECT_FALSE(form.IsVisible());
}

TEST_F(BugForm, ExitWithoutADataModuleEndsTheApplication) {
  TQvBugMessageForm& form = CreateForm();
  ASSERT_TRUE(Show(form, L"Fatal", [&] { Click(form.btnTerminate); }));
  EXPECT_TRUE(ui::Terminated());
  EXPECT_FALSE(form.IsVisible());
}

TEST(NeverAskList, TheOldestLineGoesWhenTheHundredAndFirstIsAdded) {
  TempFolder folder;
  NeverAskList list(folder.File(L"NeverAskBug.txt"));
  list.Load();
  EXPECT_TRUE(list.Lines().empty());  // no file yet
  for (int i = 1; i <= 101; ++i) ASSERT_TRUE(list.Add(L"Error " + std::to_wstring(i)));
  ASSERT_EQ(list.Lines().size(), 100u);
  EXPECT_EQ(list.Lines().front(), L"Error 2");
  EXPECT_FALSE(list.Holds(L"Error 1"));

  NeverAskList reread(list.FileName());
  reread.Load();
  EXPECT_EQ(reread.Lines(), list.Lines());
  EXPECT_TRUE(reread.Holds(L"error 101"));
}

TEST(NeverAskList, FilesOfOlderVersionsReadAsBefore) {
  TempFolder folder;
  // 8-bit text of the ANSI code page with CR LF line ends, written before line
  // breaks were stored as blanks.
  folder.Write(L"NeverAskBug.txt", "Zugriffsverletzung bei Adresse 0040A1B2\r\nFehler \xE4\xF6\xFC\r\nLast line");
  NeverAskList list(folder.File(L"NeverAskBug.txt"));
  list.Load();
  ASSERT_EQ(list.Lines().size(), 3u);
  EXPECT_TRUE(list.Holds(L"zugriffsverletzung bei adresse 0040a1b2"));
  EXPECT_TRUE(list.Holds(L"FEHLER \u00C4\u00D6\u00DC"));
  EXPECT_TRUE(list.Holds(L"Last line"));
  EXPECT_FALSE(list.Holds(L"Last"));

  // What is written now is UTF-8 and reads back the same.
  ASSERT_TRUE(list.Add(L"\u041E\u0448\u0438\u0431\u043A\u0430\nline two"));
  NeverAskList reread(list.FileName());
  reread.Load();
  EXPECT_EQ(reread.Lines(), list.Lines());
  EXPECT_TRUE(reread.Holds(L"\u043E\u0448\u0438\u0431\u043A\u0430\r\nLINE TWO") == false);  // CR LF gives two blanks
  EXPECT_TRUE(reread.Holds(L"\u043E\u0448\u0438\u0431\u043A\u0430\nLINE TWO"));
}

}  // namespace
}  // namespace snibbet::test
