#include "helper/input_helper.h"

#include <gtest/gtest.h>

#include "helper/helper_protocol.h"
#include "tests/unit/helper_fakes.h"

namespace snibbet::helper {
namespace {

using testing::FakeClock;
using testing::FakeHooks;
using testing::FakeInjector;
using testing::FakeMainWindow;
using testing::FakeTimer;
using testing::Log;

KeyEvent PhysicalPress(std::uint32_t vk) { return {vk, false, false, false}; }
KeyEvent PhysicalRelease(std::uint32_t vk) { return {vk, true, false, false}; }

class InputHelperTest : public ::testing::Test {
 protected:
  Log log;
  FakeClock clock;
  FakeInjector injector{log};
  FakeHooks hooks{log};
  FakeMainWindow main;
  FakeTimer timer;
  InputHelper helper{clock, injector, hooks, main, timer};
};

TEST_F(InputHelperTest, CommandsDriveBlockWheelAndMainWindow) {
  EXPECT_FALSE(helper.OnCommand(WM_HELPER_HOOKS_ON - 1));
  EXPECT_FALSE(helper.OnCommand(0x0002));
  EXPECT_TRUE(helper.OnCommand(WM_HELPER_BLOCK_INPUT));
  EXPECT_TRUE(helper.Blocker().Blocking());
  EXPECT_TRUE(timer.running);
  helper.OnKey(PhysicalRelease('A'));
  EXPECT_TRUE(helper.OnCommand(WM_HELPER_UNBLOCK_INPUT));
  EXPECT_FALSE(helper.Blocker().Blocking());
  EXPECT_FALSE(timer.running);
  EXPECT_EQ(log, (Log{"release 65", "pause 10"}));
  main.lookups = 0;  // the block's own look-up; the relay's are counted below

  EXPECT_TRUE(helper.OnCommand(WM_HELPER_WHEEL_CAPTURE_ON));
  EXPECT_TRUE(helper.Relay().WheelCapture());
  EXPECT_TRUE(helper.OnCommand(WM_HELPER_WHEEL_CAPTURE_OFF));
  EXPECT_FALSE(helper.Relay().WheelCapture());

  helper.OnMouse({MouseAction::ButtonDown, MouseButton::Left, 1, 1, 0});
  EXPECT_TRUE(helper.OnCommand(WM_HELPER_RESET_MAIN_WINDOW));
  helper.OnMouse({MouseAction::ButtonUp, MouseButton::Left, 1, 1, 0});
  EXPECT_EQ(main.lookups, 2);
}

TEST_F(InputHelperTest, HooksOnInstallsOnceAndForgetsTheKeysOnlyWhenItInstallsTheKeyboardHook) {
  helper.OnKey(PhysicalPress('C'));  // its release may never reach a hook that is not there
  helper.OnCommand(WM_HELPER_BLOCK_INPUT);
  helper.OnKey(PhysicalRelease('A'));
  helper.OnKey(PhysicalPress('D'));
  helper.OnCommand(WM_HELPER_HOOKS_ON);
  EXPECT_EQ(log, (Log{"install keyboard", "install mouse"}));
  EXPECT_EQ(helper.Blocker().NotedRelease('A'), KeyBlocker::Mark::None);

  log.clear();
  helper.OnKey(PhysicalRelease('B'));
  helper.OnKey(PhysicalPress('C'));  // a new press, not an auto-repeat
  helper.OnCommand(WM_HELPER_HOOKS_ON);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(helper.Blocker().NotedRelease('B'), KeyBlocker::Mark::Plain);
  helper.OnCommand(WM_HELPER_UNBLOCK_INPUT);
  EXPECT_EQ(log, (Log{"release 66", "pause 10", "keys +67"})) << "D's press was forgotten with the old hook";
}

TEST_F(InputHelperTest, HooksOffDuringABlockReplaysTheHeldBackKeysBeforeTheKeyboardHookGoes) {
  helper.OnCommand(WM_HELPER_HOOKS_ON);
  helper.OnCommand(WM_HELPER_WHEEL_CAPTURE_ON);
  helper.OnCommand(WM_HELPER_BLOCK_INPUT);
  helper.OnKey(PhysicalRelease('K'));
  helper.OnKey(PhysicalPress('L'));
  log.clear();
  helper.OnCommand(WM_HELPER_HOOKS_OFF);
  EXPECT_EQ(log, (Log{"remove mouse", "release 75", "pause 10", "keys +76", "remove keyboard"}));
  EXPECT_FALSE(helper.Blocker().Blocking());
  EXPECT_FALSE(timer.running);
  EXPECT_TRUE(helper.Relay().WheelCapture()) << "wheel capture survives hook removal";

  log.clear();
  helper.OnCommand(WM_HELPER_HOOKS_OFF);
  EXPECT_TRUE(log.empty());
}

TEST_F(InputHelperTest, InstallFailuresAreReportedAndRetriedAtTheNextHooksOn) {
  hooks.failInstall[0] = hooks.failInstall[1] = true;
  helper.OnCommand(WM_HELPER_HOOKS_ON);
  EXPECT_EQ(hooks.failures, (std::vector<HookFailure>{HookFailure::KeyboardInstall, HookFailure::MouseInstall}));

  hooks.failInstall[0] = hooks.failInstall[1] = false;
  log.clear();
  helper.OnCommand(WM_HELPER_HOOKS_ON);
  EXPECT_EQ(log, (Log{"install keyboard", "install mouse"}));
}

TEST_F(InputHelperTest, RemovalFailuresAreReportedAndLeaveNoHookOrBlock) {
  helper.OnCommand(WM_HELPER_HOOKS_ON);
  helper.OnCommand(WM_HELPER_BLOCK_INPUT);
  hooks.failRemove[0] = hooks.failRemove[1] = true;
  helper.RemoveHooks();
  EXPECT_EQ(hooks.failures, (std::vector<HookFailure>{HookFailure::MouseRemove, HookFailure::KeyboardRemove}));
  EXPECT_FALSE(hooks.IsInstalled(HookKind::Keyboard));
  EXPECT_FALSE(hooks.IsInstalled(HookKind::Mouse));
  EXPECT_FALSE(helper.Blocker().Blocking());
}

TEST(HookFailureText, NamesTheHookAndTheStep) {
  EXPECT_EQ(HookFailureText(HookFailure::KeyboardInstall), L"Error hook WH_KEYBOARD_LL for blocking!");
  EXPECT_EQ(HookFailureText(HookFailure::MouseInstall), L"Error hook WH_MOUSE_LL!");
  EXPECT_EQ(HookFailureText(HookFailure::KeyboardRemove), L"Error unhook WH_KEYBOARD_LL for blocking!");
  EXPECT_EQ(HookFailureText(HookFailure::MouseRemove), L"Error unhook WH_MOUSE_LL!");
}

TEST(CursorPacking, KeepsSixteenBitsPerAxisAndReadsThemBackSigned) {
  EXPECT_EQ(PackCursorPos(0x1234, 0x5678), 0x56781234);
  EXPECT_EQ(PackCursorPos(-1, -2), 0xFFFEFFFF) << "the packed value is not sign-extended beyond 32 bits";
  for (int x : {0, 1, 1279, -1, -1920, 32767, -32768}) {
    const std::intptr_t packed = PackCursorPos(x, -x / 2);
    EXPECT_EQ(CursorXFromPacked(packed), x);
    EXPECT_EQ(CursorYFromPacked(packed), -x / 2);
  }
}

}  // namespace
}  // namespace snibbet::helper
