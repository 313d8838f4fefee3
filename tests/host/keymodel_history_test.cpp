// The key history: what counts as typing, what ends it, the counters, the
// 1024-record limit, and the word rebuilt from it for the template search.
#include <gtest/gtest.h>

#include "keyboard/key_history.h"
#include "keyboard/key_model.h"
#include "keymodel_fakes.h"

namespace snibbet {
namespace {

using testing::FakeInput;
using testing::FakeLayouts;

constexpr std::wstring_view kBreaks = L" `~#?\"'";

class History : public ::testing::Test {
 protected:
  History() : model(layouts, input, &tables) { model.ApplyLayout(testing::BuiltInLayout(), L"Standard"); }

  // What the keyboard hook does with a passed event.
  void Event(int code, bool up, bool sysKeyUp = false) {
    TQvBtn* key = model.Button(code);
    ASSERT_NE(key, nullptr) << code;
    key->SetExtended(IsExtendedKey(code));
    const bool changed = key->Pressed() == up;
    key->SetPressed(!up);
    if (changed) history.Record(model, code, up, sysKeyUp);
  }
  void Down(int code) { Event(code, false); }
  void Up(int code) { Event(code, true); }
  void Tap(int code) {
    Down(code);
    Up(code);
  }
  void Type(std::string_view keys) {
    for (char c : keys) Tap(c == ' ' ? 32 : c);
  }
  std::vector<KeyHistoryRecord> Records() const {
    std::vector<KeyHistoryRecord> records;
    for (int i = 0; i < history.Count(); ++i) records.push_back(history.At(i));
    return records;
  }
  std::wstring Word() const { return RebuildTypedWord(history, model, kBreaks); }

  FakeLayouts layouts;
  FakeInput input;
  CharTableCache tables;
  TQvKeyboard model;
  TKeyHistory history;
};

TEST_F(History, PrintableKeysStartAndFillIt) {
  Type("AB");
  const std::vector<KeyHistoryRecord> expected = {{0, 0, 65}, {1, 0, 65}, {0, 0, 66}, {1, 0, 66}};
  EXPECT_EQ(Records(), expected);
  EXPECT_EQ(history.TypedChars(), 2);
  EXPECT_TRUE(history.Active());
}

TEST_F(History, ModifiersHeldAtTheStartAreRecordedFirst) {
  Down(kVkRightShift);
  Down(kVkLeftShift);
  EXPECT_EQ(history.Count(), 0);  // modifiers alone start nothing
  Tap('A');
  // in code order, each with its own extended flag
  const std::vector<KeyHistoryRecord> expected = {{0, 0, 160}, {0, 1, 161}, {0, 0, 65}, {1, 0, 65}};
  EXPECT_EQ(Records(), expected);
  EXPECT_EQ(history.TypedChars(), 1);
}

TEST_F(History, KeysThatAreNotTypingEndIt) {
  for (int breaker : {kVkReturn, 37 /* Left */, kVkTab, 112 /* F1 */, kVkDelete}) {
    Type("AB");
    Tap(breaker);
    EXPECT_EQ(history.Count(), 0) << breaker;
    EXPECT_FALSE(history.Active()) << breaker;
    EXPECT_EQ(history.TypedChars(), 0) << breaker;
  }
  Type("A");
  Down(kVkLeftCtrl);
  Tap('C');  // a shortcut, not typing
  EXPECT_FALSE(history.Active());
  Tap('V');  // still with Ctrl held: never starts
  EXPECT_FALSE(history.Active());
  EXPECT_EQ(history.Count(), 0);
  Up(kVkLeftCtrl);
}

// Alt+X closing a window or Alt+F opening a menu types nothing: a hotkey
// right after it must not search for "x...".
TEST_F(History, ALetterTypedWithAltOrWinIsAShortcutNotText) {
  for (int modifier : {kVkLeftAlt, kVkRightAlt, kVkLeftWin, kVkRightWin}) {
    Type("AB");
    Down(modifier);
    Tap('X');
    EXPECT_FALSE(history.Active()) << modifier;
    EXPECT_EQ(Word(), L"") << modifier;
    Up(modifier);
    Type("CD");
    EXPECT_EQ(Word(), L"cd") << modifier;
    history.Reset();
  }
  // Alt let go before the letter, so no WM_SYSKEYUP ends the stretch.
  Down(kVkLeftAlt);
  Down('X');
  Up(kVkLeftAlt);
  Up('X');
  EXPECT_FALSE(history.Active());
  EXPECT_EQ(history.TypedChars(), 0);
  Type("Z");
  EXPECT_EQ(Word(), L"z");
  EXPECT_EQ(history.TypedChars(), 1);
}

// AltGr is Ctrl+Alt to the system: a character it types belongs to the word,
// while a Ctrl+Alt chord that types nothing still ends it.
TEST_F(History, ACharacterTypedWithAltGrCountsIntoTheWord) {
  model.SetLayout(testing::kSwapped);
  auto withAltGr = [&](int code) {
    Down(kVkLeftCtrl);
    Down(kVkRightAlt);
    Tap(code);
    Up(kVkRightAlt);
    Up(kVkLeftCtrl);
  };
  Type("X");
  withAltGr('E');
  Type("Y");
  EXPECT_TRUE(history.Active());
  EXPECT_EQ(history.TypedChars(), 3);
  EXPECT_EQ(Word(), L"x\u20ACy");

  history.Reset();
  Type("AB");
  withAltGr('T');
  EXPECT_FALSE(history.Active());
  EXPECT_EQ(Word(), L"");
  Down(kVkLeftWin);
  withAltGr('E');
  Up(kVkLeftWin);
  EXPECT_FALSE(history.Active()) << "Win with AltGr is a shortcut";
}

TEST_F(History, BackspaceIsRecordedAndUncountsButNeverBelowZero) {
  Type("A");
  Tap(kVkBack);
  Tap(kVkBack);
  EXPECT_EQ(history.TypedChars(), 0);
  EXPECT_EQ(history.Count(), 6);
  Type("B");
  EXPECT_EQ(history.TypedChars(), 1);
  history.Reset();
  Tap(kVkBack);  // no stretch running: nothing to erase
  EXPECT_EQ(history.Count(), 0);
  EXPECT_FALSE(history.Active());
}

TEST_F(History, SysKeyUpEndsIt) {
  Type("A");
  Down(kVkLeftAlt);
  Event(kVkLeftAlt, true, /*sysKeyUp=*/true);
  EXPECT_FALSE(history.Active());
  EXPECT_EQ(history.Count(), 0);
}

TEST_F(History, AFullHistoryResetsInsteadOfWrapping) {
  for (int i = 0; i < TKeyHistory::kCapacity / 2; ++i) Tap('A');
  ASSERT_EQ(history.Count(), TKeyHistory::kCapacity);
  EXPECT_EQ(history.TypedChars(), TKeyHistory::kCapacity / 2);
  Down('B');
  EXPECT_EQ(history.Count(), 0);
  EXPECT_FALSE(history.Active());
  EXPECT_EQ(history.TypedChars(), 0);
  Up('B');
  Type("C");
  EXPECT_EQ(history.Count(), 2);
}

TEST_F(History, LockedHistoryIgnoresResetsAndEvents) {
  Type("AB");
  history.SetLocked(true);
  history.Reset();
  Tap(kVkReturn);
  Type("C");
  EXPECT_EQ(history.Count(), 4);
  EXPECT_TRUE(history.Active());
  history.SetLocked(false);
  ResetKeyHistory();  // the process-wide one is another history
  EXPECT_EQ(history.Count(), 4);
}

TEST_F(History, ClosingAppendsReleasesOfHeldKeysWithinTheLimit) {
  Down(kVkLeftShift);
  Down('A');
  history.CloseWithReleases(model);
  EXPECT_EQ(Records().back(), (KeyHistoryRecord{1, 0, 160}));
  EXPECT_EQ(Records()[Records().size() - 2], (KeyHistoryRecord{1, 0, 65}));

  history.Reset();
  history.CloseWithReleases(model);  // nothing running: nothing to close
  EXPECT_EQ(history.Count(), 0);

  model.ReleaseAllKeys();
  for (int i = 0; i < TKeyHistory::kCapacity / 2 - 1; ++i) Tap('A');
  Down('B');  // 1023 records
  Down('C');  // 1024
  history.CloseWithReleases(model);
  EXPECT_EQ(history.Count(), TKeyHistory::kCapacity);
}

TEST_F(History, RecordsHoldTheUsPositionOfTheKey) {
  model.SetLayout(testing::kSwapped);
  Tap('A');  // the key that types "a" sits where US English has Q
  EXPECT_EQ(Records()[0], (KeyHistoryRecord{0, 0, 81}));
  Tap('Q');
  EXPECT_EQ(Records()[2], (KeyHistoryRecord{0, 0, 65}));
  EXPECT_EQ(Word(), L"aq");
}

TEST_F(History, WordIsTheTextSinceTheLastBreak) {
  Type("AB");
  EXPECT_EQ(Word(), L"ab");
  history.Reset();
  Type("X YZ");
  EXPECT_EQ(Word(), L"yz");
  history.Reset();
  Type("AB ");
  EXPECT_EQ(Word(), L"");
  history.Reset();
  EXPECT_EQ(Word(), L"");
}

TEST_F(History, BackspacesEraseFromTheWord) {
  Type("A");
  Tap(kVkBack);
  Type("B");
  EXPECT_EQ(Word(), L"b");
  history.Reset();
  Type("ABC");
  Tap(kVkBack);
  Tap(kVkBack);
  Type("X");
  EXPECT_EQ(Word(), L"ax");
}

TEST_F(History, ShiftAndCapsLockOfTheTimeAreUndone) {
  Down(kVkLeftShift);
  Tap('A');
  Up(kVkLeftShift);
  Type("B");
  Down(kVkRightShift);
  Tap('C');
  Up(kVkRightShift);
  EXPECT_EQ(Word(), L"AbC");

  Type("A");
  Tap(kVkCapital);  // ends the stretch; what follows is typed with CapsLock on
  EXPECT_EQ(history.Count(), 0);
  Type("B");
  EXPECT_EQ(Word(), L"B");
}

TEST_F(History, ModifiersOfTheHotkeyStillHeldDoNotChangeTheWord) {
  Type("AB");
  Down(kVkLeftCtrl);  // the hotkey's own modifier, its key swallowed
  EXPECT_EQ(Word(), L"ab");
  Up(kVkLeftCtrl);
  history.Reset();
  Type("AB");
  Down(kVkRightShift);
  EXPECT_EQ(Word(), L"ab");
}

}  // namespace
}  // namespace snibbet
