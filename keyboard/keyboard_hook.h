#pragma once
// The decisions of the program's own low-level keyboard hook: for every key
// event on the desktop it keeps the key-state model and the key history
// current, plays the key sounds, hands keys to the open template pop-up,
// detects bindings (leaving them to the executor) and decides whether the
// event reaches the other applications. Also the own-input bracket around the
// program's typing and the foreground-layout follower.
//
// Window-free: the system sits behind HookPorts, so the rules run over fakes.
// The real hook procedure (keyboard_runtime.h) is a thin shell over it.
//
// The hook's own key events (the numpad re-send, the NumLock re-send, the Esc
// key-up, remapped keys) re-enter OnKeyEvent while the sending call is still
// in progress: no reference into the model or the hook's state is held across
// a send, and the depth is counted by a scoped guard.
#include <array>
#include <cstdint>
#include <optional>

#include <functional>

#include "helper/helper_protocol.h"
#include "keyboard/action_executor.h"
#include "core/control_set.h"
#include "core/keyboard_layout_service.h"

namespace snibbet {

class TQvAction;
class TQvActions;
class TQvKeyboard;
class TKeyHistory;

// The messages of a key event (the event's wParam).
inline constexpr unsigned kMsgKeyDown = 256, kMsgKeyUp = 257, kMsgSysKeyDown = 260, kMsgSysKeyUp = 261;
// Bits of the event's flags.
inline constexpr std::uint32_t kEventExtended = 0x01, kEventInjected = 0x10, kEventReleased = 0x80;

struct KeyEvent {
  unsigned message = kMsgKeyDown;
  std::uint32_t vkCode = 0;
  std::uint32_t flags = 0;
  std::uint32_t time = 0;
  std::uintptr_t extraInfo = 0;

  bool Release() const { return message == kMsgKeyUp || message == kMsgSysKeyUp; }
  bool Extended() const { return (flags & kEventExtended) != 0; }
  // Typed by this program itself.
  bool OwnEvent() const { return extraInfo == kSnibbetInputMarker; }
  // Synthetic and not the user's: SnibbetCm's replays are keys the user
  // typed while it held them back, so they count as typed by hand.
  bool Injected() const { return (flags & kEventInjected) != 0 && extraInfo != kHelperReplayMarker; }
};

enum class HookVerdict { Pass, Swallow };

// Sound slots the hook plays.
inline constexpr int kSoundPrintableKey = 3, kSoundEraseKey = 4, kSoundOtherKey = 5, kSoundLayout = 7;

// What the hook asks of the rest of the program and of the system.
class HookPorts {
 public:
  virtual ~HookPorts() = default;
  // One command to SnibbetCm, waited for (bounded); none when it did not arrive.
  virtual std::optional<long> SendToHelper(unsigned message) = 0;
  // One key event into the focused window (comes back through the hook).
  virtual void SendKey(std::uint8_t code, bool keyUp, bool extended) = 0;
  // An Esc key-up, so a Win or Alt tap opens no menu.
  virtual void ReleaseEscKey() = 0;
  // Whether the system shows the key down (asked only to correct the model).
  virtual bool SystemHoldsKey(std::uint8_t code) = 0;
  // A key-up for every key the program pressed and left down that `userHolds`
  // does not claim.
  virtual void ReleaseKeysLeftDown(const std::function<bool(std::uint8_t)>& userHolds) = 0;
  // A copy of a key event as another key (the plain-key remap).
  virtual void SendRemappedKey(std::uint8_t code, bool keyUp, bool extended, std::uint32_t time,
                               std::uintptr_t extraInfo) = 0;
  virtual void PlaySound(int slot) = 0;
  virtual std::uint32_t TickCount() = 0;
  // The program's own thread takes `layout`.
  virtual void ActivateLayout(LayoutHandle layout) = 0;
  // The one-shot timer that releases keys still shown held after own input.
  virtual void StartReleaseTimer(unsigned ms) = 0;
  virtual void StopReleaseTimer() = 0;
  virtual bool NumAlwaysFigure() = 0;
  virtual bool FullScreenActive() = 0;
  // A key press for the open template pop-up.
  virtual void QueuePopupKey(std::uint8_t code) = 0;
  // A modifier went down or up in the model: a key hint shown for the
  // modifiers held may change (the keyboard window's).
  virtual void ModifierChanged() = 0;
  // The window in front (0: none), asked once as a typed word begins.
  virtual std::uintptr_t ForegroundWindow() = 0;
};


class KeyboardHookLogic : public OwnInputBracket {
 public:
  // Invocations beyond this many in progress are not processed.
  static constexpr int kMaxNesting = 6;
  static constexpr unsigned kReleaseDelayMs = 15000;
  // A modifier shown held without a press event for this long (a held key
  // repeats) is asked of the system; sooner its press may not show there yet.
  static constexpr std::uint32_t kQuietModifierMs = 1000;
  static constexpr std::uint32_t kLayoutBurstGapMs = 50;
  static constexpr int kLayoutBurstLimit = 10;

  KeyboardHookLogic(HookPorts& ports, TQvActions& actions, TQvActionExecute& executor, TKeyHistory& history);
  KeyboardHookLogic(const KeyboardHookLogic&) = delete;
  KeyboardHookLogic& operator=(const KeyboardHookLogic&) = delete;

  // The model the hook feeds; none: every event passes untouched.
  void SetModel(TQvKeyboard* model) { model_ = model; }
  TQvKeyboard* Model() const { return model_; }

  // One event of the hook procedure (nCode as the system gives it).
  HookVerdict OnKeyEvent(int nCode, const KeyEvent& event);

  // After the system hook is installed or removed: SnibbetCm follows, the model is switched.
  void HookInstalled(LayoutHandle foregroundLayout);
  void HookRemoved();

  // The program types on its own in between: SnibbetCm holds physical keys
  // back and the hook passes every event untouched, except that a key-up not
  // of our own still shows the key released in the model (whoever sent it,
  // the user no longer holds it). Not nested: the first end ends it, and no
  // key the program pressed stays down unless the user holds it.
  bool BeginInputBlock() override;
  bool EndInputBlock() override;
  bool OwnInputActive() const { return ownInputActive_; }
  // The release timer's work: keys marked at the end of own input that still
  // look held are released in the model.
  void ReleaseMarkedKeys();

  void ApplyForegroundLayout(LayoutHandle layout);

  std::optional<long> NotifyHelperWheelCaptureOn() { return ports_.SendToHelper(WM_HELPER_WHEEL_CAPTURE_ON); }
  std::optional<long> NotifyHelperWheelCaptureOff() { return ports_.SendToHelper(WM_HELPER_WHEEL_CAPTURE_OFF); }

  // Binding detection (the binding list's hook-time operations).
  bool TryFire(std::uint8_t code, ControlSet set, ControlSet sideLessSet, const KeyEvent& event);
  bool ApplyPlainKeyAction(std::uint8_t code, const KeyEvent& event);

  // Set and cleared by the template pop-up.
  bool templateViewActive = false;
  // A press swallowed for the pop-up that goes to the target as typing after
  // all (the pop-up no longer shows): sent, and counted into the key history
  // once, as a press that passed the hook would be; its release too when the
  // user's release passed meanwhile.
  void TypeHeldBackKey(std::uint8_t code);
  TKeyHistory& History() { return history_; }

  int NestingDepth() const { return nestingDepth_; }
  bool ActionFirePending() const { return actionFirePending_; }
  bool ModifierOnlyChord() const { return modifierOnlyChord_; }
  bool ReleaseMarked(int code) const { return code >= 1 && code <= 255 && releaseMarks_[code] != 0; }

 private:
  class DepthGuard;
  struct Step;

  HookVerdict Process(const KeyEvent& event);
  void NoteReleaseDuringOwnInput(const KeyEvent& event);
  void ForgetModifiersTheSystemReleased(std::uint32_t now);
  bool NormalizeNumpadKey(int code, const KeyEvent& event);
  std::optional<HookVerdict> UpdateModel(Step& step, const KeyEvent& event);
  void PlayKeySound(const Step& step, const KeyEvent& event);
  bool DetectBinding(Step& step, const KeyEvent& event);
  void HandleLockKeys(const Step& step, bool swallow, const KeyEvent& event);
  HookVerdict Swallow();
  HookVerdict PassEvent(const Step* step, const KeyEvent& event);
  // A key change the user typed, with the word's beginning noted at its first key.
  void RecordInHistory(int code, bool release, bool sysKeyUp, std::uint32_t time);
  bool ConditionHolds(const TQvAction& binding);

  HookPorts& ports_;
  TQvActions& actions_;
  TQvActionExecute& executor_;
  TKeyHistory& history_;
  TQvKeyboard* model_ = nullptr;

  int nestingDepth_ = 0;
  bool ownInputActive_ = false;
  bool actionFirePending_ = false;
  bool modifierOnlyChord_ = true;
  bool swallowNextAppsKey_ = false;
  bool numLockResendGuard_ = false;
  std::array<std::uint8_t, 256> releaseMarks_{};
  std::array<std::uint32_t, 256> modifierPressTime_{};  // of its last press event, repeats included
  std::uint32_t layoutSwitchTime_ = 0;
  int layoutSwitchBurst_ = 0;
};

}  // namespace snibbet
