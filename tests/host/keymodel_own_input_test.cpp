// The program's own typing: held keys released before it, held modifiers
// pressed again after it, nothing left down that the user does not hold.
#include <gtest/gtest.h>

#include "keyboard/key_model.h"
#include "keymodel_fakes.h"

namespace snibbet {
namespace {

using testing::CountingView;
using testing::FakeInput;
using testing::FakeLayouts;
using testing::SentKey;

class OwnInput : public ::testing::Test {
 protected:
  OwnInput() : model(layouts, input, &tables) {
    model.ApplyLayout(testing::BuiltInLayout(), L"Standard");
    model.SetView(&view);
    model.SetPainting(true);
  }

  FakeLayouts layouts;
  FakeInput input;
  CharTableCache tables;
  TQvKeyboard model;
  CountingView view;
};

TEST_F(OwnInput, HeldKeysComeUpAndOnlyModifiersGoDownAgain) {
  input.Physical(model, kVkLeftShift, true);
  input.Physical(model, 'A', true);
  input.Physical(model, kVkRightCtrl, true);

  model.BeginOwnInput();
  EXPECT_TRUE(input.systemDown.empty());
  EXPECT_FALSE(model.Painting());
  const std::vector<SentKey> released = {{27, true, false}, {65, true, false}, {160, true, false},
                                         {163, true, true}, {27, true, false}};
  EXPECT_EQ(input.sent, released);
  EXPECT_EQ(model.PressedCount(), 3);  // the model still shows what the user holds

  input.sent.clear();
  model.EndOwnInput();
  const std::vector<SentKey> restored = {{27, true, false}, {160, false, false}, {163, false, true}, {27, true, false}};
  EXPECT_EQ(input.sent, restored);
  EXPECT_TRUE(model.Painting());

  // The user lets go: the system ends with nothing held.
  for (int code : {kVkLeftShift, int{'A'}, kVkRightCtrl}) input.Physical(model, code, false);
  EXPECT_TRUE(input.systemDown.empty());
  EXPECT_EQ(model.PressedCount(), 0);
}

TEST_F(OwnInput, KeysComeUpWithTheExtendedFlagOfTheirLastEvent) {
  model.Button(kVkReturn)->SetExtended(true);  // the keypad Enter
  input.Physical(model, kVkReturn, true);
  model.ReleaseHeldKeys();
  EXPECT_EQ(input.SentWithoutEsc(), (std::vector<SentKey>{{13, true, true}}));
}

TEST_F(OwnInput, NestedBracketsActOnlyAtTheOutermost) {
  input.Physical(model, kVkLeftAlt, true);
  model.BeginOwnInput();
  const std::size_t afterFirst = input.sent.size();
  model.BeginOwnInput();
  model.EndOwnInput();
  EXPECT_EQ(input.sent.size(), afterFirst);  // nothing pressed again mid-typing
  EXPECT_FALSE(model.Painting());
  model.EndOwnInput();
  EXPECT_TRUE(model.Painting());
  EXPECT_EQ(input.systemDown, (std::set<int>{kVkLeftAlt}));

  input.sent.clear();
  model.EndOwnInput();  // unmatched: nothing
  EXPECT_TRUE(input.sent.empty());
  EXPECT_TRUE(model.Painting());
}

TEST_F(OwnInput, PaintingStaysOffWhenItWasOff) {
  model.SetPainting(false);
  model.BeginOwnInput();
  model.EndOwnInput();
  EXPECT_FALSE(model.Painting());
}

TEST_F(OwnInput, RestoreCanPressEveryHeldKey) {
  input.Physical(model, 'B', true);
  input.Physical(model, kVkLeftWin, true);
  model.SaveHeldKeys();
  EXPECT_TRUE(model.HeldSnapshot('B'));
  EXPECT_FALSE(model.HeldSnapshot('C'));
  model.RestoreHeldKeys(false);
  EXPECT_EQ(input.SentWithoutEsc(), (std::vector<SentKey>{{66, false, false}, {91, false, true}}));
  EXPECT_EQ(input.sent.back(), (SentKey{27, true, false}));
}

TEST_F(OwnInput, ResentTabLeavesNoAltHeldOnEitherSide) {
  input.Physical(model, kVkLeftAlt, true);
  input.Physical(model, kVkRightAlt, true);
  input.Physical(model, kVkTab, true);
  model.ResendKey(kVkTab);
  const std::vector<SentKey> expected = {{164, true, false}, {165, true, true}, {9, false, false}};
  EXPECT_EQ(input.sent, expected);
}

TEST_F(OwnInput, ResentKeyIsReleasedWhenTheUserAlreadyLetGo) {
  // Still held: the user's own release follows later.
  input.Physical(model, 36, true);
  model.ResendKey(36);  // Home: an extended key
  EXPECT_EQ(input.sent, (std::vector<SentKey>{{36, false, true}}));

  // Let go while the pop-up held the key back: nothing would ever release it.
  input.Physical(model, 36, false);
  input.sent.clear();
  model.ResendKey(36);
  EXPECT_EQ(input.sent, (std::vector<SentKey>{{36, false, true}, {36, true, true}}));
  EXPECT_EQ(input.systemDown.count(36), 0u);

  input.sent.clear();
  model.ResendKey('A');
  EXPECT_EQ(input.sent, (std::vector<SentKey>{{65, false, false}, {65, true, false}}));
}

}  // namespace
}  // namespace snibbet
