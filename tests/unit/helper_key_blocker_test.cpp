#include "helper/key_blocker.h"

#include <gtest/gtest.h>

#include "tests/unit/helper_fakes.h"

namespace snibbet::helper {
namespace {

using testing::FakeClock;
using testing::FakeInjector;
using testing::Log;

constexpr std::uint32_t kRight = 0x27;  // an extended key

KeyEvent Physical(std::uint32_t vk, bool release, bool extended = false) { return {vk, release, extended, false}; }
KeyEvent Injected(std::uint32_t vk, bool release) { return {vk, release, false, true}; }

class KeyBlockerTest : public ::testing::Test {
 protected:
  Log log;
  FakeClock clock;
  FakeInjector injector{log};
  KeyBlocker blocker{clock, injector};
};

TEST_F(KeyBlockerTest, PassesEverythingAndNotesNothingWhenNotBlocking) {
  EXPECT_EQ(blocker.OnKey(Physical('A', false)), Verdict::Pass);
  EXPECT_EQ(blocker.OnKey(Physical('A', true)), Verdict::Pass);
  blocker.Stop();
  EXPECT_TRUE(log.empty());
}

TEST_F(KeyBlockerTest, SwallowsPhysicalKeysAndPassesInjectedOnes) {
  blocker.Start();
  EXPECT_EQ(blocker.OnKey(Physical('A', false)), Verdict::Swallow);
  EXPECT_EQ(blocker.OnKey(Injected('B', false)), Verdict::Pass);
  EXPECT_EQ(blocker.OnKey(Injected('B', true)), Verdict::Pass);
  EXPECT_EQ(blocker.NotedRelease('B'), KeyBlocker::Mark::None);
}

TEST_F(KeyBlockerTest, ReplaysOnlyReleasesWithTheirExtendedFlagThenForgetsThem) {
  blocker.Start();
  blocker.OnKey(Physical(kRight, true, true));  // held before the block
  blocker.OnKey(Physical('Q', false));          // pressed and released during it
  blocker.OnKey(Physical('Q', true));
  blocker.Stop();
  EXPECT_FALSE(blocker.Blocking());
  EXPECT_EQ(log, (Log{"release 39 ext", "pause 10", "release 81", "pause 10"}));

  log.clear();
  blocker.Stop();
  EXPECT_TRUE(log.empty());
}

TEST_F(KeyBlockerTest, ReplaysInAscendingKeyOrderWhateverTheReleaseOrder) {
  blocker.Start();
  for (std::uint32_t vk : {0x43u, 0x41u, 0xA5u, 0x42u}) blocker.OnKey(Physical(vk, true));
  blocker.Stop();
  EXPECT_EQ(log, (Log{"release 65", "pause 10", "release 66", "pause 10", "release 67", "pause 10", "release 165",
                      "pause 10"}));
}

TEST_F(KeyBlockerTest, LaterReleaseOfTheSameKeyDecidesTheFlag) {
  blocker.Start();
  blocker.OnKey(Physical(0x0D, true, true));
  blocker.OnKey(Physical(0x0D, true, false));
  EXPECT_EQ(blocker.NotedRelease(0x0D), KeyBlocker::Mark::Plain);
}

TEST_F(KeyBlockerTest, CodesOutsideOneTo255AreSwallowedButNeverNoted) {
  blocker.Start();
  for (std::uint32_t vk : {0u, 256u, 511u, 0x10000u, 0xFFFFFFFFu}) {
    EXPECT_EQ(blocker.OnKey(Physical(vk, true, true)), Verdict::Swallow) << vk;
    EXPECT_EQ(blocker.NotedRelease(vk), KeyBlocker::Mark::None) << vk;
  }
  blocker.OnKey(Physical(255, true));
  blocker.Stop();
  EXPECT_EQ(log, (Log{"release 255", "pause 10"}));
}

TEST_F(KeyBlockerTest, SafetyTimeoutEndsTheBlockAtTheFirstPhysicalKeyAfterTenSeconds) {
  blocker.Start();
  blocker.OnKey(Physical('H', true));
  clock.now += KeyBlocker::kSafetyTimeoutMs;
  EXPECT_EQ(blocker.OnKey(Physical('X', false)), Verdict::Swallow);
  EXPECT_TRUE(blocker.Blocking()) << "exactly ten seconds is not more than ten";
  EXPECT_TRUE(log.empty());

  clock.now += 1;
  EXPECT_EQ(blocker.OnKey(Physical('X', true)), Verdict::Swallow) << "the key that ends the block is swallowed";
  EXPECT_FALSE(blocker.Blocking());
  EXPECT_EQ(log, (Log{"release 72", "pause 10", "release 88", "pause 10"})) << "its own release is replayed too";
  EXPECT_EQ(blocker.OnKey(Physical('Y', false)), Verdict::Pass);
}

TEST_F(KeyBlockerTest, InjectedKeysAndARepeatedStartMoveTheTimeoutForward) {
  blocker.Start();
  clock.now += 9000;
  blocker.OnKey(Injected('A', false));
  clock.now += 9000;
  blocker.Start();
  clock.now += 9000;
  EXPECT_EQ(blocker.OnKey(Physical('X', false)), Verdict::Swallow);
  EXPECT_TRUE(blocker.Blocking());
  clock.now += 1001;
  blocker.OnKey(Physical('X', false));
  EXPECT_FALSE(blocker.Blocking());
}

TEST_F(KeyBlockerTest, TimeoutCountsAcrossTheTickCountWrap) {
  clock.now = 0xFFFFF000u;
  blocker.Start();
  clock.now += 9000;  // wraps past zero
  blocker.OnKey(Physical('X', false));
  EXPECT_TRUE(blocker.Blocking());
  clock.now += 1001;
  blocker.OnKey(Physical('X', false));
  EXPECT_FALSE(blocker.Blocking());
}

TEST_F(KeyBlockerTest, ReleaseNotedAgainWhileItsReplayIsSentIsKept) {
  blocker.Start();
  blocker.OnKey(Physical('A', true));
  injector.onSend = [&](int vk) {
    if (vk != 'A') return;
    blocker.Start();  // a new block and a new release arrive nested in the send
    blocker.OnKey(Physical('A', true));
  };
  blocker.Stop();
  EXPECT_EQ(blocker.NotedRelease('A'), KeyBlocker::Mark::Plain);
}

}  // namespace
}  // namespace snibbet::helper
