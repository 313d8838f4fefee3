// The clipboard and layout actions over a fake target window and clipboard:
// the selection converted and pasted back with the user's clipboard returned
// on every path, the last word retyped under the next layout, and which
// kind-9 parameters run what.
#include <gtest/gtest.h>

#include <stdexcept>

#include "keyboard/action_layout.h"
#include "keyboard/actions.h"
#include "keyboard/key_history.h"
#include "keyboard/key_model.h"
#include "keyboard/layout_switch.h"
#include "layout_actions_fakes.h"

namespace snibbet {
namespace {

using testing::FakeClipboard;
using testing::FakeInput;
using testing::FakeLayoutChars;
using testing::FakeLayouts;
using testing::FakeSwitcher;
using testing::SentKey;

class LayoutActionsTest : public ::testing::Test {
 protected:
  LayoutActionsTest() : model(layouts, input, &tables) {
    model.ApplyLayout(testing::BuiltInLayout(), L"Standard");
    model.SetView(&view);
    model.SetPainting(true);
  }

  // What the keyboard hook does with a passed event.
  void Event(int code, bool up) {
    TQvBtn* key = model.Button(code);
    ASSERT_NE(key, nullptr) << code;
    const bool changed = key->Pressed() == up;
    input.Physical(model, code, !up);
    if (changed) history.Record(model, code, up, false);
  }
  void Type(std::string_view keys) {
    for (char c : keys) {
      Event(c, false);
      Event(c, true);
    }
  }
  std::vector<SentKey> Sent() const { return input.SentWithoutEsc(); }

  FakeLayouts layouts;
  FakeInput input;
  CharTableCache tables;
  TQvKeyboard model;
  testing::CountingView view;
  TKeyHistory history;
  FakeClipboard clipboard;
  FakeSwitcher switcher{model};
  FakeLayoutChars chars{layouts};
  LayoutActions actions{model, history, clipboard, clipboard, switcher, chars, testing::Latin1CaseMapping()};
};

// ---- converting the selection ----

TEST_F(LayoutActionsTest, SelectionIsConvertedInPlaceAndTheUserClipboardComesBack) {
  Type("AB");
  input.Physical(model, kVkLeftShift, true);  // the user still holds Shift
  input.sent.clear();

  actions.ConvertSelectedText(kCaseUpper);

  EXPECT_EQ(clipboard.Document(), L"say HELLO WORLD!");
  EXPECT_EQ(clipboard.Steps(), "save monitor-off clear cut wait put wait paste restore monitor-on");
  // Shift is up in the system while the program types, and down again after.
  EXPECT_EQ(Sent(), (std::vector<SentKey>{{160, true, false}, {160, false, false}}));
  EXPECT_TRUE(model.Painting());
  EXPECT_EQ(history.Count(), 0);
}

TEST_F(LayoutActionsTest, NothingSelectedChangesNothingAndStillRestores) {
  clipboard.selection.clear();
  actions.ConvertSelectedText(kCaseSentence);
  EXPECT_EQ(clipboard.Document(), L"say !");
  EXPECT_EQ(clipboard.Steps(), "save monitor-off clear cut wait restore monitor-on");

  // An empty clipboard had nothing to put back.
  FakeClipboard empty;
  empty.text.clear();
  LayoutActions onEmpty{model, history, empty, empty, switcher, chars, testing::Latin1CaseMapping()};
  onEmpty.ConvertSelectedText(kCaseLower);
  EXPECT_EQ(empty.Document(), L"say hello world!");
  EXPECT_EQ(empty.Steps(), "save monitor-off clear cut wait put wait paste monitor-on");
}

TEST_F(LayoutActionsTest, AFailedPutNeverPastesAnythingButTheCutText) {
  // The clipboard still holds the cut text: pasting it undoes the cut.
  clipboard.putFailures = 1;
  actions.ConvertSelectedText(kCaseUpper);
  EXPECT_EQ(clipboard.Document(), L"say hello world!");
  EXPECT_EQ(clipboard.Steps(), "save monitor-off clear cut wait put paste restore monitor-on");

  // The failed put emptied it: the cut text is put again before pasting.
  FakeClipboard emptied;
  emptied.putFailures = 1;
  emptied.putEmptiesFirst = true;
  LayoutActions second{model, history, emptied, emptied, switcher, chars, testing::Latin1CaseMapping()};
  second.ConvertSelectedText(kCaseUpper);
  EXPECT_EQ(emptied.Document(), L"say hello world!");
  EXPECT_EQ(emptied.Steps(), "save monitor-off clear cut wait put put wait paste restore monitor-on");

  // Nothing reaches the clipboard: nothing is pasted.
  FakeClipboard broken;
  broken.putFailures = 2;
  broken.putEmptiesFirst = true;
  LayoutActions third{model, history, broken, broken, switcher, chars, testing::Latin1CaseMapping()};
  third.ConvertSelectedText(kCaseUpper);
  EXPECT_EQ(broken.Steps(), "save monitor-off clear cut wait put put restore monitor-on");
}

TEST_F(LayoutActionsTest, AStepThatThrowsStillRestoresEverything) {
  for (const char* step : {"clear", "cut", "wait", "put", "paste"}) {
    FakeClipboard failing;
    failing.throwAt = step;
    LayoutActions run{model, history, failing, failing, switcher, chars, testing::Latin1CaseMapping()};
    Type("A");
    input.Physical(model, kVkLeftShift, true);  // released while we type, pressed again after

    EXPECT_THROW(run.ConvertSelectedText(kCaseUpper), std::runtime_error) << step;
    const std::string steps = failing.Steps();
    EXPECT_EQ(steps.substr(steps.size() - 18), "restore monitor-on") << step;
    EXPECT_TRUE(failing.monitoring) << step;
    EXPECT_TRUE(model.Painting()) << step;
    EXPECT_EQ(input.systemDown, std::set<int>{kVkLeftShift}) << step;
    EXPECT_EQ(history.Count(), 0) << step;
    input.Physical(model, kVkLeftShift, false);
  }
}

TEST_F(LayoutActionsTest, TheUserClipboardIsNeverEmptiedWhenItCannotComeBack) {
  clipboard.kept = false;  // the monitor could not read it
  actions.ConvertSelectedText(kCaseUpper);
  EXPECT_EQ(clipboard.Steps(), "save");
  EXPECT_EQ(clipboard.text, L"the user's text");
  EXPECT_EQ(clipboard.Document(), L"say hello world!");

  FakeClipboard noMonitor;
  noMonitor.available = false;
  LayoutActions withoutMonitor{model, history, noMonitor, noMonitor, switcher, chars, testing::Latin1CaseMapping()};
  withoutMonitor.ConvertSelectedText(kCaseUpper);
  withoutMonitor.ExecuteClipboardAction();
  EXPECT_EQ(noMonitor.Steps(), "");
  EXPECT_TRUE(input.sent.empty());
}

TEST_F(LayoutActionsTest, AClipboardThatWouldNotEmptyIsNotTakenForTheSelection) {
  clipboard.clearFails = true;
  actions.ConvertSelectedText(kCaseUpper);
  EXPECT_EQ(clipboard.Steps(), "save monitor-off clear restore monitor-on");
  EXPECT_EQ(clipboard.Document(), L"say hello world!");
}

TEST_F(LayoutActionsTest, ACutThatIsNoTextGoesBackUnchanged) {
  clipboard.cutTakesNonText = true;
  actions.ConvertSelectedText(kCaseUpper);
  EXPECT_EQ(clipboard.Document(), L"say <picture>!");
  EXPECT_EQ(clipboard.Steps(), "save monitor-off clear cut wait paste restore monitor-on");
}

TEST_F(LayoutActionsTest, PaintingThatWasOffStaysOff) {
  model.SetPainting(false);
  actions.ConvertSelectedText(kCaseUpper);
  EXPECT_FALSE(model.Painting());
  actions.RetypeLastWord();
  EXPECT_FALSE(model.Painting());
}

TEST_F(LayoutActionsTest, RemapConvertsTheSelectionToTheNextLayout) {
  clipboard.selection = L"qwe 12";
  actions.ConvertSelectedText(kLayoutRemapSelection);
  EXPECT_EQ(clipboard.Document(), L"say aze &\u00E9!");
  EXPECT_EQ(switcher.switches, std::vector<LayoutHandle>{kNextLayout});
  EXPECT_EQ(model.CurrentLayout(), testing::kSwapped);
}

TEST_F(LayoutActionsTest, ClipboardActionRestoresInsideOneOwnInputBracket) {
  input.Physical(model, kVkLeftCtrl, true);
  input.sent.clear();
  actions.ExecuteClipboardAction();
  EXPECT_EQ(clipboard.Steps(), "save monitor-off restore monitor-on");
  EXPECT_EQ(Sent(), (std::vector<SentKey>{{162, true, false}, {162, false, false}}));
  EXPECT_FALSE(model.OwnInput());

  FakeClipboard failing;
  failing.text.clear();  // nothing to put back
  failing.throwAt = "monitor-off";
  LayoutActions run{model, history, failing, failing, switcher, chars, testing::Latin1CaseMapping()};
  EXPECT_THROW(run.ExecuteClipboardAction(), std::runtime_error);
  EXPECT_EQ(failing.Steps(), "save monitor-off monitor-on");
  EXPECT_FALSE(model.OwnInput());
}

// ---- retyping the last word ----

TEST_F(LayoutActionsTest, TheLastWordIsErasedAndRetypedOnTheSameKeysInTheNextLayout) {
  Type("QW");
  input.sent.clear();
  bool lockedMeanwhile = false, paintingMeanwhile = true;
  switcher.duringSwitch = [&] {
    lockedMeanwhile = history.Locked();
    paintingMeanwhile = model.Painting();
  };

  actions.RetypeLastWord();

  const std::vector<SentKey> typed = {{8, false, false},  {8, true, false},  {8, false, false}, {8, true, false},
                                      {65, false, false}, {65, true, false}, {90, false, false}, {90, true, false}};
  EXPECT_EQ(Sent(), typed);
  EXPECT_TRUE(lockedMeanwhile);
  EXPECT_FALSE(paintingMeanwhile);
  EXPECT_FALSE(history.Locked());
  EXPECT_TRUE(model.Painting());

  // Again: back to the first layout, on the same keys.
  input.sent.clear();
  actions.RetypeLastWord();
  EXPECT_EQ(Sent()[4], (SentKey{81, false, false}));
  EXPECT_EQ(Sent()[6], (SentKey{87, false, false}));
}

TEST_F(LayoutActionsTest, KeysStillHeldAreClosedInTheHistoryAndHeldAgainAfterwards) {
  Event(kVkLeftShift, false);
  Event('Q', false);  // "Q" typed, both keys still down
  input.sent.clear();

  actions.RetypeLastWord();

  const std::vector<SentKey> expected = {
      {81, true, false},   {160, true, false},                      // the user's keys up in the system
      {8, false, false},   {8, true, false},                        // the one character erased
      {160, false, false}, {65, false, false}, {65, true, false},   // Shift+Q replayed on the new layout
      {160, true, false},  {160, false, false}};                    // Shift held again for the user
  EXPECT_EQ(Sent(), expected);
  EXPECT_FALSE(history.Active());
  EXPECT_EQ(input.systemDown, std::set<int>{kVkLeftShift});
}

TEST_F(LayoutActionsTest, RetypeDoesNothingWhileTheHistoryIsLockedAndUnlocksAfterAFailure) {
  Type("QW");
  history.SetLocked(true);
  input.sent.clear();
  actions.RetypeLastWord();
  EXPECT_TRUE(input.sent.empty());
  EXPECT_TRUE(switcher.switches.empty());
  history.SetLocked(false);

  input.Physical(model, kVkLeftCtrl, true);
  switcher.duringSwitch = [] { throw std::runtime_error("switch"); };
  EXPECT_THROW(actions.RetypeLastWord(), std::runtime_error);
  EXPECT_FALSE(history.Locked());
  EXPECT_TRUE(model.Painting());
  EXPECT_EQ(input.systemDown, std::set<int>{kVkLeftCtrl});
}

// ---- which parameter runs what ----

class LayoutActionParams : public LayoutActionsTest {
 protected:
  void Run(int param, const std::wstring& text = L"") {
    TQvAction binding;
    binding.SetKind(9);
    binding.SetParam(static_cast<std::uint8_t>(param));
    binding.SetText(text);
    actions.ExecuteLayoutAction(binding);
  }
};

TEST_F(LayoutActionParams, WithOneLayoutOnlyAGivenLayoutRuns) {
  switcher.layouts = 1;
  Type("QW");
  for (int param : {0, 1, 2, 9, 200, kCaseWords}) Run(param);
  EXPECT_TRUE(switcher.switches.empty());
  EXPECT_EQ(clipboard.Steps(), "");

  Run(kLayoutGiven, L"$040C040C");
  EXPECT_EQ(switcher.switches, std::vector<LayoutHandle>{testing::kSwapped});
}

TEST_F(LayoutActionParams, WithTwoLayoutsEachParameterRunsItsAction) {
  Run(kLayoutNext);
  EXPECT_EQ(switcher.switches, std::vector<LayoutHandle>{kNextLayout});

  Type("Q");
  input.sent.clear();
  Run(kLayoutRetypeWord);
  EXPECT_EQ(Sent().front(), (SentKey{8, false, false}));

  Run(kLayoutRemapSelection);
  EXPECT_NE(clipboard.Steps().find("cut"), std::string::npos);

  switcher.switches.clear();
  for (const wchar_t* text : {L"", L"0", L"layout"}) Run(kLayoutGiven, text);
  EXPECT_TRUE(switcher.switches.empty());
}

}  // namespace
}  // namespace snibbet
