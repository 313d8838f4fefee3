// The hotkey paste over the fake desktop with SnibbetCm holding physical keys
// back: however and whenever the user lets the chord go, no key is left down
// in the system or in the model, and a key the user holds through the paste
// is down exactly while the user holds it.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>

#include "tests/unit/hook_fake_system.h"

namespace snibbet {
namespace {

using testing::HookRig;

constexpr int kSpace = 32, kBack = 8, kLWin = 91, kRWin = 92, kLCtrl = 162, kV = 'V';

// Where in the hotkey paste the user lets the chord go.
enum class LetGo { BeforeTheAction, AtBlock, AfterOwnInputBegan, AfterBackspace, AfterCtrlV, AfterOwnInputEnded, AfterThePaste };
constexpr LetGo kEveryMoment[] = {LetGo::BeforeTheAction,   LetGo::AtBlock,   LetGo::AfterOwnInputBegan,
                                  LetGo::AfterBackspace,    LetGo::AfterCtrlV, LetGo::AfterOwnInputEnded,
                                  LetGo::AfterThePaste};

struct PasteRig : HookRig {
  PasteRig() { desk.helperHoldsKeys = true; }

  // The paste of a single matching template, typed by the program as the
  // real paste does: the model's bracket, one Backspace, Ctrl+V.
  void PasteOnShow(const std::function<void(LetGo)>& moment) {
    desk.onShow = [this, moment] {
      moment(LetGo::AtBlock);
      model.BeginOwnInput();
      moment(LetGo::AfterOwnInputBegan);
      desk.SendKey(kBack, false, false);
      desk.SendKey(kBack, true, false);
      moment(LetGo::AfterBackspace);
      desk.SendKey(kLCtrl, false, false);
      desk.SendKey(kV, false, false);
      desk.SendKey(kV, true, false);
      desk.SendKey(kLCtrl, true, false);
      moment(LetGo::AfterCtrlV);
      model.EndOwnInput();
      moment(LetGo::AfterOwnInputEnded);
    };
  }

  long PressesReachingApps(int code) const {
    return std::count(desk.appPresses.begin(), desk.appPresses.end(), code);
  }
};

class OwnInputHook : public ::testing::Test, public PasteRig {};

TEST_F(OwnInputHook, NoKeyIsLeftDownWhereverTheUserLetsTheChordGo) {
  for (const bool injected : {false, true}) {
    for (const LetGo letGo : kEveryMoment) {
      SCOPED_TRACE(std::string(injected ? "injected" : "physical") + " chord let go at step " +
                   std::to_string(static_cast<int>(letGo)));
      PasteRig rig;
      auto& desk = rig.desk;
      auto release = [&] {
        desk.Key(kSpace, true, false, injected);
        desk.Key(kLWin, true, true, injected);
      };
      rig.PasteOnShow([&](LetGo now) {
        if (now == letGo) release();
      });

      desk.Key(kLWin, false, true, injected);
      EXPECT_EQ(desk.Key(kSpace, false, false, injected), HookVerdict::Swallow);
      if (letGo == LetGo::BeforeTheAction) release();
      rig.RunTimer();
      if (letGo == LetGo::AfterThePaste) release();

      EXPECT_EQ(desk.shows, 1);
      EXPECT_EQ(rig.PressesReachingApps(kBack), 1);
      EXPECT_EQ(rig.PressesReachingApps(kV), 1);
      EXPECT_TRUE(desk.appDown.empty()) << "held in the system: " << *desk.appDown.begin();
      EXPECT_FALSE(rig.AnyKeyShownPressed());
      EXPECT_FALSE(rig.hook.OwnInputActive());

      // A plain Space afterwards is typed, not taken for the hotkey.
      EXPECT_EQ(desk.Press(kSpace), HookVerdict::Pass);
      desk.Release(kSpace);
      rig.RunTimer();
      EXPECT_EQ(desk.shows, 1);
    }
  }
}

TEST_F(OwnInputHook, AModifierHeldThroughThePasteIsUpWhileWeTypeAndDownUntilTheUserLetsGo) {
  for (const bool injected : {false, true}) {
    SCOPED_TRACE(injected ? "injected" : "physical");
    PasteRig rig;
    auto& desk = rig.desk;
    bool winDownWhileTyping = true;
    rig.PasteOnShow([&](LetGo now) {
      if (now == LetGo::AfterBackspace) winDownWhileTyping = desk.appDown.count(kRWin) != 0;
    });

    desk.Key(kRWin, false, true, injected);
    desk.Key(kSpace, false, false, injected);
    desk.Key(kSpace, true, false, injected);
    rig.RunTimer();
    EXPECT_EQ(desk.shows, 1);
    EXPECT_FALSE(winDownWhileTyping) << "Backspace went in with Win held";
    EXPECT_EQ(desk.appDown, std::set<int>{kRWin}) << "still held by the user";
    EXPECT_TRUE(rig.model.IsKeyPressed(kRWin));

    desk.Key(kRWin, true, true, injected);
    EXPECT_TRUE(desk.appDown.empty());
    EXPECT_FALSE(rig.AnyKeyShownPressed());
  }
}

TEST_F(OwnInputHook, AKeyOfOursThatAFailedActionLeftDownIsReleased) {
  desk.onShow = [this] {
    desk.SendKey(kLCtrl, false, false);
    throw std::runtime_error("the paste broke between Ctrl's press and its release");
  };
  desk.Press(kLWin, true);
  desk.Press(kSpace);
  desk.Release(kSpace);
  desk.Release(kLWin, true);
  RunTimer();
  EXPECT_TRUE(desk.appDown.empty());
  EXPECT_TRUE(desk.programDown.empty());
  EXPECT_FALSE(hook.OwnInputActive());
}

TEST_F(OwnInputHook, AModifierWhoseReleaseNeverCameFiresNothingOnceTheSystemShowsItUp) {
  desk.helperHoldsKeys = false;
  desk.Press(kLWin, true);
  desk.Press(kSpace);
  RunTimer();
  ASSERT_EQ(desk.shows, 1);
  // Both releases were lost on their way (the hook never saw them); the
  // model still shows the chord held and marks it for later release.
  desk.appDown.clear();
  ASSERT_TRUE(model.IsKeyPressed(kLWin));
  ASSERT_TRUE(hook.ReleaseMarked(kLWin));

  EXPECT_EQ(desk.Press(kSpace), HookVerdict::Pass) << "a plain Space opened the pop-up again";
  RunTimer();
  EXPECT_EQ(desk.shows, 1);
  EXPECT_FALSE(model.IsKeyPressed(kLWin));
}

TEST_F(OwnInputHook, KeysTypedDuringTheBlockReachTheModelAfterIt) {
  PasteOnShow([&](LetGo now) {
    if (now != LetGo::AfterCtrlV) return;
    desk.Press('A');
    desk.Release('A');
  });
  desk.Press(kLWin, true);
  desk.Press(kSpace);
  desk.Release(kSpace);
  desk.Release(kLWin, true);
  RunTimer();
  // SnibbetCm delivers the held-back "a" after the paste's Ctrl+V.
  const auto v = std::find(desk.appPresses.begin(), desk.appPresses.end(), kV);
  const auto a = std::find(desk.appPresses.begin(), desk.appPresses.end(), 'A');
  ASSERT_NE(a, desk.appPresses.end());
  EXPECT_LT(v, a);
  EXPECT_TRUE(desk.appDown.empty());
  EXPECT_FALSE(AnyKeyShownPressed());
  EXPECT_GT(history.Count(), 0) << "a replayed key counts as typed by the user";
}

// The user types the next word and the hotkey again while the paste of the
// first still runs. The pop-up's paste ends the input block from inside the
// action, so SnibbetCm replays those keys before the action is over.
TEST_F(OwnInputHook, AHotkeyTypedDuringAPasteRunsAfterItWithTheWordTypedBeforeIt) {
  std::vector<std::wstring> words;
  bool typedDuringThePaste = false;
  const auto typeWordAndHotkey = [this] {
    for (const int key : {kSpace, int{'Z'}, int{'Q'}}) {
      desk.Press(key);
      desk.Release(key);
    }
    desk.Press(kLWin, true);
    desk.Press(kSpace);
    desk.Release(kSpace);
    desk.Release(kLWin, true);
  };
  desk.onShow = [&] {
    words.push_back(RebuildTypedWord(history, model, L" "));
    history.Reset();
    // The single match pasted under the pop-up's own bracket.
    hook.BeginInputBlock();
    model.BeginOwnInput();
    desk.SendKey(kBack, false, false);
    desk.SendKey(kBack, true, false);
    if (!typedDuringThePaste) {
      typedDuringThePaste = true;
      typeWordAndHotkey();
    }
    model.EndOwnInput();
    history.Reset();
    hook.EndInputBlock();
  };
  typeWordAndHotkey();
  RunTimer();
  RunTimer();
  EXPECT_EQ(words, (std::vector<std::wstring>{L"zq", L"zq"}));
  EXPECT_EQ(PressesReachingApps(kSpace), 2) << "the word breaks only; no hotkey's Space";
  EXPECT_EQ(executor.PendingAction(), nullptr);
  EXPECT_TRUE(desk.appDown.empty());
  EXPECT_FALSE(AnyKeyShownPressed());
}

// A Win release the hook never saw (its call timed out while the program was
// busy) after the last own input: only the model shows Win held. The next
// word must not count as Win shortcuts, so its hotkey finds the word.
TEST_F(OwnInputHook, AWinShownHeldOnlyInTheModelNeitherEndsTheNextWordNorFoolsItsHotkey) {
  for (const int lostWin : {kLWin, kRWin}) {
    SCOPED_TRACE(lostWin);
    PasteRig rig;
    auto& desk = rig.desk;
    std::vector<std::wstring> words;
    desk.onShow = [&] { words.push_back(RebuildTypedWord(rig.history, rig.model, L" ")); };
    desk.Press(lostWin, true);
    desk.appDown.erase(lostWin);
    ASSERT_FALSE(rig.hook.ReleaseMarked(lostWin));

    desk.tick += 5000;  // the user goes on typing later
    for (const int key : {kSpace, int{'Z'}, int{'Q'}}) {
      desk.Press(key);
      desk.Release(key);
    }
    desk.Press(kLWin, true);
    EXPECT_EQ(desk.Press(kSpace), HookVerdict::Swallow);
    desk.Release(kSpace);
    desk.Release(kLWin, true);
    rig.RunTimer();
    EXPECT_EQ(words, std::vector<std::wstring>{L"zq"});
    EXPECT_FALSE(rig.AnyKeyShownPressed());
  }
}

// A Win pressed just before the key, whose press the system may not show yet
// (SnibbetCm replays a held-back chord in one go), still makes the chord.
TEST_F(OwnInputHook, AWinPressedJustBeforeTheKeyIsNotAskedOfTheSystem) {
  desk.Press(kLWin, true);
  desk.appDown.erase(kLWin);
  desk.tick += KeyboardHookLogic::kQuietModifierMs - 1;
  EXPECT_EQ(desk.Press(kSpace), HookVerdict::Swallow);
  RunTimer();
  EXPECT_EQ(desk.shows, 1);
}

}  // namespace
}  // namespace snibbet
