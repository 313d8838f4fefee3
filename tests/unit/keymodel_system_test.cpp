// The key model over the real system: layout functions, characters, and the
// own-input operations typing into a window of this test.
#include <gtest/gtest.h>

#include <windows.h>

#include "core/message_pump.h"
#include "core/synthetic_input.h"
#include "input_test_window.h"
#include "keyboard/key_model.h"
#include "keyboard/system_keyboard.h"

namespace snibbet {
namespace {

bool Down(int vk) { return (GetAsyncKeyState(vk) & 0x8000) != 0; }

class SystemLayouts : public ::testing::Test {
 protected:
  void SetUp() override {
    us = layouts.LoadLayout(kUsEnglishLayoutName);
    ASSERT_NE(us, 0u);
  }
  void TearDown() override {
    bool wasInstalled = false;
    for (LayoutHandle layout : installedBefore) wasInstalled = wasInstalled || layout == us;
    if (!wasInstalled) layouts.UnloadLayout(us);
  }

  SystemKeyboardLayouts layouts;
  std::vector<LayoutHandle> installedBefore = layouts.InstalledLayouts();
  LayoutHandle us = 0;
};

TEST_F(SystemLayouts, ScanCodesRoundTripAndTellSidesApart) {
  EXPECT_FALSE(layouts.InstalledLayouts().empty());
  EXPECT_LE(layouts.InstalledLayouts().size(), 40u);
  const unsigned scanA = layouts.VirtualKeyToScanCode('A', us);
  EXPECT_EQ(scanA, 0x1Eu);
  EXPECT_EQ(layouts.ScanCodeToVirtualKey(scanA, us), unsigned{'A'});
  EXPECT_EQ(layouts.ScanCodeToVirtualKey(0x2A, us), 160u);
  EXPECT_EQ(layouts.ScanCodeToVirtualKey(0x36, us), 161u);
}

TEST_F(SystemLayouts, TextKeepsBlanksAndDropsControlCharacters) {
  KeyStateBytes state{};
  EXPECT_EQ(layouts.KeyText(VK_SPACE, state, us), L" ");  // Space must be able to break a word
  EXPECT_EQ(layouts.KeyText('A', state, us), L"a");
  EXPECT_EQ(layouts.KeyText(VK_LSHIFT, state, us), L"");
  state[VK_SHIFT] = 0x81;
  EXPECT_EQ(layouts.KeyText('A', state, us), L"A");
  EXPECT_EQ(layouts.KeyChar('1', state, us), L'!');
  state[VK_SHIFT] = 0;
  state[VK_CONTROL] = 0x81;
  EXPECT_EQ(layouts.KeyText('A', state, us), L"");
  EXPECT_EQ(layouts.KeyChar(VK_RETURN, KeyStateBytes{}, us), L' ');
}

TEST_F(SystemLayouts, ModelOnTheUsLayoutLinksKeysToThemselves) {
  SystemKeyInput input;
  CharTableCache tables;
  TQvKeyboard model(layouts, input, &tables);
  model.ApplyLayout(*ParseKeyboardLayout(BuiltInKeyboardLayout()).layout, L"Standard");
  model.SetLayout(us);
  for (int code : {65, 81, 186, 222}) EXPECT_EQ(model.Button(code)->Linked(), model.Button(code)) << code;
  EXPECT_EQ(model.CharOfKey('Q'), L'q');
  model.SetKeyPressed(VK_LSHIFT, true);
  EXPECT_EQ(model.CharOfKey('2'), L'@');
}

// Real key events: one test program at a time (see CMakeLists).
class OwnInputOnTheSystem : public ::testing::Test {
 protected:
  void SetUp() override {
    model.ApplyLayout(*ParseKeyboardLayout(BuiltInKeyboardLayout()).layout, L"Standard");
    window.Activate();
  }
  void TearDown() override {
    for (int vk : {VK_LSHIFT, VK_LMENU, VK_RMENU, VK_TAB}) {
      if (Down(vk)) snibbet::SendKey(static_cast<BYTE>(vk), true, IsExtendedKey(vk));
    }
    PumpMessagesFor(30);
  }
  // A key the user holds: down in the system and in the model.
  void Hold(int vk) {
    snibbet::SendKey(static_cast<BYTE>(vk), false, IsExtendedKey(vk));
    model.SetKeyPressed(vk, true);
    PumpMessagesFor(30);
  }

  testing::EditWindow window;
  SystemKeyboardLayouts layouts;
  SystemKeyInput input;
  CharTableCache tables;
  TQvKeyboard model{layouts, input, &tables};
};

TEST_F(OwnInputOnTheSystem, HeldShiftIsUpWhileTheProgramTypesAndDownAfter) {
  Hold(VK_LSHIFT);
  ASSERT_TRUE(Down(VK_LSHIFT));
  model.BeginOwnInput();
  PumpMessagesFor(30);
  EXPECT_FALSE(Down(VK_LSHIFT));
  snibbet::SendKeyPress('A', false);
  PumpMessagesFor(30);
  model.EndOwnInput();
  PumpMessagesFor(30);
  EXPECT_TRUE(Down(VK_LSHIFT));
  EXPECT_EQ(window.Text(), L"a");  // typed without the user's Shift
}

TEST_F(OwnInputOnTheSystem, ResentTabLeavesBothAltKeysUp) {
  Hold(VK_LMENU);
  Hold(VK_RMENU);
  ASSERT_TRUE(Down(VK_LMENU));
  model.ResendKey(VK_TAB);
  snibbet::SendKey(VK_TAB, true, false);
  PumpMessagesFor(30);
  EXPECT_FALSE(Down(VK_LMENU));
  EXPECT_FALSE(Down(VK_RMENU));
}

}  // namespace
}  // namespace snibbet
