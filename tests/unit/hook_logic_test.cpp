// The keyboard hook's rules and the executor over a fake desktop: what reaches
// the applications, what the hook swallows, what SnibbetCm is told and when,
// and that no key is left down anywhere afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "keyboard/template_hotkey.h"
#include "tests/unit/hook_fake_system.h"

namespace snibbet {
namespace {

using testing::HookRig;

constexpr int kSpace = 32, kLWin = 91, kRWin = 92, kLCtrl = 162, kLAlt = 164, kA = 'A', kB = 'B';

long CountOf(const std::vector<std::string>& events, const std::string& what) {
  return std::count(events.begin(), events.end(), what);
}

class Hook : public ::testing::Test, public HookRig {};

TEST_F(Hook, WinSpaceIsSwallowedRunsOnceWithInputBlockedAndLeavesNothingDown) {
  desk.Press(kA);
  desk.Release(kA);
  desk.Press(kB);
  desk.Release(kB);
  EXPECT_EQ(desk.Press(kLWin, true), HookVerdict::Pass);
  EXPECT_EQ(desk.Press(kSpace), HookVerdict::Swallow);
  EXPECT_NE(executor.PendingAction(), nullptr);
  EXPECT_TRUE(desk.runTimerOn);
  // The Esc key-up keeps the Start menu shut when Win comes up.
  EXPECT_EQ(CountOf(desk.events, "esc"), 1);
  EXPECT_EQ(desk.Release(kSpace), HookVerdict::Pass);
  EXPECT_EQ(desk.Release(kLWin, true), HookVerdict::Pass);

  EXPECT_EQ(std::count(desk.appPresses.begin(), desk.appPresses.end(), kSpace), 0) << "Space reached the target";
  // A hung SnibbetCm cannot stall the desktop's keys: the hook never waits for it.
  EXPECT_TRUE(desk.helperMessages.empty());
  EXPECT_EQ(KeyHistory().Count(), 0) << "the test's history is its own";
  EXPECT_GT(history.Count(), 0) << "ab was recorded";

  desk.events.clear();
  RunTimer();
  EXPECT_EQ(desk.events, (std::vector<std::string>{"helper 1208", "sound 6", "show", "helper 1209"}));
  EXPECT_EQ(executor.PendingAction(), nullptr);
  EXPECT_FALSE(hook.OwnInputActive());
  EXPECT_TRUE(desk.appDown.empty());
  EXPECT_FALSE(AnyKeyShownPressed());
  RunTimer();
  EXPECT_EQ(desk.shows, 1);
}

TEST_F(Hook, RightWinFiresTooWhileSpaceAloneAndCtrlSpaceReachTheTarget) {
  desk.Press(kRWin, true);
  EXPECT_EQ(desk.Press(kSpace), HookVerdict::Swallow);
  desk.Release(kSpace);
  desk.Release(kRWin, true);
  RunTimer();
  EXPECT_EQ(desk.shows, 1);

  EXPECT_EQ(desk.Press(kSpace), HookVerdict::Pass);
  desk.Release(kSpace);
  desk.Press(kLCtrl);
  EXPECT_EQ(desk.Press(kSpace), HookVerdict::Pass);
  desk.Release(kSpace);
  desk.Release(kLCtrl);
  RunTimer();
  EXPECT_EQ(desk.shows, 1);
  EXPECT_TRUE(desk.appDown.empty());
}

TEST_F(Hook, AnotherChordFromTheSettingReplacesWinSpace) {
  BindTemplateHotkeyFromSetting(actions, 0x6000 | 'Q');  // left Ctrl + left Alt + Q
  ASSERT_EQ(actions.Size(), 1u);
  EXPECT_EQ(actions.At(0).Kind(), kKindProgram);
  EXPECT_EQ(actions.At(0).Param(), kProgramShowTemplates);

  desk.Press(kLWin, true);
  EXPECT_EQ(desk.Press(kSpace), HookVerdict::Pass);
  desk.Release(kSpace);
  desk.Release(kLWin, true);
  desk.Press(kLCtrl);
  desk.Press(kLAlt);
  EXPECT_EQ(desk.Press('Q'), HookVerdict::Swallow);
  desk.Release('Q');
  desk.Release(kLAlt);
  desk.Release(kLCtrl);
  RunTimer();
  EXPECT_EQ(desk.shows, 1);

  BindTemplateHotkeyFromSetting(actions, 0);
  EXPECT_EQ(actions.Size(), 0u) << "no key, no binding";
}

TEST_F(Hook, AHotkeyWhileAnActionIsPendingIsSwallowedAndDropped) {
  desk.Press(kLWin, true);
  EXPECT_EQ(desk.Press(kSpace), HookVerdict::Swallow);
  desk.Release(kSpace);
  EXPECT_EQ(desk.Press(kSpace), HookVerdict::Swallow) << "second press";
  desk.Release(kSpace);
  desk.Release(kLWin, true);
  RunTimer();
  RunTimer();
  EXPECT_EQ(desk.shows, 1);
  EXPECT_EQ(CountOf(desk.events, "timer on"), 1);
}

TEST_F(Hook, PendingIsClearedBeforeTheEscKeyUpReentersTheHook) {
  desk.Press(kLWin, true);
  const auto before = desk.events.size();
  desk.Press(kSpace);
  // "timer on" is logged before "esc": the pending flag was handed over first.
  std::vector<std::string> tail(desk.events.begin() + static_cast<long>(before), desk.events.end());
  const auto timer = std::find(tail.begin(), tail.end(), "timer on");
  const auto esc = std::find(tail.begin(), tail.end(), "esc");
  ASSERT_NE(timer, tail.end());
  ASSERT_NE(esc, tail.end());
  EXPECT_LT(timer - tail.begin(), esc - tail.begin());
  EXPECT_FALSE(hook.ActionFirePending());
  desk.Release(kSpace);
  desk.Release(kLWin, true);
}

TEST_F(Hook, ThePendingActionIsGoneBeforeTheBlockEndsAndReplayedReleasesReachTheModel) {
  desk.Press(kLWin, true);
  desk.Press(kSpace);
  bool pendingAt1209 = true, ownInputAt1209 = true;
  desk.onHelper = [&](unsigned message) {
    if (message != WM_HELPER_UNBLOCK_INPUT) return;
    pendingAt1209 = executor.PendingAction() != nullptr;
    ownInputAt1209 = hook.OwnInputActive();
    // SnibbetCm replays the releases it held back during the action.
    desk.Key(kSpace, true, false, true);
    desk.Key(kLWin, true, true, true);
  };
  // Key presses of others during the action pass the hook untouched.
  desk.onShow = [&] {
    EXPECT_EQ(desk.Press('X'), HookVerdict::Pass);
    EXPECT_FALSE(model.IsKeyPressed('X')) << "a press during own input does not change the model";
  };
  RunTimer();
  EXPECT_FALSE(pendingAt1209);
  EXPECT_FALSE(ownInputAt1209);
  EXPECT_FALSE(model.IsKeyPressed(kSpace));
  EXPECT_FALSE(model.IsKeyPressed(kLWin));
  EXPECT_EQ(model.GetControlSet(), 0);
}

TEST_F(Hook, AFailingActionStillUnblocksAndLeavesNothingPending) {
  desk.onShow = [] { throw std::runtime_error("pop-up broke"); };
  desk.Press(kLWin, true);
  desk.Press(kSpace);
  desk.Release(kSpace);
  desk.Release(kLWin, true);
  RunTimer();
  EXPECT_EQ(executor.PendingAction(), nullptr);
  EXPECT_FALSE(hook.OwnInputActive());
  EXPECT_EQ(desk.helperMessages, (std::vector<unsigned>{WM_HELPER_BLOCK_INPUT, WM_HELPER_UNBLOCK_INPUT}));
}

// The executor lets go of a binding its list frees, as the program connects it.
class ForgetFreedBindings final : public BindingListPort {
 public:
  ForgetFreedBindings(TQvActions& list, TQvActionExecute& executor)
      : list_(list), executor_(executor), previous_(list.Connect(this)) {}
  ~ForgetFreedBindings() override { list_.Connect(previous_); }
  void ListChanged() override {}
  void PictureRemoved(std::uint8_t, ControlSet) override {}
  void BindingFreed(const TQvAction& binding) override { executor_.Forget(binding); }

 private:
  TQvActions& list_;
  TQvActionExecute& executor_;
  BindingListPort* previous_;
};

TEST_F(Hook, ABindingFreedWhilePendingIsNotRun) {
  const ForgetFreedBindings forget(actions, executor);
  desk.Press(kLWin, true);
  desk.Press(kSpace);
  Bind(0x8020);  // the setting is applied again: the list is rebuilt
  desk.Release(kSpace);
  desk.Release(kLWin, true);
  RunTimer();
  EXPECT_EQ(desk.shows, 0);
  EXPECT_FALSE(hook.OwnInputActive());
  EXPECT_TRUE(desk.helperMessages.empty()) << "nothing ran, so nothing was blocked";
}

TEST_F(Hook, PastTheNestingBoundPressesAreSwallowedButReleasesGoOn) {
  // Every printable press plays a sound; the sound here types another key,
  // which comes back through the hook while the first is still running.
  std::vector<HookVerdict> deepPress, deepRelease;
  int level = 0;
  desk.onSound = [&](int slot) {
    if (slot != kSoundPrintableKey || level >= 8) return;
    ++level;
    const int depth = hook.NestingDepth();
    if (depth >= KeyboardHookLogic::kMaxNesting) {
      deepPress.push_back(desk.Press('C'));
      deepRelease.push_back(desk.Release('C'));
    } else {
      desk.Press('0' + level);
    }
  };
  desk.Press(kA);
  ASSERT_FALSE(deepPress.empty());
  EXPECT_EQ(deepPress.front(), HookVerdict::Swallow);
  EXPECT_EQ(deepRelease.front(), HookVerdict::Pass);
  EXPECT_EQ(hook.NestingDepth(), 0) << "every level counted back";
}

TEST_F(Hook, OwnInputPassesEverythingAndASecondBeginSendsNothing) {
  hook.BeginInputBlock();
  hook.BeginInputBlock();
  EXPECT_EQ(desk.helperMessages, std::vector<unsigned>{WM_HELPER_BLOCK_INPUT});
  desk.Press(kLWin, true);
  EXPECT_EQ(desk.Press(kSpace), HookVerdict::Pass);
  EXPECT_FALSE(model.IsKeyPressed(kLWin));
  hook.EndInputBlock();
  hook.EndInputBlock();
  EXPECT_EQ(desk.helperMessages, (std::vector<unsigned>{WM_HELPER_BLOCK_INPUT, WM_HELPER_UNBLOCK_INPUT}));
}

TEST_F(Hook, KeysStillShownHeldFifteenSecondsAfterOwnInputAreReleased) {
  desk.Press(kLCtrl);
  desk.Press(kA);
  hook.BeginInputBlock();
  EXPECT_FALSE(desk.releaseTimerOn);
  hook.EndInputBlock();
  EXPECT_TRUE(desk.releaseTimerOn);
  EXPECT_EQ(desk.releaseTimerMs, 15000u);
  EXPECT_TRUE(hook.ReleaseMarked(kLCtrl));
  desk.Release(kA);  // its release came: no longer marked
  EXPECT_FALSE(hook.ReleaseMarked(kA));
  hook.ReleaseMarkedKeys();
  EXPECT_FALSE(desk.releaseTimerOn);
  EXPECT_FALSE(AnyKeyShownPressed());
}

TEST_F(Hook, ALoneWinTapBindingFiresOnReleaseAndTypesAnEscKeyUp) {
  actions.Clear();
  TQvAction* binding = actions.Add(kLWin, 0);
  binding->SetKind(kKindProgram);
  binding->SetParam(kProgramShowTemplates);
  desk.Press(kLWin, true);
  EXPECT_EQ(desk.Release(kLWin, true), HookVerdict::Pass);
  EXPECT_TRUE(binding->firedOnKeyUp);
  EXPECT_EQ(CountOf(desk.events, "esc"), 1);
  RunTimer();
  EXPECT_EQ(desk.shows, 1);

  // Win used with another key is no tap.
  desk.Press(kLWin, true);
  desk.Press('E');
  desk.Release('E');
  desk.Release(kLWin, true);
  RunTimer();
  EXPECT_EQ(desk.shows, 1);
}

TEST_F(Hook, TheOpenPopUpGetsEveryPressButNumLockAndEveryReleasePasses) {
  hook.templateViewActive = true;
  EXPECT_EQ(desk.Press(kA), HookVerdict::Swallow);
  EXPECT_EQ(desk.Release(kA), HookVerdict::Pass);
  EXPECT_EQ(desk.Press(13), HookVerdict::Swallow);
  EXPECT_EQ(desk.Press(kVkNumLock, true), HookVerdict::Pass);
  EXPECT_EQ(desk.queuedPopupKeys, (std::vector<int>{kA, 13}));
}

// " zq" typed fast into the open pop-up: the break closes it, and the keys
// queued behind it reach the target as the user's typing, so the next hotkey
// finds "zq" typed, each key's press and release recorded once.
TEST_F(Hook, KeysTheClosedPopUpHandsOnCountAsTypingOnce) {
  const auto typeHeldBack = [&] {
    for (int code : desk.queuedPopupKeys) hook.TypeHeldBackKey(static_cast<std::uint8_t>(code));
    desk.queuedPopupKeys.clear();
  };
  desk.helperHoldsKeys = true;
  desk.foreground = 0x100;
  hook.templateViewActive = true;
  for (int code : {kSpace, static_cast<int>('Z')}) {
    desk.Press(code);
    desk.Release(code);
  }
  desk.Press('Q');
  // The pop-up's timer, inside its input block: the space closes it.
  hook.BeginInputBlock();
  hook.templateViewActive = false;
  typeHeldBack();
  desk.Release('Q');  // held back by SnibbetCm, replayed at the block's end
  hook.EndInputBlock();
  EXPECT_EQ(RebuildTypedWord(history, model, L" "), L"zq");
  EXPECT_EQ(history.Count(), 6);
  EXPECT_EQ(history.TypedInto(), 0x100u);
  EXPECT_EQ(desk.appPresses, (std::vector<int>{kSpace, 'Z', 'Q'}));

  // Outside an input block the hook sees a key re-sent after its release
  // itself; a key still held changes nothing there.
  history.Reset();
  hook.templateViewActive = true;
  desk.Press(kA);
  desk.Release(kA);
  desk.Press(kB);
  hook.templateViewActive = false;
  typeHeldBack();
  desk.Release(kB);
  EXPECT_EQ(RebuildTypedWord(history, model, L" "), L"ab");
  EXPECT_EQ(history.Count(), 4);
}

TEST_F(Hook, LockKeyAutoRepeatIsSwallowedAndCtrlAltDeleteReleasesEverything) {
  EXPECT_EQ(desk.Press(kVkCapital), HookVerdict::Pass);
  EXPECT_EQ(desk.Press(kVkCapital), HookVerdict::Swallow);
  desk.Release(kVkCapital);

  desk.Press(kLCtrl);
  desk.Press(kLAlt);
  desk.Press(kVkDelete, true);
  EXPECT_FALSE(AnyKeyShownPressed());
}

// The reports of a new window in front and of a click arrive late when the
// program is busy, after keys the user typed after them.
TEST_F(Hook, AWordRemembersWhereAndWhenItBeganAndOnlyAnEarlierChangeEndsIt) {
  desk.foreground = 0x100;
  desk.tick = 5000;
  desk.Press(kA);
  desk.Release(kA);
  desk.foreground = 0x200;  // asked once, at the word's first key
  desk.tick = 5100;
  desk.Press(kB);
  desk.Release(kB);
  EXPECT_EQ(history.TypedInto(), 0x100u);

  const int typed = history.Count();
  history.ResetForForeground(0x100);
  EXPECT_EQ(history.Count(), typed) << "the late report of the word's own window";
  history.ResetForClickAt(4990);
  EXPECT_EQ(history.Count(), typed) << "the late report of a click before the word";
  history.ResetForClickAt(5000);
  EXPECT_EQ(history.Count(), 0) << "a click as the word began ends it";

  desk.tick = 0xFFFFFFF0u;  // the tick count wraps between the click and the word
  desk.Press(kA);
  desk.Release(kA);
  history.ResetForClickAt(0xFFFFFFE0u);
  EXPECT_GT(history.Count(), 0);
  history.ResetForForeground(0x300);
  EXPECT_EQ(history.Count(), 0) << "another window's report ends it";

  // Typed with no window in front: any report of one ends it.
  desk.foreground = 0;
  desk.Press(kB);
  history.ResetForForeground(0);
  EXPECT_EQ(history.Count(), 0);
  desk.Release(kB);
  desk.foreground = 0x300;
  desk.Press(kA);
  EXPECT_EQ(history.TypedInto(), 0x300u) << "the next word asks again";
}

TEST_F(Hook, KeysWithoutAModelKeyPassUntouched) {
  int unknown = 0;
  for (int code = 1; code <= 255 && !unknown; ++code)
    if (!model.Button(code)) unknown = code;
  ASSERT_NE(unknown, 0);
  const int before = history.Count();
  EXPECT_EQ(desk.Press(unknown), HookVerdict::Pass);
  EXPECT_EQ(history.Count(), before);
}

TEST_F(Hook, KeypadKeysCountAsTheirDigitsAndCanBeTypedAsDigits) {
  EXPECT_EQ(desk.Press(36), HookVerdict::Pass);  // keypad 7 with NumLock off
  EXPECT_TRUE(model.IsKeyPressed(103));
  EXPECT_FALSE(model.IsKeyPressed(36));
  desk.Release(36);

  desk.numAlwaysFigure = true;
  desk.appPresses.clear();
  EXPECT_EQ(desk.Press(36), HookVerdict::Swallow);
  EXPECT_EQ(desk.appPresses, std::vector<int>{103}) << "the digit is typed in its place";
  desk.Release(36);
  EXPECT_EQ(desk.Press(36, true), HookVerdict::Pass) << "the navigation block's Home";
  desk.Release(36, true);
  EXPECT_TRUE(desk.appDown.empty());
}

TEST_F(Hook, ABurstOfLayoutChangesActivatesElevenThenOnlyTheModelFollows) {
  desk.tick += 100;
  for (int i = 0; i < 15; ++i) {
    hook.ApplyForegroundLayout(i % 2 ? testing::kUs : testing::kSwapped);
    desk.tick += 10;
  }
  EXPECT_EQ(model.CurrentLayout(), testing::kSwapped) << "the model follows every change";
  EXPECT_EQ(desk.activated.size(), 11u);
  desk.tick += 100;
  hook.ApplyForegroundLayout(testing::kUs);
  EXPECT_EQ(desk.activated.size(), 12u) << "a gap ends the burst";
  hook.ApplyForegroundLayout(testing::kUs);
  EXPECT_EQ(desk.activated.size(), 12u) << "the same layout is no change";
}

TEST_F(Hook, AModifierThatChangesInTheModelAsksForTheKeyHintAfresh) {
  constexpr int kLShift = 160;
  std::vector<bool> shiftShownAtCall;
  desk.onModifier = [&] { shiftShownAtCall.push_back(model.IsKeyPressed(kLShift)); };
  desk.Press(kLShift);
  desk.Press(kLShift);  // auto-repeat: no change
  desk.Press(kA);
  desk.Release(kA);
  desk.Release(kLShift);
  desk.Release(kLShift);  // not shown pressed any more
  // The hint is asked for once the model shows the new modifiers.
  EXPECT_EQ(shiftShownAtCall, (std::vector<bool>{true, false}));

  // While the program types, the hook passes everything and asks nothing.
  hook.BeginInputBlock();
  desk.Press(kLCtrl);
  desk.Release(kLCtrl);
  hook.EndInputBlock();
  EXPECT_EQ(CountOf(desk.events, "modifier"), 2);
}

TEST_F(Hook, InstallAndRemoveTellTheHelperInOrder) {
  hook.HookRemoved();
  EXPECT_FALSE(model.Active());
  hook.HookInstalled(0);
  EXPECT_TRUE(model.Active());
  EXPECT_EQ(desk.helperMessages, (std::vector<unsigned>{WM_HELPER_HOOKS_OFF, WM_HELPER_HOOKS_ON}));
}

}  // namespace
}  // namespace snibbet
