#include <gtest/gtest.h>

#include <vector>

#include "keyboard/actions.h"

namespace snibbet {
namespace {

constexpr std::uint16_t kNone = TQvActions::kNoPosition;

// What the list tells its port, noted.
class NotedChanges : public BindingListPort {
 public:
  void ListChanged() override { ++changes; }
  void PictureRemoved(std::uint8_t key, ControlSet set) override { removedPictures.push_back({key, set}); }
  void BindingFreed(const TQvAction& a) override { freed.push_back(&a); }

  int changes = 0;
  std::vector<std::pair<std::uint8_t, ControlSet>> removedPictures;
  std::vector<const TQvAction*> freed;
};

class BindingList : public ::testing::Test {
 protected:

  std::vector<std::pair<int, int>> Order() const {
    std::vector<std::pair<int, int>> order;
    for (std::size_t i = 0; i < list.Size(); ++i) order.push_back({list.At(i).Key(), list.At(i).Modifiers()});
    return order;
  }
  void ExpectOnlyIndexed(std::initializer_list<std::tuple<int, int, int>> expected) {
    std::array<TQvActions::IndexEntry, 256> want;
    want.fill({kNone, kNone});
    for (auto [key, first, last] : expected) want[key] = {static_cast<std::uint16_t>(first), static_cast<std::uint16_t>(last)};
    for (int key = 0; key < 256; ++key) EXPECT_EQ(list.IndexOf(static_cast<std::uint8_t>(key)), want[key]) << "key " << key;
  }

  NotedChanges noted;
  int& changes = noted.changes;
  std::vector<std::pair<std::uint8_t, ControlSet>>& removedPictures = noted.removedPictures;
  std::vector<const TQvAction*>& freed = noted.freed;
  TQvActions list{&noted};
};

TEST_F(BindingList, EmptyListHasNoIndexAndFindsNothing) {
  ExpectOnlyIndexed({});
  EXPECT_EQ(list.Find(32, 0x80, 0x80), nullptr);
  EXPECT_EQ(list.FindPlain(0), nullptr);
  EXPECT_EQ(list.FindPlain(255), nullptr);
  EXPECT_EQ(list.FindByKind(0, 0), nullptr);
}

TEST_F(BindingList, AddKeepsKeyThenSetOrderInEveryInsertionOrder) {
  const std::vector<std::pair<std::uint8_t, ControlSet>> bindings = {{65, 0x20}, {65, 0x00}, {66, 0x10}};
  const std::vector<std::pair<int, int>> sorted = {{65, 0x00}, {65, 0x20}, {66, 0x10}};
  std::vector<int> perm = {0, 1, 2};
  do {
    TQvActions fresh;
    for (int i : perm) ASSERT_NE(fresh.Add(bindings[i].first, bindings[i].second), nullptr);
    std::vector<std::pair<int, int>> order;
    for (std::size_t i = 0; i < fresh.Size(); ++i) order.push_back({fresh.At(i).Key(), fresh.At(i).Modifiers()});
    EXPECT_EQ(order, sorted);
    EXPECT_EQ(fresh.IndexOf(65), (TQvActions::IndexEntry{0, 1}));
    EXPECT_EQ(fresh.IndexOf(66), (TQvActions::IndexEntry{2, 2}));
    EXPECT_EQ(fresh.IndexOf(64), (TQvActions::IndexEntry{kNone, kNone}));
    EXPECT_EQ(fresh.IndexOf(67), (TQvActions::IndexEntry{kNone, kNone}));
  } while (std::next_permutation(perm.begin(), perm.end()));
}

TEST_F(BindingList, AddingAnExistingBindingReturnsItAndStillReportsAChange) {
  TQvAction* first = list.Add(32, 0x80);
  first->SetKind(8);
  first->SetParam(1);
  changes = 0;
  TQvAction* again = list.Add(32, 0x80);
  EXPECT_EQ(again, first);
  EXPECT_EQ(list.Size(), 1u);
  EXPECT_EQ(again->Kind(), 8);
  EXPECT_EQ(again->Param(), 1);
  EXPECT_EQ(changes, 1);
}

TEST_F(BindingList, KeyZeroNeedsAModifier) {
  EXPECT_EQ(list.Add(0, 0), nullptr);
  EXPECT_EQ(list.Size(), 0u);
  EXPECT_EQ(changes, 0);
  TQvAction* chord = list.Add(0, 0x90);  // a chord of modifiers only
  ASSERT_NE(chord, nullptr);
  EXPECT_EQ(list.Find(0, 0x90, 0x90), chord);
  ExpectOnlyIndexed({{0, 0, 0}});
}

TEST_F(BindingList, FindMatchesTheSideSpecificOrTheSideLessSet) {
  TQvAction* hotkey = list.Add(32, 0x80);  // left-side bit: either Win key
  EXPECT_EQ(list.Find(32, 0x80, 0x80), hotkey);
  EXPECT_EQ(list.Find(32, 0x08, 0x80), hotkey);  // right Win held
  EXPECT_EQ(list.Find(32, 0x20, 0x20), nullptr);
  EXPECT_EQ(list.Find(32, 0x88, 0x80), hotkey);  // both Win keys
  EXPECT_EQ(list.Find(32, 0xA0, 0xA0), nullptr);  // Win+Ctrl is another chord
  EXPECT_EQ(list.FindPlain(32), nullptr);
  EXPECT_EQ(list.Find(33, 0x80, 0x80), nullptr);
}

TEST_F(BindingList, RightSideBindingFiresOnlyForThatSide) {
  TQvAction* rightCtrl = list.Add(65, 0x02);
  EXPECT_EQ(list.Find(65, 0x02, 0x20), rightCtrl);
  EXPECT_EQ(list.Find(65, 0x20, 0x20), nullptr);  // left Ctrl
}

TEST_F(BindingList, FindTakesTheFirstMatchInListOrder) {
  TQvAction* sideLess = list.Add(65, 0x20);
  TQvAction* exact = list.Add(65, 0x02);
  // The list holds (65,0x02) before (65,0x20): the side-specific one wins for right Ctrl.
  EXPECT_EQ(list.Find(65, 0x02, 0x20), exact);
  EXPECT_EQ(list.Find(65, 0x20, 0x20), sideLess);
}

TEST_F(BindingList, FindPlainOnlyAnswersTheBindingWithoutModifiers) {
  list.Add(20, 0x80);
  EXPECT_EQ(list.FindPlain(20), nullptr);
  TQvAction* plain = list.Add(20, 0);
  EXPECT_EQ(list.FindPlain(20), plain);
  EXPECT_EQ(list.Find(20, 0, 0), plain);
}

TEST_F(BindingList, FindByKindTakesTheFirstInListOrder) {
  TQvAction* later = list.Add(90, 0x80);
  later->SetKind(9);
  TQvAction* earlier = list.Add(10, 0x80);
  earlier->SetKind(9);
  list.Add(50, 0x80)->SetKind(8);
  EXPECT_EQ(list.FindByKind(9, 0), earlier);
  EXPECT_EQ(list.FindByKind(8, 0), list.Find(50, 0x80, 0x80));
  EXPECT_EQ(list.FindByKind(8, 1), nullptr);
}

TEST_F(BindingList, DeleteKeepsTheIndexRight) {
  list.Add(65, 0x00);
  list.Add(65, 0x20);
  list.Add(65, 0x40);
  list.Add(66, 0x10);
  list.Add(200, 0x80);
  changes = 0;
  list.Delete(65, 0x20);
  EXPECT_EQ(changes, 0);  // only Add marks the bindings menu stale
  EXPECT_EQ(Order(), (std::vector<std::pair<int, int>>{{65, 0}, {65, 0x40}, {66, 0x10}, {200, 0x80}}));
  ExpectOnlyIndexed({{65, 0, 1}, {66, 2, 2}, {200, 3, 3}});
  EXPECT_EQ(removedPictures, (std::vector<std::pair<std::uint8_t, ControlSet>>{{65, 0x20}}));
  list.Delete(66, 0x10);
  ExpectOnlyIndexed({{65, 0, 1}, {200, 2, 2}});
  EXPECT_EQ(list.Find(200, 0x80, 0x80), &list.At(2));
  list.Delete(65, 0);
  list.Delete(65, 0x40);
  ExpectOnlyIndexed({{200, 0, 0}});
  EXPECT_EQ(freed.size(), 4u);
}

TEST_F(BindingList, DeleteNeedsTheExactSet) {
  list.Add(32, 0x80);
  list.Delete(32, 0x08);      // the right-side set is not the stored one
  list.Delete(33, 0x80);      // no such key
  list.Delete(32, 0);         // no plain binding
  EXPECT_EQ(list.Size(), 1u);
  EXPECT_TRUE(removedPictures.empty());
  EXPECT_TRUE(freed.empty());
}

TEST_F(BindingList, ClearFreesEverythingWithoutReportingAChange) {
  list.Add(1, 0x80);
  list.Add(255, 0);
  list.BuildSortedList();
  changes = 0;
  list.Clear();
  EXPECT_EQ(list.Size(), 0u);
  EXPECT_TRUE(list.Sorted().empty());  // no references to freed bindings remain
  ExpectOnlyIndexed({});
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(freed.size(), 2u);
}

TEST_F(BindingList, RebindingTheTemplateHotkeyLeavesOneBinding) {
  for (int round = 0; round < 2; ++round) {
    list.Clear();
    TQvAction* b = list.Add(32, 0x80);
    b->SetKind(8);
    b->SetParam(1);
  }
  ASSERT_EQ(list.Size(), 1u);
  EXPECT_EQ(list.FindByKind(8, 1), list.Find(32, 0x80, 0x80));
}

TEST_F(BindingList, LoadingDefersIndexAndChangeUntilReindex) {
  list.Add(70, 0);
  changes = 0;
  list.loading = true;
  list.Add(10, 0);
  list.Add(70, 0x10);
  EXPECT_EQ(changes, 0);
  // The stale index never leads a lookup past the list.
  EXPECT_NO_FATAL_FAILURE(list.Find(70, 0x10, 0x10));
  list.loading = false;
  list.Reindex();
  ExpectOnlyIndexed({{10, 0, 0}, {70, 1, 2}});
  EXPECT_EQ(list.Find(70, 0x10, 0x10), &list.At(2));
}

TEST_F(BindingList, TheListStopsGrowingWhereTheIndexEnds) {
  list.loading = true;
  std::size_t added = 0;
  for (int key = 1; key < 256 && added < TQvActions::kMaxBindings; ++key) {
    for (int set = 0; set < 300 && added < TQvActions::kMaxBindings; ++set, ++added) {
      ASSERT_NE(list.Add(static_cast<std::uint8_t>(key), static_cast<ControlSet>(set)), nullptr);
    }
  }
  EXPECT_EQ(list.Add(255, 0x1FF), nullptr);
  EXPECT_NE(list.Add(1, 0), nullptr);  // an existing binding is still found
  list.loading = false;
  list.Reindex();
  EXPECT_EQ(list.Size(), TQvActions::kMaxBindings);
  EXPECT_EQ(list.IndexOf(1).first, 0);
  const auto last = list.IndexOf(list.At(list.Size() - 1).Key());
  EXPECT_EQ(last.second, TQvActions::kMaxBindings - 1);
  EXPECT_LT(last.second, kNone);
}

TEST_F(BindingList, SortedListFollowsTheCatalogueOrderThenParam) {
  // Kinds in catalogue order: 0, 5, 6, 3, 7, 4, 8, 11, 12, 10, 13, 9, 14, 1, 2.
  const std::vector<std::tuple<int, int, int>> bindings = {
      {10, 2, 0}, {11, 9, 1}, {12, 8, 4}, {13, 8, 1}, {14, 5, 0}, {15, 9, 0}, {16, 1, 0}, {17, 200, 0}};
  for (auto [key, kind, param] : bindings) {
    TQvAction* b = list.Add(static_cast<std::uint8_t>(key), 0);
    b->SetKind(static_cast<std::uint8_t>(kind));
    b->SetParam(static_cast<std::uint8_t>(param));
  }
  list.BuildSortedList();
  std::vector<int> keys;
  for (const TQvAction* b : list.Sorted()) keys.push_back(b->Key());
  // 5 | 8/1, 8/4 | 9/0, 9/1 | 1 | 2 | unknown kind last
  EXPECT_EQ(keys, (std::vector<int>{14, 13, 12, 15, 11, 16, 10, 17}));
  EXPECT_EQ(list.Size(), 8u);  // the list itself keeps its key order
  EXPECT_EQ(list.At(0).Key(), 10);
  list.FreeSortedList();
  EXPECT_TRUE(list.Sorted().empty());
}

TEST_F(BindingList, SortedListIsASelectionSortOfEqualRanks) {
  // Three bindings of equal rank: the selection sort's swap moves the first
  // behind the others once a smaller one is found after them.
  for (int key : {1, 2, 3}) list.Add(static_cast<std::uint8_t>(key), 0)->SetKind(8);
  list.Add(4, 0)->SetKind(0);
  list.BuildSortedList();
  std::vector<int> keys;
  for (const TQvAction* b : list.Sorted()) keys.push_back(b->Key());
  EXPECT_EQ(keys, (std::vector<int>{4, 2, 3, 1}));
}

TEST_F(BindingList, DeletedBindingLeavesTheSortedList) {
  list.Add(1, 0);
  list.Add(2, 0);
  list.BuildSortedList();
  list.Delete(1, 0);
  ASSERT_EQ(list.Sorted().size(), 1u);
  EXPECT_EQ(list.Sorted()[0]->Key(), 2);
}

TEST(Binding, SetKindResetsAndStampsOnlyOnAChange) {
  TQvAction b;
  b.SetParam(0);
  b.SetText(L"");
  b.SetCondition(1);  // the condition carries no time
  EXPECT_EQ(b.ChangedAt(), std::chrono::system_clock::time_point{});
  b.SetKind(3);
  b.SetText(L"hello");
  b.SetParam(4);
  b.data = {1, 2, 3};
  b.SetPercent(55);
  b.SetCount(7);
  b.SetCondition(2);
  b.SetPicture(std::make_unique<ActionPicture>());
  const auto stamped = b.ChangedAt();
  EXPECT_NE(stamped, decltype(stamped){});

  b.SetKind(3);  // same kind: nothing resets
  EXPECT_EQ(b.Text(), L"hello");
  EXPECT_EQ(b.Param(), 4);

  b.SetKind(5);
  EXPECT_EQ(b.Kind(), 5);
  EXPECT_EQ(b.Param(), 0);
  EXPECT_TRUE(b.Text().empty());
  EXPECT_TRUE(b.data.empty());
  EXPECT_EQ(b.Percent(), 10);
  EXPECT_EQ(b.Count(), 1);
  EXPECT_EQ(b.Picture(), nullptr);
  EXPECT_EQ(b.Condition(), 2);  // the condition survives a reset
}

}  // namespace
}  // namespace snibbet
