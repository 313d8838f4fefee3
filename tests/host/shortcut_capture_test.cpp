// The hotkey capture's rules over the key-state model: which keys the
// shortcut keeps, what releases and a lone Tab do, and that no key the
// system saw go down before the capture is left held.
#include <gtest/gtest.h>

#include "keyboard/key_model.h"
#include "keyboard/shortcut_capture.h"
#include "keymodel_fakes.h"

namespace snibbet {
namespace {

using testing::FakeInput;
using testing::FakeLayouts;

class Capture : public ::testing::Test {
 protected:
  Capture() : model(layouts, input, &tables) { model.ApplyLayout(testing::BuiltInLayout(), L"Standard"); }

  CaptureOutcome Down(int code, bool okEnabled = true) { return capture.OnKeyEvent(code, false, okEnabled); }
  CaptureOutcome Up(int code) { return capture.OnKeyEvent(code, true, true); }
  std::pair<int, int> Shortcut() const {
    const PressedShortcut shortcut = model.GetPressedShortcut();
    return {shortcut.key, shortcut.set};
  }

  FakeLayouts layouts;
  FakeInput input;
  CharTableCache tables;
  TQvKeyboard model;
  ShortcutCapture capture{model};
};

TEST_F(Capture, ReleasesKeepTheShortcutShown) {
  capture.Begin();
  EXPECT_TRUE(Down(kVkLeftWin).shown);
  Down(kVkSpace);
  EXPECT_TRUE(Up(kVkSpace).shown);
  Up(kVkLeftWin);
  EXPECT_EQ(Shortcut(), std::make_pair(32, 0x80));
  EXPECT_FALSE(capture.Held(kVkSpace));
  EXPECT_FALSE(capture.Held(kVkLeftWin));

  // A lone modifier is a key of its own; the keys let go of before are dropped.
  Down(kVkLeftCtrl);
  Up(kVkLeftCtrl);
  EXPECT_EQ(Shortcut(), std::make_pair(162, 0));

  // Ctrl+Alt+T, whatever order they are let go in.
  Down(kVkLeftCtrl);
  Down(kVkLeftAlt);
  Down('T');
  Up(kVkLeftCtrl);
  Up('T');
  Up(kVkLeftAlt);
  EXPECT_EQ(Shortcut(), std::make_pair(int{'T'}, 0x60));
  EXPECT_EQ(model.PressedCount(), 3);
}

TEST_F(Capture, TheLowestNonModifierWins) {
  capture.Begin();
  Down('A');
  Down('B');
  EXPECT_EQ(Shortcut(), std::make_pair(int{'A'}, 0));
  EXPECT_FALSE(model.IsKeyPressed('B'));
  EXPECT_FALSE(capture.Held('B'));
  Up('B');
  Up('A');

  Down('B');
  Down('A');
  EXPECT_EQ(Shortcut(), std::make_pair(int{'A'}, 0));
  EXPECT_FALSE(model.IsKeyPressed('B'));
  EXPECT_EQ(model.PressedCount(), 1);

  // A key let go of gives way to the next one pressed, modifiers held stay.
  Up('A');
  Up('B');
  Down(kVkLeftShift);
  Down('Z');
  EXPECT_EQ(Shortcut(), std::make_pair(int{'Z'}, 0x10));
  EXPECT_FALSE(model.IsKeyPressed('A'));
}

TEST_F(Capture, ALoneTabMovesOnAndCtrlTabIsCaptured) {
  capture.Begin();
  Down('Q');
  const CaptureOutcome tab = Down(kVkTab);
  EXPECT_TRUE(tab.moveToOk);
  EXPECT_FALSE(tab.shown);
  EXPECT_FALSE(model.IsKeyPressed(kVkTab));
  EXPECT_EQ(Shortcut(), std::make_pair(int{'Q'}, 0));

  // Without OK to move to, Tab is a key like any other.
  Up('Q');
  EXPECT_FALSE(Down(kVkTab, false).moveToOk);
  EXPECT_EQ(Shortcut(), std::make_pair(kVkTab, 0));
  Up(kVkTab);

  Down(kVkRightCtrl);
  const CaptureOutcome ctrlTab = Down(kVkTab);
  EXPECT_FALSE(ctrlTab.moveToOk);
  EXPECT_EQ(Shortcut(), std::make_pair(kVkTab, 0x02));
}

TEST_F(Capture, ModifiersHeldAtTheStartAreReleasedAndDoNotCount) {
  input.systemState[kVkLeftCtrl] = 0x80;
  input.systemState[kVkControl] = 0x80;
  input.systemDown.insert(kVkLeftCtrl);
  capture.Begin();
  EXPECT_FALSE(input.SystemHoldsKey(kVkLeftCtrl)) << "Ctrl left down in the system";
  EXPECT_FALSE(capture.Held(kVkLeftCtrl));
  EXPECT_TRUE(Down(kVkTab).moveToOk) << "the Ctrl let go of at the start made Tab a chord";
  // Its real release comes later; the system no longer holds it, so it stays with us.
  EXPECT_FALSE(Up(kVkLeftCtrl).passOn);
}

TEST_F(Capture, OnlyReleasesOfKeysTheSystemHoldsGoOn) {
  input.systemDown.insert(kVkReturn);  // pressed before the capture began
  capture.Begin();
  EXPECT_FALSE(Down(kVkReturn).passOn);  // its repeats are captured like any press
  EXPECT_TRUE(Up(kVkReturn).passOn);
  EXPECT_EQ(Shortcut(), std::make_pair(kVkReturn, 0));

  Down('K');
  EXPECT_FALSE(Up('K').passOn) << "its press never reached the system";
}

TEST_F(Capture, KeysWithoutAKeyInTheLayoutChangeNothing) {
  int missing = 0;
  for (int code = kFirstKeyCode; code <= kLastKeyCode && !missing; ++code) {
    if (!model.Button(code)) missing = code;
  }
  ASSERT_NE(missing, 0) << "the built-in layout has a key for every code";
  capture.Begin();
  Down('M');
  const CaptureOutcome outcome = Down(missing);
  EXPECT_FALSE(outcome.shown);
  EXPECT_FALSE(capture.Held(missing));
  EXPECT_EQ(Shortcut(), std::make_pair(int{'M'}, 0));
  EXPECT_FALSE(capture.OnKeyEvent(0, false, true).shown);
  EXPECT_FALSE(capture.OnKeyEvent(300, true, true).shown);
}

}  // namespace
}  // namespace snibbet
