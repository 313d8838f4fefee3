#include "helper/mouse_relay.h"

#include <gtest/gtest.h>

#include "helper/helper_protocol.h"
#include "tests/unit/helper_fakes.h"

namespace snibbet::helper {
namespace {

using testing::FakeClock;
using testing::FakeInjector;
using testing::FakeMainWindow;
using testing::FakeTimer;
using testing::Log;

MouseEvent At(MouseAction action, int x, int y, MouseButton button = MouseButton::Left) {
  MouseEvent event;
  event.action = action;
  event.button = button;
  event.x = x;
  event.y = y;
  return event;
}

MouseEvent Wheel(int x, int y, std::uint32_t data) {
  MouseEvent event = At(MouseAction::Wheel, x, y);
  event.mouseData = data;
  return event;
}

class MouseRelayTest : public ::testing::Test {
 protected:
  std::vector<unsigned> PostedMessages() const {
    std::vector<unsigned> messages;
    for (const auto& p : main.posted) messages.push_back(p.message);
    return messages;
  }

  Log log;
  FakeClock clock;
  FakeInjector injector{log};
  FakeMainWindow blockerMain;  // the block's own look-ups are not the relay's
  FakeTimer timer;
  KeyBlocker blocker{clock, injector, blockerMain, timer};
  FakeMainWindow main;
  MouseRelay relay{clock, main, blocker};
};

TEST_F(MouseRelayTest, ButtonsPostDownAndTrackWithThePackedPosition) {
  for (MouseButton button : {MouseButton::Left, MouseButton::Middle, MouseButton::Right}) {
    EXPECT_EQ(relay.OnMouse(At(MouseAction::ButtonDown, 300, 200, button)), Verdict::Pass);
    EXPECT_EQ(relay.OnMouse(At(MouseAction::ButtonUp, 301, 202, button)), Verdict::Pass);
  }
  ASSERT_EQ(main.posted.size(), 6u);
  EXPECT_EQ(main.posted[0].window, main.window);
  EXPECT_EQ(main.posted[0].message, WM_HELPER_MOUSE_DOWN);
  EXPECT_EQ(main.posted[0].wParam, 0u);
  EXPECT_EQ(main.posted[0].lParam, (200 << 16) | 300);
  EXPECT_EQ(main.posted[1].message, WM_HELPER_MOUSE_TRACK);
  EXPECT_EQ(main.posted[1].lParam, (202 << 16) | 301);
  EXPECT_EQ(main.lookups, 1) << "the main window is looked up once and remembered";
}

TEST_F(MouseRelayTest, PointsLeftOfOrAboveThePrimaryMonitorKeepTheirSign) {
  relay.OnMouse(At(MouseAction::ButtonDown, -1680, -30));
  ASSERT_EQ(main.posted.size(), 1u);
  EXPECT_EQ(CursorXFromPacked(main.posted[0].lParam), -1680);
  EXPECT_EQ(CursorYFromPacked(main.posted[0].lParam), -30);
}

TEST_F(MouseRelayTest, MovesAreTrackWhileAnyButtonIsHeldElseThrottledHover) {
  relay.OnMouse(At(MouseAction::ButtonDown, 1, 1, MouseButton::Right));
  relay.OnMouse(At(MouseAction::Move, 5, 6));
  relay.OnMouse(At(MouseAction::Move, 5, 7));
  relay.OnMouse(At(MouseAction::ButtonUp, 5, 7, MouseButton::Right));
  main.posted.clear();

  for (Tick dt : {0u, 10u, 29u, 30u, 59u, 61u}) {
    clock.now = 100000 + dt;
    relay.OnMouse(At(MouseAction::Move, 9, 9));
  }
  ASSERT_EQ(main.posted.size(), 3u);  // at +0, +30, +61
  for (const auto& p : main.posted) {
    EXPECT_EQ(p.message, WM_HELPER_MOUSE_HOVER);
    EXPECT_EQ(p.lParam, 0);
  }
}

TEST_F(MouseRelayTest, HoverThatFindsNoWindowStillCounts) {
  main.window = 0;
  relay.OnMouse(At(MouseAction::Move, 9, 9));
  clock.now += 10;
  relay.OnMouse(At(MouseAction::Move, 9, 9));
  EXPECT_EQ(main.lookups, 1);
  clock.now += 20;
  relay.OnMouse(At(MouseAction::Move, 9, 9));
  EXPECT_EQ(main.lookups, 2) << "an unfound window is looked up again at the next relay";
}

TEST_F(MouseRelayTest, CapturedWheelIsSwallowedAndRelayedWithItsData) {
  EXPECT_EQ(relay.OnMouse(Wheel(40, 50, 0x00780000u)), Verdict::Pass);
  relay.SetWheelCapture(true);
  EXPECT_EQ(relay.OnMouse(Wheel(40, 50, 0xFF880000u)), Verdict::Swallow);
  EXPECT_EQ(relay.OnMouse(Wheel(0, 0, 0x00780000u)), Verdict::Swallow) << "swallowed though (0, 0) is not relayed";
  relay.SetWheelCapture(false);
  EXPECT_EQ(relay.OnMouse(Wheel(40, 50, 0x00780000u)), Verdict::Pass);

  ASSERT_EQ(PostedMessages(), (std::vector<unsigned>{WM_HELPER_MOUSE_TRACK, WM_HELPER_MOUSE_WHEEL, WM_HELPER_MOUSE_TRACK}));
  EXPECT_EQ(main.posted[1].wParam, 0xFF880000u);
  EXPECT_EQ(main.posted[1].lParam, (50 << 16) | 40);
}

TEST_F(MouseRelayTest, NothingIsPostedWhileBlockingButButtonsAndWheelCaptureStillCount) {
  blocker.Start();
  relay.SetWheelCapture(true);
  relay.OnMouse(At(MouseAction::Move, 1, 1));
  relay.OnMouse(At(MouseAction::ButtonDown, 1, 1));
  EXPECT_EQ(relay.OnMouse(Wheel(3, 3, 0x00780000u)), Verdict::Swallow);
  EXPECT_TRUE(main.posted.empty());
  EXPECT_EQ(main.lookups, 0);

  blocker.Stop();
  clock.now += 1;
  relay.OnMouse(At(MouseAction::Move, 2, 2));
  EXPECT_EQ(PostedMessages(), (std::vector<unsigned>{WM_HELPER_MOUSE_TRACK})) << "the button went down while blocking";
  relay.OnMouse(At(MouseAction::ButtonUp, 2, 2));
  relay.OnMouse(At(MouseAction::Move, 2, 2));
  EXPECT_EQ(main.posted.back().message, WM_HELPER_MOUSE_HOVER) << "a blocked hover does not start the 30 ms";
}

TEST_F(MouseRelayTest, MainWindowWithoutOwnerGetsNothingUntilForgotten) {
  main.owner = 0;
  relay.OnMouse(At(MouseAction::ButtonDown, 1, 1));
  main.owner = 0x2000;  // the window gained an owner, or another main window appeared
  relay.OnMouse(At(MouseAction::ButtonUp, 1, 1));
  EXPECT_TRUE(main.posted.empty());
  EXPECT_EQ(main.lookups, 1);

  relay.ForgetMainWindow();
  main.window = 0x3000;
  main.owner = 0x4000;
  relay.OnMouse(At(MouseAction::ButtonDown, 1, 1));
  ASSERT_EQ(main.posted.size(), 1u);
  EXPECT_EQ(main.posted[0].window, 0x3000u);
}

TEST_F(MouseRelayTest, OtherMouseMessagesPassUntouched) {
  EXPECT_EQ(relay.OnMouse(At(MouseAction::Other, 1, 1)), Verdict::Pass);
  EXPECT_TRUE(main.posted.empty());
}

}  // namespace
}  // namespace snibbet::helper
