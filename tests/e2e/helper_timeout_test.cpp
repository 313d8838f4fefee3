// The ten-second safety time-out of the real SnibbetCm.exe: a block that the
// main program never ends must not leave the keyboard dead.
#include <gtest/gtest.h>

#include "helper/helper_protocol.h"
#include "tests/e2e/helper_e2e_support.h"

namespace snibbet::helper_e2e {
namespace {

class HelperTimeoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(helper.Window(), nullptr) << "SnibbetCm.exe did not start";
    ASSERT_TRUE(helper.Send(WM_HELPER_HOOKS_ON));
    ASSERT_TRUE(target.Activate());
    ASSERT_TRUE(Xdotool("keydown h"));
    ASSERT_TRUE(PumpUntil([] { return !SeenOf(WM_KEYDOWN).empty(); }, 3000));
    target.ClearText();
    SeenMessages().clear();
  }

  // With a block started just now and never ended: physical keys stay held
  // back for ten seconds (a physical key does not extend the block), then the
  // next physical key, the release of h, ends it: both come back in the order
  // they happened, the a typed meanwhile, then h's release.
  void ExpectTheBlockToTimeOut() {
    PumpFor(1000);
    ASSERT_TRUE(Xdotool("type a"));
    PumpFor(9500);
    EXPECT_EQ(target.Text(), L"") << "still blocked before ten seconds";
    EXPECT_TRUE(SeenOf(WM_KEYUP).empty());

    ASSERT_TRUE(Xdotool("keyup h"));
    ASSERT_TRUE(PumpUntil([] { return SeenOf(WM_KEYUP).size() >= 2; }, 3000));
    std::vector<WPARAM> released;
    for (const Seen& s : SeenOf(WM_KEYUP)) released.push_back(s.wParam);
    EXPECT_EQ(released, (std::vector<WPARAM>{'A', 'H'}));
    EXPECT_TRUE(PumpUntil([&] { return target.Text() == L"a"; }, 3000)) << "the a typed during the block arrives";
    EXPECT_FALSE(KeyHeld('H'));

    ASSERT_TRUE(Xdotool("type z"));
    EXPECT_TRUE(PumpUntil([&] { return target.Text() == L"az"; }, 3000)) << "typing works again";
  }

  HelperProcess helper;
  TargetWindow target;
};

TEST_F(HelperTimeoutTest, BlockWithoutUnblockEndsAtTheFirstPhysicalKeyAfterTenSeconds) {
  ASSERT_TRUE(helper.Send(WM_HELPER_BLOCK_INPUT));
  ExpectTheBlockToTimeOut();
}

TEST_F(HelperTimeoutTest, BlockOfAKilledSenderEndsTheSameWay) {
  auto peer = StartBlockingPeer(helper.Window(), false);
  ASSERT_NE(peer, nullptr);
  peer->Kill();
  ExpectTheBlockToTimeOut();
}

}  // namespace
}  // namespace snibbet::helper_e2e
