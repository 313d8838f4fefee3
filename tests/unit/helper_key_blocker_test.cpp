#include "helper/key_blocker.h"

#include <gtest/gtest.h>

#include <string>

#include "helper/helper_protocol.h"
#include "tests/unit/helper_fakes.h"

namespace snibbet::helper {
namespace {

using testing::FakeClock;
using testing::FakeInjector;
using testing::FakeMainWindow;
using testing::FakeTimer;
using testing::Log;

constexpr std::uint32_t kRight = 0x27;  // extended keys
constexpr std::uint32_t kHome = 0x24;
constexpr std::uint32_t kLeftShift = 0xA0;

KeyEvent Physical(std::uint32_t vk, bool release, bool extended = false) { return {vk, release, extended, false}; }
KeyEvent Injected(std::uint32_t vk, bool release) { return {vk, release, false, true}; }
KeyEvent Own(std::uint32_t vk, bool release) { return {vk, release, false, true, kSnibbetInputMarker}; }
KeyEvent Replayed(std::uint32_t vk, bool release) { return {vk, release, false, true, kHelperReplayMarker}; }

class KeyBlockerTest : public ::testing::Test {
 protected:
  void Type(std::uint32_t vk, bool extended = false) {
    blocker.OnKey(Physical(vk, false, extended));
    blocker.OnKey(Physical(vk, true, extended));
  }

  Log log;
  FakeClock clock;
  FakeInjector injector{log};
  FakeMainWindow main;
  FakeTimer timer;
  KeyBlocker blocker{clock, injector, main, timer};
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

TEST_F(KeyBlockerTest, ReplaysTheHeldBackKeysInTheOrderTheyHappenedThenForgetsThem) {
  blocker.OnKey(Physical('S', false));  // held before the block
  blocker.Start();
  blocker.OnKey(Physical(kRight, true, true));  // held before the block, unseen by us
  blocker.OnKey(Physical('B', false));
  blocker.OnKey(Physical('S', true));
  blocker.OnKey(Physical('A', false));
  blocker.OnKey(Physical('B', true));
  Type(kHome, true);
  blocker.OnKey(Physical('A', true));
  blocker.Stop();
  EXPECT_FALSE(blocker.Blocking());
  EXPECT_EQ(log, (Log{"release 39 ext", "pause 10", "keys +66", "release 83", "pause 10", "keys +65 -66 +36x -36x -65"}));

  log.clear();
  blocker.Stop();
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(blocker.OnKey(Physical('C', false)), Verdict::Pass);
}

TEST_F(KeyBlockerTest, ReleasesOfKeysHeldBeforeTheBlockReplayInTheOrderReleasedEachFollowedByAPause) {
  blocker.Start();
  for (std::uint32_t vk : {0x43u, 0x41u, 0xA5u, 0x42u}) blocker.OnKey(Physical(vk, true));
  blocker.Stop();
  EXPECT_EQ(log, (Log{"release 67", "pause 10", "release 65", "pause 10", "release 165", "pause 10", "release 66",
                      "pause 10"}));
}

TEST_F(KeyBlockerTest, LettersTypedWhileShiftIsHeldFromBeforeTheBlockKeepTheirShift) {
  blocker.OnKey(Physical(kLeftShift, false));
  blocker.Start();
  Type('C');
  Type('D');
  blocker.OnKey(Physical(kLeftShift, true));
  blocker.Stop();
  EXPECT_EQ(log, (Log{"keys +67 -67 +68 -68", "release 160", "pause 10"}));
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

TEST_F(KeyBlockerTest, SafetyTimeoutEndsTheBlockAtTheFirstPhysicalKeyAfterTenSecondsAndDeliversItLast) {
  blocker.Start();
  blocker.OnKey(Physical('H', true));
  Type('Q');
  clock.now += KeyBlocker::kSafetyTimeoutMs;
  EXPECT_EQ(blocker.OnKey(Physical('X', false)), Verdict::Swallow);
  EXPECT_TRUE(blocker.Blocking()) << "exactly ten seconds is not more than ten";
  EXPECT_TRUE(log.empty());

  clock.now += 1;
  EXPECT_EQ(blocker.OnKey(Physical('X', true)), Verdict::Swallow) << "swallowed here, typed with the replay";
  EXPECT_FALSE(blocker.Blocking());
  EXPECT_EQ(log, (Log{"release 72", "pause 10", "keys +81 -81 +88 -88"})) << "the key that ended the block comes last";
  EXPECT_EQ(blocker.OnKey(Physical('Y', false)), Verdict::Pass);
}

TEST_F(KeyBlockerTest, OwnKeysAndARepeatedStartMoveTheTimeoutForward) {
  blocker.Start();
  clock.now += 9000;
  blocker.OnKey(Own('A', false));
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

TEST_F(KeyBlockerTest, KeysHeldBackWhileTheReplayIsSentBelongToTheNextBlock) {
  blocker.Start();
  Type('B');
  bool nested = false;
  injector.onSend = [&](int vk) {
    if (vk != 'B' || nested) return;
    nested = true;
    blocker.Start();
    Type('Z');
  };
  blocker.Stop();
  EXPECT_TRUE(blocker.Blocking());
  blocker.Stop();
  EXPECT_EQ(log, (Log{"keys +66 -66", "keys +90 -90"}));
}

TEST_F(KeyBlockerTest, AKeyTypedWhileTheReplayIsSentFollowsItInsteadOfOvertakingIt) {
  blocker.Start();
  Type('A');
  bool typed = false;
  injector.onSend = [&](int vk) {
    if (vk != 'A' || typed) return;
    typed = true;
    // Delivered by a nested hook call while our replay is on its way.
    EXPECT_EQ(blocker.OnKey(Physical('B', false)), Verdict::Swallow);
    EXPECT_EQ(blocker.OnKey(Replayed('A', false)), Verdict::Pass);
    EXPECT_EQ(blocker.OnKey(Physical('B', true)), Verdict::Swallow);
  };
  blocker.Stop();
  EXPECT_FALSE(blocker.Blocking());
  EXPECT_EQ(log, (Log{"keys +65 -65", "keys +66 -66"}));
  EXPECT_EQ(blocker.OnKey(Physical('C', false)), Verdict::Pass);
}

// Our sends run nested hook calls and the main program's commands. Whatever
// they start or end, each held-back key is typed once, after the ones before
// it, and none while a block started meanwhile is on.
TEST_F(KeyBlockerTest, ABlockStartedAndEndedWhileTheReplayIsSentTypesItsKeysOnceAfterTheRest) {
  blocker.OnKey(Physical(kLeftShift, false));
  blocker.Start();
  blocker.OnKey(Physical(kLeftShift, true));
  Type('A');
  bool nested = false;
  injector.onSend = [&](int vk) {
    if (vk != static_cast<int>(kLeftShift) || nested) return;
    nested = true;
    blocker.Start();
    Type('B');
    blocker.Stop();
  };
  blocker.Stop();
  EXPECT_EQ(log, (Log{"release 160", "pause 10", "keys +65 -65 +66 -66"}));
  EXPECT_FALSE(blocker.Blocking());

  log.clear();
  blocker.Start();
  blocker.Stop();
  EXPECT_TRUE(log.empty()) << "nothing is left to type twice";
}

TEST_F(KeyBlockerTest, ABlockStartedWhileTheReplayIsSentKeepsTheKeysNotYetTypedForItsEnd) {
  blocker.OnKey(Physical(kLeftShift, false));
  blocker.Start();
  blocker.OnKey(Physical(kLeftShift, true));
  Type('A');
  injector.onSend = [&](int vk) {
    if (vk == static_cast<int>(kLeftShift)) blocker.Start();
  };
  blocker.Stop();
  EXPECT_EQ(log, (Log{"release 160", "pause 10"})) << "the main program types now: no key of the user's among its own";
  EXPECT_TRUE(blocker.Blocking());
  EXPECT_EQ(blocker.OnKey(Physical('C', false)), Verdict::Swallow);

  injector.onSend = nullptr;
  blocker.Stop();
  EXPECT_EQ(log, (Log{"release 160", "pause 10", "keys +65 -65 +67"}));
  EXPECT_FALSE(blocker.Blocking());
}

TEST_F(KeyBlockerTest, AStopTakenWhileTheReplayIsSentLeavesTheTypingToIt) {
  blocker.Start();
  Type('A');
  bool nested = false;
  injector.onSend = [&](int) {
    if (nested) return;
    nested = true;
    blocker.Stop();  // a command processed during our send
    Type('B');       // and a key typed meanwhile
  };
  blocker.Stop();
  EXPECT_EQ(log, (Log{"keys +65 -65", "keys +66 -66"}));
  EXPECT_FALSE(blocker.Blocking());
  EXPECT_EQ(blocker.OnKey(Physical('C', false)), Verdict::Pass);
}

TEST_F(KeyBlockerTest, AFullQueueNeverDropsTheReleaseOfAKeyHeldFromBeforeTheBlock) {
  blocker.OnKey(Physical(kLeftShift, false));
  blocker.Start();
  blocker.OnKey(Physical(kLeftShift, true));
  for (std::size_t i = 0; i < KeyBlocker::kQueueLimit; ++i) Type('B');
  blocker.Stop();
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[0], "release 160");
  EXPECT_TRUE(log[2].starts_with("keys +66 -66")) << log[2];
  EXPECT_TRUE(log[2].ends_with("+66 -66")) << log[2];
}

TEST_F(KeyBlockerTest, AutoRepeatsAreNotKeptWhereverTheKeyWentDown) {
  blocker.OnKey(Physical(' ', false));  // the hotkey's Space, held a little long
  Type('X');                            // up again before the block: a new press in it counts
  blocker.Start();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(blocker.OnKey(Physical(' ', false)), Verdict::Swallow);
  blocker.OnKey(Physical(' ', true));
  blocker.OnKey(Physical('A', false));
  for (int i = 0; i < 3; ++i) blocker.OnKey(Physical('A', false));
  blocker.OnKey(Physical('A', true));
  Type('X');
  blocker.Stop();
  EXPECT_EQ(log, (Log{"release 32", "pause 10", "keys +65 -65 +88 -88"}));
}

TEST_F(KeyBlockerTest, PressWhoseReleaseComesAfterTheBlockIsReplayedAlone) {
  blocker.Start();
  blocker.OnKey(Physical(kRight, false, true));
  blocker.Stop();
  EXPECT_EQ(log, (Log{"keys +39x"}));
  EXPECT_EQ(blocker.OnKey(Physical(kRight, false, true)), Verdict::Pass) << "an auto-repeat after the block";
  EXPECT_EQ(blocker.OnKey(Physical(kRight, true, true)), Verdict::Pass);

  // Replayed in one block, released in the next: its press passed, so the
  // release is of the held-before kind.
  log.clear();
  blocker.Start();
  blocker.OnKey(Physical('D', false));
  blocker.Stop();
  blocker.Start();
  blocker.OnKey(Physical('D', true));
  blocker.Stop();
  EXPECT_EQ(log, (Log{"keys +68", "release 68", "pause 10"}));
}

TEST_F(KeyBlockerTest, FullQueueDropsTheOldestPressWithItsReleaseAndNeverKeepsALoneRelease) {
  blocker.Start();
  blocker.OnKey(Physical('A', false));
  for (int i = 0; i < 127; ++i) Type('B');
  blocker.OnKey(Physical('C', false));  // the 256th event
  blocker.OnKey(Physical('A', true));   // drops A's press, so A's release goes too
  EXPECT_EQ(blocker.NotedRelease('A'), KeyBlocker::Mark::None) << "not taken for a key held before the block";
  blocker.OnKey(Physical('D', false));
  blocker.OnKey(Physical('D', true));  // drops the first B with its queued release
  blocker.OnKey(Physical('C', true));
  blocker.Stop();

  std::string expected = "keys";
  for (int i = 0; i < 126; ++i) expected += " +66 -66";
  expected += " +67 +68 -68 -67";
  EXPECT_EQ(log, (Log{expected}));
}

TEST_F(KeyBlockerTest, BlockEndsOnceTheMainWindowFoundAtItsStartIsGone) {
  blocker.Start();
  EXPECT_TRUE(timer.running);
  EXPECT_EQ(timer.intervalMs, KeyBlocker::kMainWindowCheckMs);
  Type('A');
  blocker.OnTimer();
  EXPECT_TRUE(blocker.Blocking()) << "the window is still there";

  main.window = 0;
  blocker.OnTimer();
  EXPECT_FALSE(blocker.Blocking());
  EXPECT_FALSE(timer.running);
  EXPECT_EQ(log, (Log{"keys +65 -65"}));

  // Gone between two ticks: the next swallowed key ends the block and is delivered.
  log.clear();
  main.window = 0x1000;
  blocker.Start();
  main.window = 0;
  EXPECT_EQ(blocker.OnKey(Physical('B', false)), Verdict::Swallow);
  EXPECT_FALSE(blocker.Blocking());
  EXPECT_FALSE(timer.running);
  EXPECT_EQ(log, (Log{"keys +66"}));
}

TEST_F(KeyBlockerTest, WithoutAMainWindowAtTheStartOnlyTheTimeoutEndsTheBlock) {
  main.window = 0;
  blocker.Start();
  EXPECT_FALSE(timer.running);
  Type('A');
  blocker.OnTimer();
  EXPECT_TRUE(blocker.Blocking());
  EXPECT_TRUE(log.empty());

  clock.now += KeyBlocker::kSafetyTimeoutMs + 1;
  Type('B');
  EXPECT_FALSE(blocker.Blocking());
  EXPECT_EQ(log, (Log{"keys +65 -65 +66"}));
}

TEST_F(KeyBlockerTest, OnlyOwnKeysMoveTheTimeoutAndNoMarkedOrInjectedKeyIsHeldBack) {
  blocker.Start();
  clock.now += 9000;
  EXPECT_EQ(blocker.OnKey(Own('A', false)), Verdict::Pass);
  EXPECT_EQ(blocker.OnKey(Own('A', true)), Verdict::Pass);
  clock.now += 9000;
  for (bool release : {false, true}) {
    EXPECT_EQ(blocker.OnKey(Replayed('B', release)), Verdict::Pass);
    EXPECT_EQ(blocker.OnKey(Injected('C', release)), Verdict::Pass);
  }
  KeyEvent markedNotInjected = Physical('E', false);
  markedNotInjected.extraInfo = kHelperReplayMarker;
  EXPECT_EQ(blocker.OnKey(markedNotInjected), Verdict::Pass) << "the marker decides, not the injected flag";
  EXPECT_EQ(blocker.OnKey(Physical('X', false)), Verdict::Swallow);
  EXPECT_TRUE(blocker.Blocking()) << "nine seconds since the main program's own key";

  clock.now += 1001;
  blocker.OnKey(Physical('X', true));
  EXPECT_FALSE(blocker.Blocking()) << "replays and other programs' keys did not keep the block alive";
  EXPECT_EQ(log, (Log{"keys +88 -88"}));
}

}  // namespace
}  // namespace snibbet::helper
