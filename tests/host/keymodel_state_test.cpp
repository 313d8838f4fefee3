// Held keys, modifier sets, lock states and shortcuts of the key-state model.
#include <gtest/gtest.h>

#include "keyboard/key_model.h"
#include "keymodel_fakes.h"

namespace snibbet {
namespace {

using testing::CountingView;
using testing::FakeInput;
using testing::FakeLayouts;

class KeyState : public ::testing::Test {
 protected:
  KeyState() : model(layouts, input, &tables) { model.ApplyLayout(testing::BuiltInLayout(), L"Standard"); }

  void Press(int code) { model.SetKeyPressed(code, true); }
  void Release(int code) { model.SetKeyPressed(code, false); }
  int Byte(int code) const { return model.KeyState()[static_cast<std::size_t>(code)]; }

  FakeLayouts layouts;
  FakeInput input;
  CharTableCache tables;
  TQvKeyboard model;
};

TEST_F(KeyState, BothShiftsKeepTheGenericByteUntilTheLastGoesUp) {
  Press(kVkLeftShift);
  EXPECT_EQ(Byte(kVkLeftShift), 0x81);
  EXPECT_EQ(Byte(kVkShift), 0x81);
  EXPECT_EQ(model.GetControlSet(), 0x10);
  EXPECT_EQ(model.SideLessSet(), 0x10);

  Press(kVkRightShift);
  Release(kVkLeftShift);
  EXPECT_EQ(Byte(kVkShift), 0x81);
  EXPECT_EQ(model.GetControlSet(), 0x01);
  EXPECT_EQ(model.SideLessSet(), 0x10);

  Release(kVkRightShift);
  EXPECT_EQ(Byte(kVkShift), 0);
  EXPECT_EQ(model.GetControlSet(), 0);
  EXPECT_EQ(model.SideLessSet(), 0);
  EXPECT_EQ(model.PressedCount(), 0);
}

TEST_F(KeyState, EachModifierSetsItsSideBitAndTheSideLessBit) {
  struct Case {
    int code, generic;
    ControlSet set, sideLess;
  };
  const Case cases[] = {{160, 16, 0x10, 0x10}, {161, 16, 0x01, 0x10}, {162, 17, 0x20, 0x20}, {163, 17, 0x02, 0x20},
                        {164, 18, 0x40, 0x40}, {165, 18, 0x04, 0x40}, {91, 0, 0x80, 0x80},   {92, 0, 0x08, 0x80}};
  for (const Case& c : cases) {
    Press(c.code);
    EXPECT_EQ(model.GetControlSet(), c.set) << c.code;
    EXPECT_EQ(model.SideLessSet(), c.sideLess) << c.code;
    if (c.generic) {
      EXPECT_EQ(Byte(c.generic), 0x81) << c.code;
    }
    EXPECT_TRUE(model.AnyModifierPressed());
    Release(c.code);
    EXPECT_FALSE(model.AnyModifierPressed());
  }
  Press(kVkLeftCtrl);
  Press(kVkRightAlt);
  Press(kVkRightWin);
  EXPECT_EQ(model.GetControlSet(), 0x20 | 0x04 | 0x08);
  EXPECT_EQ(model.SideLessSet(), 0x20 | 0x40 | 0x80);
}

TEST_F(KeyState, LockKeysToggleOnPressOnly) {
  Press(kVkCapital);
  EXPECT_EQ(Byte(kVkCapital), 1);
  Release(kVkCapital);
  EXPECT_EQ(Byte(kVkCapital), 1);
  Press(kVkCapital);
  EXPECT_EQ(Byte(kVkCapital), 0);
  Release(kVkCapital);
  model.FlipLockState(kVkCapital);  // the hook undoing a swallowed toggle
  EXPECT_EQ(Byte(kVkCapital), 1);
  model.FlipLockState(65);  // not a lock key
  EXPECT_EQ(Byte(65), 0);
}

TEST_F(KeyState, LockStateReadFromTheSystemTogglesFromItsToggleBit) {
  input.systemState[kVkCapital] = 0x81;  // held down and on
  input.systemState[kVkNumLock] = 0x80;  // held down and off
  input.systemState[kVkScroll] = 0x01;
  model.SetActive(true);
  EXPECT_EQ(Byte(kVkCapital), 1);
  EXPECT_EQ(Byte(kVkNumLock), 0);
  EXPECT_EQ(Byte(kVkScroll), 1);
  Press(kVkCapital);
  Press(kVkNumLock);
  EXPECT_EQ(Byte(kVkCapital), 0);  // on, so the press turns it off
  EXPECT_EQ(Byte(kVkNumLock), 1);
}

TEST_F(KeyState, ReleasingWhatIsNotHeldChangesNothing) {
  CountingView view;
  model.SetView(&view);
  model.SetPainting(true);
  view.drawnKeys.clear();
  Release(65);
  Release(kVkLeftShift);
  EXPECT_EQ(model.PressedCount(), 0);
  EXPECT_TRUE(view.drawnKeys.empty());
  Press(65);
  Press(65);
  EXPECT_EQ(model.PressedCount(), 1);
  Release(65);
  Release(65);
  EXPECT_EQ(model.PressedCount(), 0);
}

TEST_F(KeyState, CodesWithoutKeysAndOutsideTheRangeAreIgnored) {
  for (int code : {-1, 0, 7, 256, 1000}) {
    model.SetKeyPressed(code, true);
    EXPECT_FALSE(model.IsKeyPressed(code)) << code;
    EXPECT_EQ(model.Button(code), nullptr) << code;
    EXPECT_EQ(model.CharOfKey(code), 0) << code;
    EXPECT_EQ(model.LinkedKeyMap(code), code == 7 ? 7 : 0) << code;
    model.ResendKey(code);
  }
  EXPECT_EQ(model.PressedCount(), 0);
  EXPECT_TRUE(input.sent.empty());
  EXPECT_EQ(model.KeyName(0), L"");
  EXPECT_EQ(model.KeyName(256), L"");
  EXPECT_EQ(model.KeyName(7), L"");
}

TEST_F(KeyState, SwitchingOnReleasesHeldModifiersInTheSystemAndShowsNothingHeld) {
  Press(65);
  Press(kVkLeftCtrl);
  input.systemState[kVkLeftShift] = 0x80;
  input.systemState[kVkRightAlt] = 0x81;
  input.systemState[kVkRightWin] = 0x80;
  input.systemState[kVkShift] = 0x80;
  input.systemState[kVkMenu] = 0x80;
  input.systemState[66] = 0x80;  // a letter held: the model will see its release only
  model.SetActive(true);
  const std::vector<testing::SentKey> released = {{160, true, false}, {165, true, true}, {92, true, true}};
  EXPECT_EQ(input.sent, released);
  EXPECT_EQ(model.PressedCount(), 0);
  EXPECT_FALSE(model.IsKeyPressed(65));
  for (int code : {16, 18, 66, 160, 165, 92}) EXPECT_EQ(Byte(code), 0) << code;
  EXPECT_EQ(model.GetControlSet(), 0);

  input.sent.clear();
  model.SetActive(true);  // unchanged: nothing happens
  EXPECT_TRUE(input.sent.empty());
}

TEST_F(KeyState, ReleaseAllKeysClearsEverything) {
  for (int code : {65, 66, kVkLeftWin, kVkRightShift}) Press(code);
  model.ReleaseAllKeys();
  EXPECT_EQ(model.PressedCount(), 0);
  EXPECT_EQ(model.GetControlSet(), 0);
  EXPECT_EQ(model.SideLessSet(), 0);
  EXPECT_FALSE(model.AnyModifierPressed());
}

TEST_F(KeyState, PressedShortcut) {
  Press(kVkLeftCtrl);
  PressedShortcut shortcut = model.GetPressedShortcut();
  EXPECT_EQ(shortcut.key, 162);
  EXPECT_EQ(shortcut.set, 0);
  EXPECT_EQ(shortcut.text, L"Ctrl");

  Press(65);
  shortcut = model.GetPressedShortcut();
  EXPECT_EQ(shortcut.key, 65);
  EXPECT_EQ(shortcut.set, 0x20);
  EXPECT_EQ(shortcut.text, L"Ctrl+A");

  Press(66);  // the highest non-modifier wins
  EXPECT_EQ(model.GetPressedShortcut().key, 66);

  model.ReleaseAllKeys();
  Press(kVkRightShift);
  EXPECT_EQ(model.GetPressedShortcut().text, L"RShift");
  Press(kVkLeftWin);
  Press(32);
  shortcut = model.GetPressedShortcut();
  EXPECT_EQ(shortcut.key, 32);
  EXPECT_EQ(shortcut.set, 0x81);
  EXPECT_EQ(shortcut.text, L"Win+RShift+Space");
}

TEST_F(KeyState, ShortcutTextOrderAndEmptyText) {
  model.SetTextSource([](int number, const std::wstring& fallback) {
    return number == 6 ? std::wstring(L"None") : fallback;
  });
  EXPECT_EQ(model.ShortcutToText(0, 0), L"None");
  EXPECT_EQ(model.ShortcutToText(32, 0x80), L"Win+Space");
  EXPECT_EQ(model.ShortcutToText(65, 0xFF), L"Win+RWin+Ctrl+RCtrl+Alt+AltGr+Shift+RShift+A");
  EXPECT_EQ(model.ShortcutToText(0, 0x04), L"AltGr");
}

TEST_F(KeyState, KeyNamesComeFromTheSourceByLinkedKey) {
  // A layout puts the key that types A where US English has Q; the settings
  // name each US position by what it types there.
  model.SetKeyNameSource([](int code) { return code == 81 ? std::wstring(L"A") : std::wstring(); });
  model.SetLayout(testing::kSwapped);
  EXPECT_EQ(model.KeyName(65), L"A");
  EXPECT_EQ(model.KeyName(66), L"B");  // empty from the source: the key-name table
  EXPECT_EQ(model.KeyName(163), L"RCtrl");
}

TEST_F(KeyState, PaintingIsOffUntilAViewIsShown) {
  CountingView view;
  model.SetView(&view);
  Press(kVkLeftShift);
  Press(65);
  model.Present();
  EXPECT_EQ(view.redraws + view.presents + static_cast<int>(view.drawnKeys.size()), 0);

  model.SetPainting(true);
  EXPECT_EQ(view.redraws, 1);
  Press(66);
  EXPECT_EQ(view.drawnKeys, std::vector<int>{66});
  EXPECT_EQ(view.redraws, 1);
  Press(kVkCapital);  // lock and modifier keys change every key's character
  Press(kVkRightAlt);
  EXPECT_EQ(view.redraws, 3);
}

TEST(KeypadCodes, NavigationEventsWithoutTheExtendedFlagCountAsKeypadKeys) {
  const std::pair<int, int> keypad[] = {{12, 101}, {33, 105}, {34, 99},  {35, 97}, {36, 103}, {37, 100},
                                        {38, 104}, {39, 102}, {40, 98}, {45, 96}, {46, 110}};
  for (auto [navigation, pad] : keypad) {
    EXPECT_EQ(KeypadCodeOfEvent(navigation, false), pad) << navigation;
    EXPECT_EQ(KeypadCodeOfEvent(navigation, true), navigation) << navigation;
    if (pad != 101) {
      EXPECT_EQ(NumpadNavigationKey(pad), navigation) << pad;
    }
  }
  EXPECT_EQ(NumpadNavigationKey(101), 7);
  EXPECT_EQ(NumpadNavigationKey(65), 7);
  for (int other : {13, 65, 96, 144}) EXPECT_EQ(KeypadCodeOfEvent(other, false), other);
}

TEST(KeypadCodes, KeypadShowsNavigationWithNumLockOffOrShiftHeld) {
  KeyStateBytes state{};
  EXPECT_TRUE(KeypadShowsNavigation(103, state, false));
  EXPECT_FALSE(KeypadShowsNavigation(103, state, true));
  state[kVkNumLock] = 1;
  EXPECT_FALSE(KeypadShowsNavigation(103, state, false));
  state[kVkShift] = 0x81;
  EXPECT_TRUE(KeypadShowsNavigation(110, state, false));
  EXPECT_FALSE(KeypadShowsNavigation(106, state, false));  // "*" has no navigation key
  state[kVkShift] = 0;
  state[kVkNumLock] = 0x81;  // on while held down
  EXPECT_FALSE(KeypadShowsNavigation(96, state, false));
}

}  // namespace
}  // namespace snibbet
