#include "keyboard/keyboard_hook.h"

#include "keyboard/actions.h"
#include "core/key_classes.h"
#include "keyboard/key_history.h"
#include "keyboard/key_model.h"

namespace snibbet {
namespace {

constexpr int kVkApps = 93, kVkLetterL = 76;
constexpr ControlSet kCtrlAltSet = 0x60, kWinSet = 0x80;

// The keypad keys with NumLock off (no extended flag) as the digits they carry.
int DigitOfNumpadNavigation(int code) {
  const int digit = KeypadCodeOfEvent(code, false);
  return digit == code ? 0 : digit;
}

}  // namespace

// Counts the invocations in progress, also when one unwinds.
class KeyboardHookLogic::DepthGuard {
 public:
  explicit DepthGuard(int& depth) : depth_(depth) { ++depth_; }
  ~DepthGuard() { --depth_; }
  DepthGuard(const DepthGuard&) = delete;
  DepthGuard& operator=(const DepthGuard&) = delete;

 private:
  int& depth_;
};

// What one event found out on its way through; values, never references into
// the model, because the hook's own sends re-enter it.
struct KeyboardHookLogic::Step {
  int code = 0;
  bool release = false;
  bool modifier = false;
  bool changed = false;
  ControlSet set = 0;
  ControlSet sideLessSet = 0;
};

KeyboardHookLogic::KeyboardHookLogic(HookPorts& ports, TQvActions& actions, TQvActionExecute& executor,
                                     TKeyHistory& history)
    : ports_(ports), actions_(actions), executor_(executor), history_(history) {}

HookVerdict KeyboardHookLogic::OnKeyEvent(int nCode, const KeyEvent& event) {
  if (nestingDepth_ < 0) nestingDepth_ = 0;
  // Too deep to look: a press is held back, but a release always goes on, or
  // its key would stay down in the system.
  if (nestingDepth_ >= kMaxNesting) return event.Release() ? HookVerdict::Pass : HookVerdict::Swallow;
  DepthGuard depth(nestingDepth_);
  if (nCode != 0 || !model_) return HookVerdict::Pass;
  if (ownInputActive_) {
    if (event.Release() && !event.OwnEvent()) NoteReleaseDuringOwnInput(event);
    return HookVerdict::Pass;
  }
  return Process(event);
}

// A release that came while we typed: the model must not go on showing the
// key held, or the end of our typing would press it again for good.
void KeyboardHookLogic::NoteReleaseDuringOwnInput(const KeyEvent& event) {
  const int raw = static_cast<int>(event.vkCode & 0xFF);
  if (raw == 0) return;
  const int code = KeypadCodeOfEvent(raw, event.Extended());
  if (!model_->Button(code)) return;
  if (model_->IsKeyPressed(code)) model_->SetKeyPressed(code, false);
  model_->NoteUserRelease(code);
  releaseMarks_[static_cast<std::size_t>(code)] = 0;
}

// A modifier shown held that the system shows released: its release never
// reached us (held back by our typing, or a hook call the system gave up on).
// Asked when it is still shown held from before our last typing, or when it
// has been quiet a while; the chord and the typed word go without it, or a
// lost Win release would turn every later letter into a shortcut.
void KeyboardHookLogic::ForgetModifiersTheSystemReleased(std::uint32_t now) {
  for (int code = kFirstKeyCode; code <= kLastKeyCode; ++code) {
    if (!IsModifierKey(code) || !model_->IsKeyPressed(code)) continue;
    const bool quiet = now - modifierPressTime_[static_cast<std::size_t>(code)] >= kQuietModifierMs;
    if (!releaseMarks_[static_cast<std::size_t>(code)] && !quiet) continue;
    if (ports_.SystemHoldsKey(static_cast<std::uint8_t>(code))) continue;
    model_->SetKeyPressed(code, false);
    releaseMarks_[static_cast<std::size_t>(code)] = 0;
  }
}

HookVerdict KeyboardHookLogic::Process(const KeyEvent& event) {
  Step step;
  step.code = static_cast<int>(event.vkCode & 0xFF);
  step.release = event.Release();
  if (step.code == 0) return HookVerdict::Pass;
  if (ports_.NumAlwaysFigure() && NormalizeNumpadKey(step.code, event)) return HookVerdict::Swallow;
  step.code = KeypadCodeOfEvent(step.code, event.Extended());
  if (!model_->Button(step.code)) return PassEvent(nullptr, event);
  if (ApplyPlainKeyAction(static_cast<std::uint8_t>(step.code), event) && step.code != kVkNumLock)
    return HookVerdict::Swallow;

  if (auto early = UpdateModel(step, event)) return *early;
  PlayKeySound(step, event);
  model_->Present();
  if (step.code == kVkApps && swallowNextAppsKey_) {
    swallowNextAppsKey_ = false;
    return HookVerdict::Swallow;
  }

  bool swallow = false;
  if (step.code == kVkNumLock && numLockResendGuard_) return HookVerdict::Swallow;
  if (step.code != kVkNumLock && templateViewActive && !step.release) {
    ports_.QueuePopupKey(static_cast<std::uint8_t>(step.code));
    swallow = true;
    HandleLockKeys(step, swallow, event);
  } else {
    swallow = DetectBinding(step, event);
    HandleLockKeys(step, swallow, event);
  }
  return swallow ? Swallow() : PassEvent(&step, event);
}

// The keypad typed as digits whatever NumLock says: the digit is sent in place
// of the navigation key.
bool KeyboardHookLogic::NormalizeNumpadKey(int code, const KeyEvent& event) {
  if (event.Extended()) return false;
  const int digit = DigitOfNumpadNavigation(code);
  if (digit == 0) return false;
  ports_.SendKey(static_cast<std::uint8_t>(digit), event.Release(), false);
  return true;
}

std::optional<HookVerdict> KeyboardHookLogic::UpdateModel(Step& step, const KeyEvent& event) {
  TQvBtn* key = model_->Button(step.code);
  key->SetExtended(event.Extended());
  step.modifier = IsModifierKey(step.code);
  if (step.release) {
    // A chord is judged by the keys held before its release.
    step.set = model_->GetControlSet();
    step.sideLessSet = model_->SideLessSet();
    if (key->Pressed()) {
      key->SetPressed(false);
      step.changed = true;
    }
    if (!event.OwnEvent()) model_->NoteUserRelease(step.code);
    releaseMarks_[static_cast<std::size_t>(step.code)] = 0;
    if (step.changed && step.modifier) ports_.ModifierChanged();
    return std::nullopt;
  }
  if (step.modifier) {
    modifierPressTime_[static_cast<std::size_t>(step.code)] = event.time;
  } else {
    ForgetModifiersTheSystemReleased(event.time);
  }
  if (model_->PressedCount() == 0) modifierOnlyChord_ = true;
  // The auto-repeat of a lock key would toggle it again and again.
  if (IsLockKey(step.code) && key->Pressed()) return HookVerdict::Swallow;
  if (!key->Pressed()) {
    key->SetPressed(true);
    step.changed = true;
  }
  step.set = model_->GetControlSet();
  step.sideLessSet = model_->SideLessSet();
  if (step.changed) {
    if (step.modifier) {
      ports_.ModifierChanged();
    } else {
      modifierOnlyChord_ = false;
    }
  }
  return std::nullopt;
}

void KeyboardHookLogic::PlayKeySound(const Step& step, const KeyEvent& event) {
  if (step.release || event.Injected()) return;
  if (IsPrintableKey(step.code)) {
    ports_.PlaySound(kSoundPrintableKey);
  } else if (step.code == kVkBack || step.code == kVkDelete) {
    ports_.PlaySound(kSoundEraseKey);
  } else if (step.changed) {
    ports_.PlaySound(kSoundOtherKey);
  }
}

bool KeyboardHookLogic::DetectBinding(Step& step, const KeyEvent& event) {
  if (step.release) {
    if (step.modifier && modifierOnlyChord_) {
      modifierOnlyChord_ = false;
      const auto code = static_cast<std::uint8_t>(step.code);
      // A lone modifier tapped, or a chord of modifiers only.
      if (model_->PressedCount() == 0) {
        TryFire(code, 0, 0, event);
      } else {
        TryFire(0, step.set, step.sideLessSet, event);
      }
    }
    return false;
  }
  if (step.modifier) return false;
  const bool swallow = TryFire(static_cast<std::uint8_t>(step.code), model_->GetControlSet(), model_->SideLessSet(), event);
  if (swallow && step.code == kVkApps) swallowNextAppsKey_ = true;
  return swallow;
}

void KeyboardHookLogic::HandleLockKeys(const Step& step, bool swallow, const KeyEvent&) {
  if (!swallow || step.release) return;
  if (step.code == kVkNumLock && !numLockResendGuard_) {
    // The system has toggled NumLock already: a release and a press toggle it back.
    struct Guard {
      bool& flag;
      explicit Guard(bool& f) : flag(f) { flag = true; }
      ~Guard() { flag = false; }
    } guard(numLockResendGuard_);
    ports_.SendKey(kVkNumLock, true, true);
    ports_.SendKey(kVkNumLock, false, true);
  } else if (step.code == kVkCapital || step.code == kVkScroll) {
    // The model toggled the key on its press; the swallowed press toggles nothing.
    model_->FlipLockState(step.code);
  }
}

HookVerdict KeyboardHookLogic::Swallow() {
  if (actionFirePending_) {
    // Cleared before the Esc key-up: that event re-enters the hook.
    actionFirePending_ = false;
    executor_.EnableRunTimer();
    // A modifier held for the chord opens no menu when it comes up.
    if (model_->AnyModifierPressed()) ports_.ReleaseEscKey();
  }
  return HookVerdict::Swallow;
}

HookVerdict KeyboardHookLogic::PassEvent(const Step* step, const KeyEvent& event) {
  if (step) {
    const bool ctrlAltDelete = step->code == kVkDelete && step->sideLessSet == kCtrlAltSet;
    const bool winL = step->code == kVkLetterL && !step->release && step->sideLessSet == kWinSet;
    // The system takes the keyboard away (secure desktop, lock): their releases never come.
    if (ctrlAltDelete || winL) model_->ReleaseAllKeys();
    if (step->changed) RecordInHistory(step->code, step->release, event.message == kMsgSysKeyUp, event.time);
  }
  if (const TQvAction* pending = executor_.PendingAction()) {
    const bool keepsHistory = (pending->Kind() == kKindLayout && pending->Param() == 0) ||
                              (pending->Kind() == kKindProgram && pending->Param() == kProgramShowTemplates);
    if (!keepsHistory) history_.Reset();
  }
  if (actionFirePending_) {
    actionFirePending_ = false;
    executor_.EnableRunTimer();
    const int code = step ? step->code : static_cast<int>(event.vkCode & 0xFF);
    if (model_->PressedCount() == 0 && (code == kVkLeftWin || code == kVkRightWin)) ports_.ReleaseEscKey();
  }
  return HookVerdict::Pass;
}

bool KeyboardHookLogic::ConditionHolds(const TQvAction& binding) {
  switch (binding.Condition()) {
    case kConditionFullScreenOnly: return ports_.FullScreenActive();
    case kConditionNotFullScreen: return !ports_.FullScreenActive();
    default: return true;
  }
}

bool KeyboardHookLogic::TryFire(std::uint8_t code, ControlSet set, ControlSet sideLessSet, const KeyEvent& event) {
  if (actionFirePending_) return false;
  TQvAction* binding = actions_.Find(code, set, sideLessSet);
  if (!binding || !ConditionHolds(*binding)) return false;
  if (binding->Kind() == kKindKey && event.Injected()) return false;
  const bool released = (event.flags & kEventReleased) != 0;
  // Only one action waits; this one is dropped, its press swallowed all the same.
  if (executor_.PendingAction()) return !released;
  executor_.SetPendingAction(binding);
  binding->firedOnKeyUp = released;
  actionFirePending_ = true;
  return !released;
}

bool KeyboardHookLogic::ApplyPlainKeyAction(std::uint8_t code, const KeyEvent& event) {
  if (event.Injected()) return false;
  const TQvAction* binding = actions_.FindPlain(code);
  if (!binding || !ConditionHolds(*binding)) return false;
  if (binding->Kind() == 1) return binding->Param() == 0;
  if (binding->Kind() != kKindKey) return false;
  if (binding->Param() != 0)
    ports_.SendRemappedKey(binding->Param(), (event.flags & kEventReleased) != 0, event.Extended(), event.time,
                           event.extraInfo);
  return true;
}

void KeyboardHookLogic::TypeHeldBackKey(std::uint8_t code) {
  if (!model_ || !model_->Button(code)) return;
  // Its swallowed press was never recorded, and the press sent now changes
  // nothing in the model while the user holds the key. Outside an input block
  // a key already released goes down in the model again: then the hook
  // records that press and its release itself.
  const bool releasedAlready = !model_->IsKeyPressed(code);
  const bool hookRecords = releasedAlready && !ownInputActive_ && !templateViewActive;
  if (!hookRecords) {
    const std::uint32_t now = ports_.TickCount();
    RecordInHistory(code, false, false, now);
    if (releasedAlready) RecordInHistory(code, true, false, now);
  }
  model_->ResendKey(code);
}

void KeyboardHookLogic::RecordInHistory(int code, bool release, bool sysKeyUp, std::uint32_t time) {
  if (history_.Locked()) return;
  history_.Record(*model_, code, release, sysKeyUp);
  if (history_.Active() && !history_.BeginningNoted()) history_.NoteBeginning(ports_.ForegroundWindow(), time);
}

void KeyboardHookLogic::HookInstalled(LayoutHandle foregroundLayout) {
  ports_.SendToHelper(WM_HELPER_HOOKS_ON);
  ApplyForegroundLayout(foregroundLayout);
  if (model_) model_->SetActive(true);
  modifierOnlyChord_ = true;
}

void KeyboardHookLogic::HookRemoved() {
  ports_.SendToHelper(WM_HELPER_HOOKS_OFF);
  if (model_) model_->SetActive(false);
}

bool KeyboardHookLogic::BeginInputBlock() {
  if (ownInputActive_) return true;
  if (model_) ports_.StopReleaseTimer();
  // SnibbetCm holds the user's keys back before the hook stops looking at
  // them, so no key of the user's slips through unseen in between.
  ports_.SendToHelper(WM_HELPER_BLOCK_INPUT);
  ownInputActive_ = true;
  return true;
}

bool KeyboardHookLogic::EndInputBlock() {
  if (!ownInputActive_) return true;
  ports_.ReleaseKeysLeftDown([this](std::uint8_t code) { return model_ && model_->IsKeyPressed(code); });
  // Cleared before 1209: the keys SnibbetCm replays then must reach the model.
  ownInputActive_ = false;
  releaseMarks_.fill(0);
  if (model_) {
    for (int code = kFirstKeyCode; code <= kLastKeyCode; ++code)
      releaseMarks_[static_cast<std::size_t>(code)] = model_->IsKeyPressed(code) ? 1 : 0;
    ports_.StartReleaseTimer(kReleaseDelayMs);
  }
  ports_.SendToHelper(WM_HELPER_UNBLOCK_INPUT);
  return true;
}

void KeyboardHookLogic::ReleaseMarkedKeys() {
  ports_.StopReleaseTimer();
  if (!model_) return;
  for (int code = kFirstKeyCode; code <= kLastKeyCode; ++code) {
    if (releaseMarks_[static_cast<std::size_t>(code)] && model_->IsKeyPressed(code)) model_->SetKeyPressed(code, false);
  }
}

void KeyboardHookLogic::ApplyForegroundLayout(LayoutHandle layout) {
  if (!model_ || layout == 0 || layout == model_->CurrentLayout()) return;
  ports_.PlaySound(kSoundLayout);
  model_->SetLayout(layout);
  // A burst of changes (a program flipping layouts) is followed by the model
  // only, so the program's thread does not flip along without end.
  const std::uint32_t now = ports_.TickCount();
  if (now - layoutSwitchTime_ < kLayoutBurstGapMs) {
    layoutSwitchTime_ = now;
    if (layoutSwitchBurst_ >= kLayoutBurstLimit) return;
    ++layoutSwitchBurst_;
  } else {
    layoutSwitchTime_ = now;
    layoutSwitchBurst_ = 0;
  }
  ports_.ActivateLayout(model_->CurrentLayout());
}

}  // namespace snibbet
