// The keyboard view's icon set follows the application in front: the set of
// its program, the desktop's set of this Windows version, or none.
#include <gtest/gtest.h>

#include "../host/icon_set_bytes.h"
#include "core/icon_sets.h"
#include "core/window_helpers.h"
#include "hub/data_module.h"
#include "testing/probe/test_window.h"
#include "tests/unit/datamodule_test_support.h"
#include "tests/unit/dispatch_test_support.h"
#include "tests/unit/qvlib_test_support.h"
#include "tests/unit/input_records_support.h"
#include "ui/application.h"

namespace snibbet {
namespace {

using test::ForeignWindow;
using test::RecordedSteps;

class IconSetChoice : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::Application::Create({.title = L"Orvane Paste"});
    test::IconSetBytes notepad;
    notepad.executable = "NOTEPAD.EXE";
    notepad.entries = {{0x20, 'S', "Save"}};
    folder.Write(L"Notepad.zqi", notepad.Build());
    test::IconSetBytes desktop;
    desktop.entries = {{0, 0x71, "Rename"}};
    folder.Write(RunningDesktopIconSetName() + L".zqi", desktop.Build());
    list.LoadAll();
  }
  void TearDown() override { ui::Application::Destroy(); }

  test::TempFolder folder;
  int errors = 0;
  TQvIconsList list{folder.Path(), [this](std::wstring_view) { ++errors; }};
  RecordedSteps steps;
};

TEST_F(IconSetChoice, TheProgramInFrontGetsItsOwnSetAndAnyOtherNone) {
  TDataDM dataModule(testing::ProcessInputRecords(), {.hookLibrary = test::MissingLibrary(), .parts = &steps, .iconSets = &list});
  ForeignWindow notepad(L"notepad.exe", L"Notepad");
  ASSERT_NE(notepad.Handle(), nullptr);
  dataModule.Watch().DetectActiveApplication(notepad.Handle());
  ASSERT_EQ(steps.appIcons.size(), 1u);
  ASSERT_NE(steps.appIcons[0], nullptr);
  EXPECT_EQ(steps.appIcons[0]->Name(), L"Notepad");
  EXPECT_TRUE(steps.appIcons[0]->Loaded()) << "handed over loaded in full";

  ForeignWindow wordpad(L"wordpad.exe", L"WordPadClass");
  dataModule.Watch().DetectActiveApplication(wordpad.Handle());
  ASSERT_EQ(steps.appIcons.size(), 2u);
  EXPECT_EQ(steps.appIcons[1], nullptr);

  // A window whose program cannot be read gets none either.
  HWND gone = nullptr;
  {
    test::ThreadWindow window(false);
    gone = window.Handle();
  }
  dataModule.Watch().DetectActiveApplication(gone);
  ASSERT_EQ(steps.appIcons.size(), 3u);
  EXPECT_EQ(steps.appIcons[2], nullptr);
  EXPECT_EQ(errors, 0);
}

TEST_F(IconSetChoice, TheDesktopInFrontGetsTheDesktopSetOfThisWindowsVersion) {
  TDataDM dataModule(testing::ProcessInputRecords(), {.hookLibrary = test::MissingLibrary(), .parts = &steps, .iconSets = &list});
  {
    probe::TestWindow desktop(L"Progman", L"Program Manager", nullptr, true);
    ForceForegroundWindow(desktop.Handle(), true);
    ASSERT_EQ(GetForegroundWindow(), desktop.Handle());
    ASSERT_EQ(FindWindowW(L"Progman", L"Program Manager"), desktop.Handle());
    dataModule.Watch().DetectActiveApplication(nullptr);
    ASSERT_EQ(steps.appIcons.size(), 1u);
    ASSERT_NE(steps.appIcons[0], nullptr);
    EXPECT_EQ(steps.appIcons[0]->Name(), RunningDesktopIconSetName());
    EXPECT_TRUE(steps.appIcons[0]->Loaded());
  }
  // Without a window reported and the desktop elsewhere: none.
  test::ThreadWindow other(true);
  ForceForegroundWindow(other.Handle(), true);
  dataModule.Watch().DetectActiveApplication(nullptr);
  ASSERT_EQ(steps.appIcons.size(), 2u);
  EXPECT_EQ(steps.appIcons[1], nullptr);
}

TEST_F(IconSetChoice, ADataModuleWithoutIconSetsHandsNone) {
  TDataDM dataModule(testing::ProcessInputRecords(), {.hookLibrary = test::MissingLibrary(), .parts = &steps});
  ForeignWindow notepad(L"notepad.exe", L"Notepad");
  dataModule.Watch().DetectActiveApplication(notepad.Handle());
  ASSERT_EQ(steps.appIcons.size(), 1u);
  EXPECT_EQ(steps.appIcons[0], nullptr);
}

}  // namespace
}  // namespace snibbet
