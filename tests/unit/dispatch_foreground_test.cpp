// The foreground application: the two tables, the flags the paste reads, the
// last foreground window the tray returns the focus to, the closing of the
// pop-up, and the 300 ms poll that stands in for the hook library's reports.
#include <gtest/gtest.h>

#include "core/version_info.h"
#include "core/window_helpers.h"
#include "hub/data_module.h"
#include "hub/foreground_app.h"
#include "tests/unit/datamodule_test_support.h"
#include "tests/unit/dispatch_test_support.h"
#include "tests/unit/input_records_support.h"
#include "ui/application.h"

namespace snibbet {
namespace {

using test::ForeignWindow;
using test::RecordedSteps;
using test::ThreadWindow;

TEST(ForegroundTables, RowsMatchTheUpperCasedValuesExactlyAndTheFirstMatchWins) {
  EXPECT_EQ(FindForegroundAppRow(kInternetExplorerApps, L"iexplore.exe", L"IEFrame"), 0u);
  EXPECT_EQ(FindForegroundAppRow(kSlowPasteTargetApps, L"iexplore.exe", L"ieframe"), 0u);
  EXPECT_EQ(FindForegroundAppRow(kSlowPasteTargetApps, L"WinWord.exe", L"OpusApp"), 1u);
  EXPECT_EQ(FindForegroundAppRow(kSlowPasteTargetApps, L"outlook.EXE", L"rctrl_renwnd32"), 2u);
  EXPECT_EQ(FindForegroundAppRow(kSlowPasteTargetApps, L"visio.exe", L"VisioA"), 3u);

  // Both fields must match, whole.
  EXPECT_FALSE(FindForegroundAppRow(kSlowPasteTargetApps, L"winword.exe", L"IEFrame"));
  EXPECT_FALSE(FindForegroundAppRow(kSlowPasteTargetApps, L"winword.exe.old", L"OpusApp"));
  EXPECT_FALSE(FindForegroundAppRow(kSlowPasteTargetApps, L"winword", L"OpusApp"));
  EXPECT_FALSE(FindForegroundAppRow(kSlowPasteTargetApps, L"", L""));
  EXPECT_FALSE(FindForegroundAppRow(kInternetExplorerApps, L"winword.exe", L"OpusApp"));

  // An empty field matches anything; rows are tried in order.
  constexpr ForegroundAppRow rows[] = {{L"", L"EDIT"}, {L"NOTEPAD.EXE", L""}, {L"", L""}};
  EXPECT_EQ(FindForegroundAppRow(rows, L"notepad.exe", L"Edit"), 0u);
  EXPECT_EQ(FindForegroundAppRow(rows, L"notepad.exe", L"Static"), 1u);
  EXPECT_EQ(FindForegroundAppRow(rows, L"calc.exe", L""), 2u);

  // Letters beyond ASCII are upper-cased too.
  constexpr ForegroundAppRow accented[] = {{L"\u00C4PFEL.EXE", L"\u00D6L"}};
  EXPECT_EQ(FindForegroundAppRow(accented, L"\u00E4pfel.exe", L"\u00F6l"), 0u);
}

class ForegroundTest : public ::testing::Test {
 protected:
  void SetUp() override { ui::Application::Create({.title = L"Orvane Paste"}); }
  void TearDown() override { ui::Application::Destroy(); }
};

TEST_F(ForegroundTest, AnApplicationWhoseProgramCannotBeReadKeepsThePasteFlagButNeverTheIEFlag) {
  RecordedSteps steps;
  TDataDM dataModule(testing::ProcessInputRecords(), {.hookLibrary = test::MissingLibrary(), .parts = &steps});
  HWND gone = nullptr;
  {
    ThreadWindow window(false);
    gone = window.Handle();
  }
  ASSERT_FALSE(IsWindow(gone));
  EXPECT_FALSE(ReadForegroundApp(gone).has_value());

  dataModule.Watch().ClassifyForegroundApp(L"iexplore.exe", L"IEFrame");
  ASSERT_TRUE(dataModule.Watch().ForegroundIsIE());
  ASSERT_TRUE(dataModule.Watch().ForegroundInPasteTable());
  dataModule.Watch().DetectActiveApplication(gone);
  EXPECT_FALSE(dataModule.Watch().ForegroundIsIE());
  EXPECT_TRUE(dataModule.Watch().ForegroundInPasteTable());
  EXPECT_EQ(steps.resets, 1);

  // No window at all: the same, and 0 never becomes the last foreground window.
  dataModule.Watch().ClassifyForegroundApp(L"iexplore.exe", L"IEFrame");
  dataModule.Watch().DetectActiveApplication(nullptr);
  EXPECT_FALSE(dataModule.Watch().ForegroundIsIE());
  EXPECT_TRUE(dataModule.Watch().ForegroundInPasteTable());
  EXPECT_EQ(dataModule.Watch().LastForegroundWindow(), gone);
}

TEST_F(ForegroundTest, AnotherProgramsWindowIsClassifiedByItsProgramFileAndRealClass) {
  TDataDM dataModule(testing::ProcessInputRecords(), {.hookLibrary = test::MissingLibrary()});
  {
    ForeignWindow word(L"winword.exe", L"OpusApp");
    ASSERT_NE(word.Handle(), nullptr);
    const std::optional<ForegroundApp> app = ReadForegroundApp(word.Handle());
    ASSERT_TRUE(app.has_value());
    EXPECT_EQ(UpperCaseText(app->executable), L"WINWORD.EXE");
    EXPECT_EQ(app->windowClass, L"OpusApp");
    dataModule.Watch().DetectActiveApplication(word.Handle());
    EXPECT_TRUE(dataModule.Watch().ForegroundInPasteTable());
    EXPECT_FALSE(dataModule.Watch().ForegroundIsIE());
    EXPECT_EQ(dataModule.Watch().LastForegroundWindow(), word.Handle());
  }
  {
    // The right class in another program is not that program.
    ForeignWindow other(L"notword.exe", L"OpusApp");
    ASSERT_NE(other.Handle(), nullptr);
    dataModule.Watch().DetectActiveApplication(other.Handle());
    EXPECT_FALSE(dataModule.Watch().ForegroundIsIE());
    EXPECT_FALSE(dataModule.Watch().ForegroundInPasteTable());
    EXPECT_EQ(dataModule.Watch().LastForegroundWindow(), other.Handle());
  }
}

TEST_F(ForegroundTest, OurOwnWindowsAreClassifiedButNeverBecomeTheLastForegroundWindow) {
  TDataDM dataModule(testing::ProcessInputRecords(), {.hookLibrary = test::MissingLibrary()});
  ThreadWindow own(false);
  const HWND user = reinterpret_cast<HWND>(0x1234);  // any window not of this process
  dataModule.Watch().SetLastForegroundWindow(user);
  dataModule.Watch().ClassifyForegroundApp(L"winword.exe", L"OpusApp");
  dataModule.Watch().DetectActiveApplication(own.Handle());
  EXPECT_EQ(dataModule.Watch().LastForegroundWindow(), user);
  EXPECT_FALSE(dataModule.Watch().ForegroundInPasteTable()) << "this test program is no slow paste target";
}

TEST_F(ForegroundTest, ANewForegroundApplicationClosesThePopupUnlessTheWizardOrTheKeyboardIsInUse) {
  RecordedSteps steps;
  TDataDM dataModule(testing::ProcessInputRecords(), {.hookLibrary = test::MissingLibrary(), .parts = &steps});
  ThreadWindow wizard(true, L"wizard");
  ThreadWindow popup(true, L"popup");
  ThreadWindow other(true, L"other");

  steps.popupShown = false;
  dataModule.Watch().DetectActiveApplication(other.Handle());
  EXPECT_EQ(steps.hides, 0) << "nothing to close";

  steps.popupShown = true;
  dataModule.Watch().DetectActiveApplication(other.Handle());
  EXPECT_EQ(steps.hides, 1);

  steps.popupShown = true;
  steps.mouseOverKeyboard = true;
  dataModule.Watch().DetectActiveApplication(other.Handle());
  EXPECT_EQ(steps.hides, 1) << "the mouse is over the keyboard window";
  steps.mouseOverKeyboard = false;

  // With the wizard open, the pop-up stays while the wizard or the pop-up is in front.
  steps.wizard = wizard.Handle();
  steps.popupWindow = popup.Handle();
  for (HWND front : {wizard.Handle(), popup.Handle()}) {
    ForceForegroundWindow(front, true);
    ASSERT_EQ(GetForegroundWindow(), front);
    dataModule.Watch().DetectActiveApplication(front);
    EXPECT_EQ(steps.hides, 1);
  }
  ForceForegroundWindow(other.Handle(), true);
  ASSERT_EQ(GetForegroundWindow(), other.Handle());
  dataModule.Watch().DetectActiveApplication(other.Handle());
  EXPECT_EQ(steps.hides, 2);
}

TEST_F(ForegroundTest, ThePollFollowsOtherProgramsWithTheirLayoutAndIgnoresOurOwnWindows) {
  if (!IsVistaOrLater()) GTEST_SKIP() << "the poll runs on Vista and later only";
  RecordedSteps steps;
  ThreadWindow own(true, L"own");
  ForceForegroundWindow(own.Handle(), true);
  TDataDM dataModule(testing::ProcessInputRecords(), {.hookLibrary = test::StandInLibrary(), .parts = &steps});
  ASSERT_TRUE(dataModule.Switch().Start());
  ASSERT_TRUE(dataModule.Watch().tmrCheckVista().Enabled());

  ForeignWindow word(L"winword.exe", L"OpusApp");
  ASSERT_NE(word.Handle(), nullptr);
  ForceForegroundWindow(word.Handle(), true);
  test::PumpApplication(700);
  ASSERT_FALSE(steps.layouts.empty());
  EXPECT_EQ(dataModule.Watch().LastForegroundWindow(), word.Handle());
  EXPECT_EQ(steps.layouts.front(), word.Layout());
  EXPECT_TRUE(dataModule.Watch().ForegroundInPasteTable());

  // One of ours in front (as the tray menu's window is): the user's
  // application stays where the focus goes back to.
  ForceForegroundWindow(own.Handle(), true);
  test::PumpApplication(700);
  EXPECT_EQ(dataModule.Watch().LastForegroundWindow(), word.Handle());
  EXPECT_TRUE(dataModule.Watch().ForegroundInPasteTable());

  // Back to the same application: the poll has nothing to do.
  const std::size_t layoutsBefore = steps.layouts.size();
  ForceForegroundWindow(word.Handle(), true);
  test::PumpApplication(700);
  EXPECT_EQ(steps.layouts.size(), layoutsBefore);

  ASSERT_TRUE(dataModule.Switch().Stop());
  EXPECT_FALSE(dataModule.Watch().tmrCheckVista().Enabled());
}

}  // namespace
}  // namespace snibbet
