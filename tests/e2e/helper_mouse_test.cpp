// The mouse relay of the real SnibbetCm.exe, with physical mouse events from
// xdotool over a window of this process; a stand-in receives the relays.
#include <gtest/gtest.h>

#include "helper/helper_protocol.h"
#include "helper/mouse_relay.h"
#include "tests/e2e/helper_e2e_support.h"

namespace snibbet::helper_e2e {
namespace {

class HelperMouseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(helper.Window(), nullptr) << "SnibbetCm.exe did not start";
    ASSERT_TRUE(helper.Send(WM_HELPER_HOOKS_ON));
    ASSERT_TRUE(target.Activate());
    SeenMessages().clear();
  }

  // Clicks physically at (x, y) on the target window, below its EDIT.
  void Click(int x, int y, int button = 1) {
    ASSERT_TRUE(Xdotool("mousemove " + std::to_string(x) + " " + std::to_string(y) + " click " +
                        std::to_string(button)));
  }

  HelperProcess helper;
  TargetWindow target{RECT{100, 100, 600, 400}};
};

TEST_F(HelperMouseTest, ClicksPostDownAndTrackWithThePackedPositionButNotDuringABlock) {
  MainWindowStandIn main(true);
  for (int button : {1, 2, 3}) {
    SeenMessages().clear();
    Click(200 + button, 250, button);
    ASSERT_TRUE(PumpUntil([&] { return !SeenOf(WM_HELPER_MOUSE_DOWN, main.Window()).empty(); }, 3000)) << button;
    const Seen down = SeenOf(WM_HELPER_MOUSE_DOWN, main.Window())[0];
    EXPECT_EQ(down.wParam, 0u);
    EXPECT_EQ(down.lParam, PackCursorPos(200 + button, 250));
    ASSERT_TRUE(PumpUntil([&] { return !SeenOf(WM_HELPER_MOUSE_TRACK, main.Window()).empty(); }, 3000))
        << "the release is relayed as a track";
    EXPECT_EQ(SeenOf(WM_HELPER_MOUSE_TRACK, main.Window()).back().lParam, PackCursorPos(200 + button, 250));
  }

  ASSERT_TRUE(helper.Send(WM_HELPER_BLOCK_INPUT));
  SeenMessages().clear();
  Click(300, 300);
  PumpFor(400);
  EXPECT_TRUE(SeenOf(WM_HELPER_MOUSE_DOWN).empty());
  EXPECT_TRUE(SeenOf(WM_HELPER_MOUSE_TRACK).empty());
  ASSERT_TRUE(helper.Send(WM_HELPER_UNBLOCK_INPUT));
}

TEST_F(HelperMouseTest, MainWindowWithoutOwnerGetsNothingAndAfterResetANewMainWindowIsFound) {
  {
    MainWindowStandIn ownerless(false);
    Click(250, 250);
    PumpFor(400);
    EXPECT_TRUE(SeenOf(WM_HELPER_MOUSE_DOWN).empty());
  }
  MainWindowStandIn restarted(true);
  Click(251, 250);
  PumpFor(400);
  EXPECT_TRUE(SeenOf(WM_HELPER_MOUSE_DOWN).empty()) << "the ownerless window is remembered until the reset";

  helper.Post(WM_HELPER_RESET_MAIN_WINDOW);
  PumpFor(100);
  Click(252, 250);
  ASSERT_TRUE(PumpUntil([&] { return !SeenOf(WM_HELPER_MOUSE_DOWN, restarted.Window()).empty(); }, 3000));
  EXPECT_EQ(SeenOf(WM_HELPER_MOUSE_DOWN, restarted.Window())[0].lParam, PackCursorPos(252, 250));
}

TEST_F(HelperMouseTest, HoverComesAtMostOnceEveryThirtyMilliseconds) {
  MainWindowStandIn main(true);
  std::string moves;
  for (int i = 0; i < 80; ++i) moves += "mousemove " + std::to_string(150 + 4 * i) + " 300 sleep 0.004 ";
  // The helper reads the tick count when its hook sees a move; a hover's own
  // time stamp is taken later, when it is posted, by a delay that varies. So
  // the hovers are counted against ticks that bracket every reading: none
  // came before the moves began, none after the last hover arrived.
  const DWORD movesBegin = GetTickCount();
  ASSERT_TRUE(Xdotool(moves));
  DWORD lastArrival = GetTickCount();
  std::size_t arrived = SeenOf(WM_HELPER_MOUSE_HOVER, main.Window()).size();
  PumpUntil([&] {
    if (const std::size_t now = SeenOf(WM_HELPER_MOUSE_HOVER, main.Window()).size(); now != arrived) {
      arrived = now;
      lastArrival = GetTickCount();
    }
    return false;
  }, 300);

  const auto hovers = SeenOf(WM_HELPER_MOUSE_HOVER, main.Window());
  ASSERT_GE(hovers.size(), 4u) << "moves with no button held are relayed as hovers";
  EXPECT_LE((hovers.size() - 1) * helper::MouseRelay::kHoverIntervalMs, lastArrival - movesBegin)
      << hovers.size() << " hovers within " << lastArrival - movesBegin << " ms";
  for (const Seen& hover : hovers) EXPECT_EQ(hover.lParam, 0);
  EXPECT_TRUE(SeenOf(WM_HELPER_MOUSE_TRACK).empty()) << "no button was held";
}

TEST_F(HelperMouseTest, CapturedWheelIsSwallowedAndRelayedAndUncapturedItReachesTheWindow) {
  MainWindowStandIn main(true);
  ASSERT_TRUE(Xdotool("mousemove 300 320"));
  ASSERT_TRUE(helper.Send(WM_HELPER_WHEEL_CAPTURE_ON));
  SeenMessages().clear();
  ASSERT_TRUE(Xdotool("click 5"));  // one notch towards the user
  ASSERT_TRUE(PumpUntil([&] { return !SeenOf(WM_HELPER_MOUSE_WHEEL, main.Window()).empty(); }, 3000));
  PumpFor(300);
  const Seen wheel = SeenOf(WM_HELPER_MOUSE_WHEEL, main.Window())[0];
  EXPECT_EQ(static_cast<short>(HIWORD(wheel.wParam)), -WHEEL_DELTA);
  EXPECT_EQ(wheel.lParam, PackCursorPos(300, 320));
  EXPECT_TRUE(SeenOf(WM_MOUSEWHEEL).empty()) << "the captured wheel is swallowed";

  ASSERT_TRUE(helper.Send(WM_HELPER_WHEEL_CAPTURE_OFF));
  SeenMessages().clear();
  ASSERT_TRUE(Xdotool("click 4"));
  ASSERT_TRUE(PumpUntil([] { return !SeenOf(WM_MOUSEWHEEL).empty(); }, 3000));
  PumpFor(200);
  EXPECT_EQ(static_cast<short>(HIWORD(SeenOf(WM_MOUSEWHEEL)[0].wParam)), WHEEL_DELTA);
  EXPECT_TRUE(SeenOf(WM_HELPER_MOUSE_WHEEL).empty());
  ASSERT_FALSE(SeenOf(WM_HELPER_MOUSE_TRACK, main.Window()).empty()) << "an uncaptured wheel is a track";
  EXPECT_EQ(SeenOf(WM_HELPER_MOUSE_TRACK, main.Window())[0].lParam, PackCursorPos(300, 320));
}

}  // namespace
}  // namespace snibbet::helper_e2e
