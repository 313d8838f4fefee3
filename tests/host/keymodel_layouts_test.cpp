// Keys linked across keyboard layouts and the per-layout character tables,
// over a fake layout service (the real system cannot be made to load an
// arbitrary layout).
#include <gtest/gtest.h>

#include "keyboard/key_model.h"
#include "keymodel_fakes.h"

namespace snibbet {
namespace {

using testing::FakeInput;
using testing::FakeLayouts;
using testing::kSwapped;
using testing::kUs;

class Layouts : public ::testing::Test {
 protected:
  Layouts() : model(layouts, input, &tables) { model.ApplyLayout(testing::BuiltInLayout(), L"Standard"); }

  int LinkOf(int code) const {
    const TQvBtn* linked = model.Button(code)->Linked();
    return linked ? linked->Code() : 0;
  }

  FakeLayouts layouts;
  FakeInput input;
  CharTableCache tables;
  TQvKeyboard model;
};

TEST_F(Layouts, SwappedLettersLinkCrosswise) {
  model.SetLayout(kSwapped);
  EXPECT_EQ(LinkOf(65), 81);
  EXPECT_EQ(LinkOf(81), 65);
  EXPECT_EQ(model.LinkedKeyMap(81), 65);
  EXPECT_EQ(model.LinkedKeyMap(65), 81);
  EXPECT_EQ(LinkOf(87), 90);
  EXPECT_EQ(LinkOf(90), 87);
  for (int same : {69, 83, 77, 186, 49}) {
    EXPECT_EQ(LinkOf(same), same) << same;
    EXPECT_EQ(model.LinkedKeyMap(same), same) << same;
  }
}

TEST_F(Layouts, SwitchingBackLinksEveryKeyToItselfAgain) {
  // The swapped layout also puts the apostrophe key where US English has "2":
  // the digit key, which is never relinked itself, gives up its place.
  struct MovedApostrophe : FakeLayouts {
    unsigned VirtualKeyToScanCode(unsigned code, LayoutHandle layout) override {
      if (layout == kSwapped && code == 222) return 0x03;
      return FakeLayouts::VirtualKeyToScanCode(code, layout);
    }
  } moved;
  TQvKeyboard other(moved, input, &tables);
  other.ApplyLayout(testing::BuiltInLayout(), L"Standard");
  other.SetLayout(kSwapped);
  EXPECT_EQ(other.Button(222)->Linked(), other.Button(50));
  EXPECT_EQ(other.Button(50)->Linked(), nullptr);

  other.SetLayout(kUs);
  for (int code = 1; code <= 255; ++code) {
    if (const TQvBtn* key = other.Button(code)) {
      EXPECT_EQ(key->Linked(), key) << code;
    }
    EXPECT_EQ(other.LinkedKeyMap(code), code);
  }
}

TEST_F(Layouts, KeysHeldAcrossASwitchAreReleased) {
  model.SetKeyPressed(65, true);
  model.SetKeyPressed(81, true);
  model.SetKeyPressed(kVkLeftShift, true);
  model.SetLayout(kSwapped);
  EXPECT_FALSE(model.IsKeyPressed(65));
  EXPECT_FALSE(model.IsKeyPressed(81));
  EXPECT_TRUE(model.IsKeyPressed(kVkLeftShift));
  EXPECT_EQ(model.PressedCount(), 1);
  EXPECT_EQ(model.KeyState()[65], 0);
}

TEST_F(Layouts, UsLayoutIsLoadedOnlyWhenMissingAndAlwaysUnloaded) {
  model.SetLayout(kSwapped);
  EXPECT_TRUE(layouts.loaded.empty());

  layouts.installed = {kSwapped};
  model.SetLayout(kUs);
  model.SetLayout(kSwapped);
  EXPECT_EQ(layouts.loaded.size(), 2u);
  EXPECT_EQ(layouts.unloaded, layouts.loaded);
  EXPECT_EQ(LinkOf(65), 81);
}

TEST_F(Layouts, WithoutTheUsLayoutKeysStayLinkedToThemselves) {
  layouts.installed = {kSwapped};
  layouts.loadFails = true;
  model.SetLayout(kSwapped);
  EXPECT_EQ(LinkOf(65), 65);
  EXPECT_EQ(LinkOf(81), 81);
  EXPECT_TRUE(layouts.unloaded.empty());
}

TEST_F(Layouts, HandlesThatAreNoLayoutsAreIgnored) {
  model.SetLayout(0);
  model.SetLayout(0xFFFF);
  EXPECT_EQ(model.CurrentLayout(), kUs);
}

TEST_F(Layouts, CharactersFollowTheLayoutAndTheHeldModifiers) {
  EXPECT_EQ(model.CharOfKey('1'), L'1');
  EXPECT_EQ(model.CharOfKey('A'), L'a');
  model.SetKeyPressed(kVkRightShift, true);
  EXPECT_EQ(model.CharOfKey('1'), L'!');
  EXPECT_EQ(model.CharOfKey('A'), L'A');
  model.SetKeyPressed(kVkRightShift, false);

  model.SetLayout(kSwapped);
  EXPECT_EQ(model.CharOfKey('1'), L'&');
  model.SetKeyPressed(kVkCapital, true);
  EXPECT_EQ(model.CharOfKey('A'), L'A');
  model.SetKeyPressed(kVkCapital, false);
  model.SetKeyPressed(kVkCapital, true);  // off again
  EXPECT_EQ(model.CharOfKey('A'), L'a');

  model.SetKeyPressed(kVkLeftCtrl, true);
  model.SetKeyPressed(kVkRightAlt, true);  // AltGr
  EXPECT_EQ(model.CharOfKey('E'), L'\u20AC');
  EXPECT_EQ(model.CharOfKeyWithoutCtrl('E'), L'e');
  EXPECT_EQ(model.CharOfKey(kVkReturn), 0);  // not printable: not in the table
}

TEST_F(Layouts, EachLayoutsTableIsBuiltOnce) {
  const int usCalls = layouts.keyCharCalls;
  EXPECT_GT(usCalls, 0);
  model.SetLayout(kUs);
  EXPECT_EQ(layouts.keyCharCalls, usCalls);
  model.SetLayout(kSwapped);
  const int bothCalls = layouts.keyCharCalls;
  EXPECT_EQ(bothCalls, 2 * usCalls);
  model.SetLayout(kUs);
  model.BuildCharTable();
  EXPECT_EQ(layouts.keyCharCalls, bothCalls);
  EXPECT_EQ(tables.Size(), 2u);
  EXPECT_EQ(model.CharOfKey('1'), L'1');
}

TEST_F(Layouts, NoLayoutGivesNoCharacters) {
  FakeLayouts none;
  none.foreground = 0;
  CharTableCache empty;
  TQvKeyboard bare(none, input, &empty);
  bare.ApplyLayout(testing::BuiltInLayout(), L"Standard");
  EXPECT_EQ(bare.CharOfKey('A'), 0);
  EXPECT_EQ(bare.Button(65)->Linked(), bare.Button(65));
}

}  // namespace
}  // namespace snibbet
