// The template pop-up's key rules, key queue, search filter and placement,
// over a fake pop-up. Window-free.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "keyboard/key_history.h"
#include "keyboard/key_model.h"
#include "templates/popup_keys.h"
#include "templates/popup_placement.h"
#include "templates/popup_search.h"
#include "tests/host/keymodel_fakes.h"

namespace snibbet {
namespace {

// Records what the key handling did, in order, as short words.
class FakePopup : public PopupKeyTarget {
 public:
  std::map<std::uint8_t, std::wstring> chars{{'A', L"a"}, {'B', L"b"}, {32, L" "}, {'Z', L"z"}};
  bool ctrl = false;
  bool shown = true;
  std::wstring search;
  std::vector<std::string> log;

  std::wstring KeyText(std::uint8_t vk) override { return chars.count(vk) ? chars[vk] : L""; }
  bool CtrlShortcutHeld(std::uint8_t) override { return ctrl; }
  void Resend(std::uint8_t vk) override { log.push_back("resend " + std::to_string(vk)); }
  void ResendAsTyping(std::uint8_t vk) override { log.push_back("type " + std::to_string(vk)); }
  bool IsWordChar(std::wstring_view ch) override { return ch != L" "; }
  bool Shown() override { return shown; }
  const std::wstring& SearchText() override { return search; }
  void SetSearchText(std::wstring text) override { search = std::move(text); }
  void Hide() override {
    shown = false;
    log.push_back("hide");
  }
  void Paste() override {
    shown = false;
    log.push_back("paste");
  }
  void Move(PopupMove move) override { log.push_back("move " + std::to_string(static_cast<int>(move))); }
};

using Log = std::vector<std::string>;

TEST(PopupKeys, ClassifiesEveryKind) {
  EXPECT_EQ(ClassifyPopupKey('A', false), PopupKeyEffect::TypeChar);
  EXPECT_EQ(ClassifyPopupKey('A', true), PopupKeyEffect::CloseAndResend);
  EXPECT_EQ(ClassifyPopupKey(32, false), PopupKeyEffect::TypeChar);
  EXPECT_EQ(ClassifyPopupKey(111, false), PopupKeyEffect::TypeChar);   // keypad divide
  EXPECT_EQ(ClassifyPopupKey(112, false), PopupKeyEffect::CloseAndResend);  // F1
  EXPECT_EQ(ClassifyPopupKey(186, false), PopupKeyEffect::TypeChar);
  EXPECT_EQ(ClassifyPopupKey(193, false), PopupKeyEffect::CloseAndResend);
  EXPECT_EQ(ClassifyPopupKey(226, false), PopupKeyEffect::TypeChar);
  for (int vk : {91, 92, 160, 161, 162, 163, 164, 165})
    EXPECT_EQ(ClassifyPopupKey(static_cast<std::uint8_t>(vk), true), PopupKeyEffect::PassModifier) << vk;
  EXPECT_EQ(ClassifyPopupKey(8, false), PopupKeyEffect::Backspace);
  EXPECT_EQ(ClassifyPopupKey(13, false), PopupKeyEffect::Paste);
  EXPECT_EQ(ClassifyPopupKey(27, false), PopupKeyEffect::Close);
  EXPECT_EQ(ClassifyPopupKey(9, false), PopupKeyEffect::CloseAndResend);   // Tab
  EXPECT_EQ(ClassifyPopupKey(37, false), PopupKeyEffect::CloseAndResend);  // Left
  EXPECT_EQ(ClassifyPopupKey(46, false), PopupKeyEffect::CloseAndResend);  // Delete
  EXPECT_EQ(ClassifyPopupKey(33, false), PopupKeyEffect::PageUp);
  EXPECT_EQ(ClassifyPopupKey(36, false), PopupKeyEffect::First);
  EXPECT_EQ(ClassifyPopupKey(40, false), PopupKeyEffect::Next);
}

TEST(PopupKeys, CharactersGrowTheSearchAndReachTheTarget) {
  FakePopup popup;
  HandlePopupKey(popup, 'A');
  HandlePopupKey(popup, 'B');
  EXPECT_EQ(popup.search, L"ab");
  EXPECT_TRUE(popup.shown);
  EXPECT_EQ(popup.log, (Log{"resend 65", "resend 66"}));
}

TEST(PopupKeys, BreaksSubstituteAndCtrlChordsCloseAndAreTypedIntoTheTarget) {
  FakePopup space;
  HandlePopupKey(space, 32);
  EXPECT_EQ(space.log, (Log{"hide", "type 32"}));

  FakePopup sub;
  sub.chars['Z'] = std::wstring(1, kSubstituteChar);
  HandlePopupKey(sub, 'Z');
  EXPECT_EQ(sub.log, (Log{"hide", "type 90"}));
  EXPECT_EQ(sub.search, L"");

  FakePopup chord;
  chord.ctrl = true;
  HandlePopupKey(chord, 'A');
  EXPECT_EQ(chord.log, (Log{"hide", "type 65"}));
}

TEST(PopupKeys, BackspaceDropsOneCharacterThenClosesOnAnEmptySearch) {
  FakePopup popup;
  popup.search = L"\u00e9\u4e2d";  // one character each, whatever their code-page width
  HandlePopupKey(popup, 8);
  EXPECT_EQ(popup.search, L"\u00e9");
  HandlePopupKey(popup, 8);
  HandlePopupKey(popup, 8);
  EXPECT_EQ(popup.log, (Log{"resend 8", "resend 8", "hide", "type 8"}));
}

TEST(PopupKeys, EnterPastesEscClosesNeitherIsResent) {
  FakePopup enter;
  HandlePopupKey(enter, 13);
  EXPECT_EQ(enter.log, (Log{"paste"}));
  FakePopup esc;
  HandlePopupKey(esc, 27);
  EXPECT_EQ(esc.log, (Log{"hide"}));
  FakePopup shift;
  HandlePopupKey(shift, 160);
  EXPECT_EQ(shift.log, (Log{"resend 160"}));
  EXPECT_TRUE(shift.shown);
}

TEST(PopupKeys, QueuedKeysRunInOrderAndThoseAfterAClosingKeyGoToTheTarget) {
  FakePopup popup;
  PopupKeyQueue queue;
  for (int vk : {65, 40, 66, 27, 65, 13}) queue.Push(static_cast<std::uint8_t>(vk));
  DrainPopupKeys(queue, popup);
  EXPECT_TRUE(queue.Empty());
  EXPECT_EQ(popup.search, L"ab");
  EXPECT_EQ(popup.log, (Log{"resend 65", "move 3", "resend 66", "hide", "type 65", "type 13"}));
}

TEST(PopupKeys, KeysQueuedForAPopupClosedMeanwhileAllGoToTheTarget) {
  FakePopup popup;
  popup.shown = false;  // a click outside closed it before the timer ran
  PopupKeyQueue queue;
  queue.Push('A');
  queue.Push(27);
  DrainPopupKeys(queue, popup);
  EXPECT_EQ(popup.log, (Log{"type 65", "type 27"}));
  EXPECT_EQ(popup.search, L"");
}

// The pop-up over the key-state model of a layout whose AltGr+E types the
// euro sign: an AltGr character is searched for like any other.
class ModelPopup : public FakePopup {
 public:
  ModelPopup() : model(layouts, input, &tables) {
    model.ApplyLayout(testing::BuiltInLayout(), L"Standard");
    model.SetLayout(testing::kSwapped);
  }
  std::wstring KeyText(std::uint8_t vk) override { return layouts.KeyText(vk, model.KeyState(), model.CurrentLayout()); }
  bool CtrlShortcutHeld(std::uint8_t vk) override { return snibbet::CtrlShortcutHeld(model, vk); }

  testing::FakeLayouts layouts;
  testing::FakeInput input;
  CharTableCache tables;
  TQvKeyboard model;
};

TEST(PopupKeys, AnAltGrCharacterIsSearchedWhileRealCtrlShortcutsClose) {
  constexpr int kLeftCtrl = 162, kRightAlt = 165;
  ModelPopup popup;
  popup.search = L"x";
  popup.model.SetKeyPressed(kLeftCtrl, true);
  popup.model.SetKeyPressed(kRightAlt, true);
  HandlePopupKey(popup, 'E');
  EXPECT_EQ(popup.search, L"x\u20AC");
  HandlePopupKey(popup, 'A');  // Ctrl+Alt+A types nothing: a shortcut
  popup.model.SetKeyPressed(kRightAlt, false);
  HandlePopupKey(popup, 'E');
  EXPECT_EQ(popup.log, (Log{"resend 69", "hide", "type 65", "hide", "type 69"}));
}

TEST(PopupPlacement, UnderTheCaretAndFlippedAboveAtTheBottom) {
  const PopupArea monitor{0, 0, 1024, 768};
  EXPECT_EQ(PlacePopup(PopupCaret{100, 200, 16}, monitor, 459, 282), (PopupOrigin{100, 216}));
  EXPECT_EQ(PlacePopup(PopupCaret{100, 700, 16}, monitor, 459, 282), (PopupOrigin{100, 700 - 282}));
  EXPECT_EQ(PlacePopup(PopupCaret{1000, 10, 16}, monitor, 459, 282), (PopupOrigin{1024 - 459, 26}));
  EXPECT_EQ(PlacePopup(PopupCaret{-50, -20, 16}, monitor, 459, 282), (PopupOrigin{0, 0}));
}

TEST(PopupPlacement, StaysOnASecondMonitorToTheRight) {
  const PopupArea second{1024, 0, 2048, 768};
  EXPECT_EQ(PlacePopup(PopupCaret{2040, 100, 16}, second, 459, 282), (PopupOrigin{2048 - 459, 116}));
  EXPECT_EQ(PlacePopup(std::nullopt, second, 459, 282), (PopupOrigin{1024 + (1024 - 459) / 2, (768 - 282) / 2}));
}

TEST(PopupPlacement, WithoutCaretATallPopupEndsAtTheMonitorBottom) {
  const PopupArea monitor{0, -100, 800, 500};
  EXPECT_EQ(PlacePopup(std::nullopt, monitor, 300, 900), (PopupOrigin{250, 500 - 900}));
  EXPECT_EQ(PlacePopup(std::nullopt, monitor, 300, 301), (PopupOrigin{250, -100 + 299 / 2}));
}

class PopupSearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    table.Open();
    for (const char* name : {"Abc", "abd", "Bye", "x"}) {
      table.Append();
      table.SetName(name);
      table.Post();
    }
    table.SortByName();
  }
  std::vector<std::string> Visible() const {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < table.VisibleCount(); ++i) names.emplace_back(table.VisibleAt(i).Name);
    return names;
  }
  TemplateTable table;
};

TEST_F(PopupSearchTest, NarrowsByPrefixIgnoringCaseAndWidensAgain) {
  ApplyPopupSearch(table, {"ab", true});
  EXPECT_EQ(Visible(), (std::vector<std::string>{"Abc", "abd"}));
  ApplyPopupSearch(table, {"abcd", true});
  EXPECT_TRUE(Visible().empty());
  ApplyPopupSearch(table, {"", true});
  EXPECT_EQ(Visible().size(), 4u);
}

TEST_F(PopupSearchTest, ACharacterTheCodePageLacksMatchesNothing) {
  ApplyPopupSearch(table, {"?", false});
  EXPECT_TRUE(Visible().empty());
}

TEST_F(PopupSearchTest, BoundControlsHearOneChangePerSearch) {
  struct Counter : TemplateTableLink {
    int changes = 0;
    void TableChanged() override { ++changes; }
  } counter;
  table.AddLink(&counter);
  ApplyPopupSearch(table, {"a", true});
  ApplyPopupSearch(table, {"", true});
  EXPECT_EQ(counter.changes, 2);
  table.RemoveLink(&counter);
}

TEST(PopupSearch, MatchedPrefixIsTheNamesFirstCharacters) {
  EXPECT_EQ(MatchedPrefix(L"Abc", L"ab"), L"Ab");
  EXPECT_EQ(MatchedPrefix(L"A", L"ab"), L"A");
  EXPECT_EQ(MatchedPrefix(L"", L"ab"), L"ab");
  EXPECT_EQ(MatchedPrefix(L"Abc", L""), L"");
}

}  // namespace
}  // namespace snibbet
