// The data module switching the program on and off: the hook library bound
// with the application window and unbound again, and the messages of each
// failure (the language table is not loaded here, so the texts are the
// English fallbacks, which data/Lang/en.txt repeats).
#include <gtest/gtest.h>

#include <stdexcept>

#include "core/version_info.h"
#include "hub/data_module.h"
#include "tests/unit/datamodule_test_support.h"
#include "tests/unit/input_records_support.h"
#include "ui/application.h"

namespace snibbet {
namespace {

using test::ActivateNotingReports;
using test::BoxWatcher;
using test::ThreadWindow;

const std::wstring kMissingHook = L"Function \"Hook\" is not found in the hook library SnibbetH.dll.";
const std::wstring kMissingUnHook = L"Function \"UnHook\" is not found in the hook library SnibbetH.dll.";
const std::wstring kStillLoaded =
    L"The hook library SnibbetH.dll is still loaded. Restart Orvane Paste to switch it on.";
const std::wstring kCannotLoad = L"Cannot load the hook library SnibbetH.dll.";

class DataModuleTest : public ::testing::Test {
 protected:
  void SetUp() override { ui::Application::Create({.title = L"Orvane Paste"}); }
  void TearDown() override { ui::Application::Destroy(); }

  // Runs `call` while a watcher answers the box it shows; the box's text.
  template <class Call>
  std::wstring BoxTextOf(Call call, bool expectedResult = false) {
    BoxWatcher watcher(IDOK);
    EXPECT_EQ(call(), expectedResult);
    const test::BoxSeen seen = watcher.Result();
    EXPECT_TRUE(seen.found) << "no message box";
    EXPECT_EQ(seen.caption, L"Error");
    return seen.text;
  }
};

TEST_F(DataModuleTest, StartHandsTheApplicationWindowToTheLibraryAndStopTakesItBack) {
  ThreadWindow first(true, L"first");
  ThreadWindow second(true, L"second");
  ActivateNotingReports(first.Handle(), nullptr);
  TDataDM dataModule(testing::ProcessInputRecords(), {.hookLibrary = test::StandInLibrary()});
  EXPECT_FALSE(dataModule.Switch().Active());

  const DWORD before = GetTickCount();
  ASSERT_TRUE(dataModule.Switch().Start());
  EXPECT_TRUE(dataModule.Switch().Active());
  EXPECT_TRUE(dataModule.Switch().HookLib().Hooked());
  EXPECT_EQ(dataModule.Watch().LastForegroundWindow(), first.Handle());
  EXPECT_LE(dataModule.Watch().LastActivityTick() - before, GetTickCount() - before);
  EXPECT_EQ(dataModule.Watch().tmrCheckVista().Enabled(), IsVistaOrLater());
  EXPECT_FALSE(IsWindowVisible(ui::ApplicationWindow()));

  const HWND app = ui::ApplicationWindow();
  EXPECT_EQ(ActivateNotingReports(second.Handle(), app), std::vector<HWND>{second.Handle()});
  EXPECT_FALSE(dataModule.Switch().Start()) << "a second Start does nothing";
  EXPECT_TRUE(dataModule.Switch().HookLib().Hooked());

  ASSERT_TRUE(dataModule.Switch().Stop());
  EXPECT_FALSE(dataModule.Switch().Active());
  EXPECT_FALSE(dataModule.Switch().HookLib().Loaded());
  EXPECT_FALSE(dataModule.Watch().tmrCheckVista().Enabled());
  EXPECT_TRUE(ActivateNotingReports(first.Handle(), app).empty()) << "nothing may follow UnHook";
  EXPECT_FALSE(dataModule.Switch().Stop()) << "a second Stop does nothing";

  // The tray item's switch goes both ways, any number of times.
  dataModule.Tray().pmiActiveClick();
  EXPECT_TRUE(dataModule.Switch().Active());
  EXPECT_EQ(ActivateNotingReports(second.Handle(), app), std::vector<HWND>{second.Handle()});
  dataModule.Tray().pmiActiveClick();
  EXPECT_FALSE(dataModule.Switch().Active());
  EXPECT_TRUE(dataModule.Switch().SetActive(true));
  EXPECT_TRUE(dataModule.Switch().SetActive(false));
}

TEST_F(DataModuleTest, WithoutHookTheFirstStartNamesItAndEveryLaterStartFindsTheLibraryLoaded) {
  TDataDM dataModule(testing::ProcessInputRecords(), {.hookLibrary = test::LibraryWithoutHook()});
  EXPECT_EQ(BoxTextOf([&] { return dataModule.Switch().Start(); }), kMissingHook);
  EXPECT_FALSE(dataModule.Switch().Active());
  EXPECT_TRUE(dataModule.Switch().HookLib().Loaded());
  EXPECT_EQ(BoxTextOf([&] { return dataModule.Switch().Start(); }), kStillLoaded);
  EXPECT_EQ(BoxTextOf([&] { return dataModule.Switch().Start(); }), kStillLoaded);
  EXPECT_FALSE(dataModule.Switch().Active());
  EXPECT_FALSE(dataModule.Switch().Stop()) << "inactive: nothing to stop, no message";
}

TEST_F(DataModuleTest, AMissingLibraryIsReportedAndNothingIsLoaded) {
  TDataDM dataModule(testing::ProcessInputRecords(), {.hookLibrary = test::MissingLibrary()});
  EXPECT_EQ(BoxTextOf([&] { return dataModule.Switch().Start(); }), kCannotLoad);
  EXPECT_FALSE(dataModule.Switch().HookLib().Loaded());
  // Nothing stays loaded, so the next Start tries the file again.
  EXPECT_EQ(BoxTextOf([&] { return dataModule.Switch().Start(); }), kCannotLoad);
}

TEST_F(DataModuleTest, WithoutUnHookStopNamesItAndTheProgramStaysActive) {
  ThreadWindow first(true, L"first");
  ThreadWindow second(true, L"second");
  ActivateNotingReports(first.Handle(), nullptr);
  TDataDM dataModule(testing::ProcessInputRecords(), {.hookLibrary = test::LibraryWithoutUnHook()});
  ASSERT_TRUE(dataModule.Switch().Start());
  EXPECT_EQ(BoxTextOf([&] { return dataModule.Switch().Stop(); }), kMissingUnHook);
  EXPECT_TRUE(dataModule.Switch().Active());
  EXPECT_TRUE(dataModule.Switch().HookLib().Loaded());
  EXPECT_TRUE(dataModule.Watch().tmrCheckVista().Enabled() == IsVistaOrLater());
  EXPECT_EQ(ActivateNotingReports(second.Handle(), ui::ApplicationWindow()), std::vector<HWND>{second.Handle()});
}

TEST_F(DataModuleTest, IsTheOneModuleAndTheApplicationsMessageHub) {
  {
    TDataDM dataModule(testing::ProcessInputRecords(), {.hookLibrary = test::MissingLibrary()});
    EXPECT_EQ(ui::Application::Get().Events(), &dataModule.Dispatch());
    EXPECT_THROW(TDataDM(testing::ProcessInputRecords(), {.hookLibrary = test::MissingLibrary()}), std::logic_error);
    // The refused one took nothing of the first one's claim.
    EXPECT_THROW(TDataDM(testing::ProcessInputRecords(), {.hookLibrary = test::MissingLibrary()}), std::logic_error);
    EXPECT_EQ(ui::Application::Get().Events(), &dataModule.Dispatch());
    EXPECT_TRUE(dataModule.ActionsChanged());
    EXPECT_FALSE(dataModule.Watch().FullScreenActive());
  }
  EXPECT_EQ(ui::Application::Get().Events(), nullptr);
  // Its end gave the claim up.
  EXPECT_NO_THROW(TDataDM(testing::ProcessInputRecords(), {.hookLibrary = test::MissingLibrary()}));
}

TEST_F(DataModuleTest, TakesThePicturesOfItsImageListsFromTheProgram) {
  const std::wstring program = test::ProgramDirFromEnvironment() + L"Snibbet.exe";
  HMODULE resources =
      LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(resources, nullptr);
  {
    TDataDM dataModule(testing::ProcessInputRecords(), {.hookLibrary = test::MissingLibrary(), .pictures = resources});
    EXPECT_EQ(dataModule.Tray().ilMain().Count(), 53);
    EXPECT_EQ(dataModule.Tray().ilTrayIcons().Count(), 13);
    EXPECT_EQ(dataModule.Tray().ilMain().ImageSize().cx, 16);
    // A key picture for each of the view's picture indexes.
    EXPECT_EQ(dataModule.Look().ilKeys().Count(), 25);
    EXPECT_EQ(dataModule.Look().ilKeys().ImageSize().cy, 16);
  }
  FreeLibrary(resources);
}

TEST_F(DataModuleTest, TouchActivityTickKeepsTheClockWithinFiveMilliseconds) {
  TDataDM dataModule(testing::ProcessInputRecords(), {.hookLibrary = test::MissingLibrary()});
  dataModule.Watch().TouchActivityTick();
  const DWORD first = dataModule.Watch().LastActivityTick();
  EXPECT_LE(GetTickCount() - first, 5u);
  while (GetTickCount() - first < 10) Sleep(2);
  const DWORD later = GetTickCount();
  dataModule.Watch().TouchActivityTick();
  EXPECT_GE(dataModule.Watch().LastActivityTick() - first, later - first);
}

}  // namespace
}  // namespace snibbet
