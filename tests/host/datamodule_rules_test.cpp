// The input helper search (one look, a start, then up to 51 looks 100 ms
// apart) and the 5 ms step of the activity clock.
#include <gtest/gtest.h>

#include <vector>

#include "core/input_helper_search.h"

namespace snibbet {
namespace {

// A helper that appears at look number `appearsAt` (1-based; 0: never).
struct FakeDesktop {
  int appearsAt = 0;
  int looks = 0;
  int launches = 0;
  int launchedAtLook = -1;
  std::vector<unsigned> waits{};
  bool endAfterWait = false;

  InputHelperSearchPorts Ports() {
    return {
        .look = [this] { return ++looks == appearsAt; },
        .launch = [this] { ++launches; launchedAtLook = looks; },
        .wait = [this](unsigned ms) { waits.push_back(ms); return !endAfterWait; },
    };
  }
};

TEST(InputHelperSearch, AHelperAlreadyRunningIsReusedWithoutAStart) {
  FakeDesktop desktop{.appearsAt = 1};
  EXPECT_EQ(SearchInputHelper(desktop.Ports()), InputHelperSearchResult::FoundRunning);
  EXPECT_EQ(desktop.launches, 0);
  EXPECT_TRUE(desktop.waits.empty());
}

TEST(InputHelperSearch, AStartedHelperIsLookedForUntilItAppears) {
  FakeDesktop desktop{.appearsAt = 4};
  EXPECT_EQ(SearchInputHelper(desktop.Ports()), InputHelperSearchResult::FoundStarted);
  EXPECT_EQ(desktop.launches, 1);
  EXPECT_EQ(desktop.launchedAtLook, 1) << "started right after the first look";
  EXPECT_EQ(desktop.waits, (std::vector<unsigned>{100, 100}));
}

TEST(InputHelperSearch, ASlowHelperIsStillFoundAtTheLastLook) {
  FakeDesktop desktop{.appearsAt = 1 + kInputHelperLooks};
  EXPECT_EQ(SearchInputHelper(desktop.Ports()), InputHelperSearchResult::FoundStarted);
  EXPECT_EQ(desktop.waits.size(), 50u);
}

TEST(InputHelperSearch, GivesUpAfterFiftyOneLooksAHundredMillisecondsApart) {
  FakeDesktop desktop;
  EXPECT_EQ(SearchInputHelper(desktop.Ports()), InputHelperSearchResult::NotFound);
  EXPECT_EQ(desktop.launches, 1);
  EXPECT_EQ(desktop.looks, 1 + 51);
  EXPECT_EQ(desktop.waits, std::vector<unsigned>(51, 100u));
}

TEST(InputHelperSearch, StopsLookingWhenTheProgramEnds) {
  FakeDesktop desktop{.endAfterWait = true};
  EXPECT_EQ(SearchInputHelper(desktop.Ports()), InputHelperSearchResult::Abandoned);
  EXPECT_EQ(desktop.looks, 2);
}

TEST(ActivityTick, MovesOnlyAfterFiveMillisecondsAlsoAcrossTheWrap) {
  EXPECT_FALSE(ActivityTickDue(1000, 1000));
  EXPECT_FALSE(ActivityTickDue(1004, 1000));
  EXPECT_TRUE(ActivityTickDue(1005, 1000));
  // The tick count wrapped: 0xFFFFFFFE -> 3 is 5 ms later.
  EXPECT_TRUE(ActivityTickDue(3, 0xFFFFFFFEu));
  EXPECT_FALSE(ActivityTickDue(2, 0xFFFFFFFEu));
  // A stored time "in the future" (a signed difference would be negative) is far past.
  EXPECT_TRUE(ActivityTickDue(1000, 1001));
}

}  // namespace
}  // namespace snibbet
