#pragma once
// A fake desktop around the hook's rules: physical key events go through the
// hook, the ones it passes reach "the applications" (which keep their own view
// of held keys), and every key the hook sends itself comes back through the
// hook as an injected event, with the program's marker, while the sending
// call is still running, as the system does. SnibbetCm is a list of the
// commands it received; with `helperHoldsKeys` it also holds physical keys
// back between 1208 and 1209 and replays them, marked as its replays.
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "keyboard/action_executor.h"
#include "keyboard/actions.h"
#include "keyboard/key_history.h"
#include "keyboard/key_model.h"
#include "keyboard/keyboard_hook.h"
#include "tests/host/keymodel_fakes.h"

namespace snibbet::testing {

class FakeDesktop : public HookPorts, public ExecutorPorts, public KeyInputPort {
 public:
  // What happened, in order: "helper 1208", "sound 6", "show", "esc", "timer on", ...
  std::vector<std::string> events;
  std::set<int> appDown;          // keys the applications see held
  std::vector<int> appPresses;    // presses that reached the applications
  std::vector<unsigned> helperMessages;
  bool numAlwaysFigure = false;
  bool fullScreen = false;
  std::uintptr_t foreground = 0;
  bool runTimerOn = false;
  bool releaseTimerOn = false;
  unsigned releaseTimerMs = 0;
  std::uint32_t tick = 1000;
  std::vector<LayoutHandle> activated;
  std::vector<int> queuedPopupKeys;
  int shows = 0;
  std::function<void()> onShow;                      // inside ShowTemplateView
  std::function<void(unsigned)> onHelper;            // inside SendToHelper
  std::function<void(int slot)> onSound;             // inside PlaySound
  std::function<void()> onModifier;                  // inside ModifierChanged
  KeyboardHookLogic* hook = nullptr;
  std::set<int> programDown;  // keys the program pressed and has not released
  bool helperHoldsKeys = false;
  bool helperBlocking = false;
  std::vector<KeyEvent> heldBack;  // physical events SnibbetCm swallowed

  HookVerdict Deliver(const KeyEvent& event) {
    const HookVerdict verdict = hook->OnKeyEvent(0, event);
    if (verdict == HookVerdict::Pass) {
      const int code = static_cast<int>(event.vkCode);
      if (event.Release()) {
        appDown.erase(code);
      } else {
        appDown.insert(code);
        appPresses.push_back(code);
      }
    }
    return verdict;
  }
  static KeyEvent MakeEvent(int code, bool up, bool extended, bool injected, std::uintptr_t extraInfo = 0) {
    KeyEvent event;
    event.message = up ? kMsgKeyUp : kMsgKeyDown;
    event.vkCode = static_cast<std::uint32_t>(code);
    event.flags = (extended ? kEventExtended : 0) | (injected ? kEventInjected : 0) | (up ? kEventReleased : 0);
    event.extraInfo = extraInfo;
    return event;
  }
  // A key event by the user (physical) or by another program (injected).
  HookVerdict Key(int code, bool up, bool extended = false, bool injected = false) {
    KeyEvent event = MakeEvent(code, up, extended, injected);
    event.time = tick;
    if (helperBlocking && !injected) {
      heldBack.push_back(event);
      return HookVerdict::Swallow;
    }
    return Deliver(event);
  }
  HookVerdict Press(int code, bool extended = false) { return Key(code, false, extended); }
  HookVerdict Release(int code, bool extended = false) { return Key(code, true, extended); }
  // A key event typed by the program itself.
  HookVerdict Own(int code, bool up, bool extended) {
    if (up) {
      programDown.erase(code);
    } else {
      programDown.insert(code);
    }
    return Deliver(MakeEvent(code, up, extended, true, kSnibbetInputMarker));
  }

  // HookPorts
  std::optional<long> SendToHelper(unsigned message) override {
    helperMessages.push_back(message);
    events.push_back("helper " + std::to_string(message));
    if (helperHoldsKeys && message == WM_HELPER_BLOCK_INPUT) helperBlocking = true;
    if (onHelper) onHelper(message);
    if (helperHoldsKeys && message == WM_HELPER_UNBLOCK_INPUT) {
      helperBlocking = false;
      const std::vector<KeyEvent> replay = std::move(heldBack);
      heldBack.clear();
      for (KeyEvent event : replay) {
        event.flags |= kEventInjected;
        event.extraInfo = kHelperReplayMarker;
        Deliver(event);
      }
    }
    return 0;
  }
  void SendKey(std::uint8_t code, bool keyUp, bool extended) override { Own(code, keyUp, extended); }
  void ReleaseEscKey() override {
    events.push_back("esc");
    Own(27, true, false);
  }
  void SendRemappedKey(std::uint8_t code, bool keyUp, bool extended, std::uint32_t, std::uintptr_t) override {
    Own(code, keyUp, extended);
  }
  bool SystemHoldsKey(std::uint8_t code) override { return appDown.count(code) != 0; }
  void ReleaseKeysLeftDown(const std::function<bool(std::uint8_t)>& userHolds) override {
    const std::set<int> down = programDown;
    for (int code : down)
      if (!userHolds(static_cast<std::uint8_t>(code))) Own(code, true, false);
  }
  // KeyInputPort, for a model that types through this desktop.
  void ReadKeyboardState(KeyStateBytes& state) override { state.fill(0); }
  void PlaySound(int slot) override {
    events.push_back("sound " + std::to_string(slot));
    if (onSound) onSound(slot);
  }
  std::uint32_t TickCount() override { return tick; }
  void ActivateLayout(LayoutHandle layout) override { activated.push_back(layout); }
  void StartReleaseTimer(unsigned ms) override {
    releaseTimerOn = true;
    releaseTimerMs = ms;
  }
  void StopReleaseTimer() override { releaseTimerOn = false; }
  bool NumAlwaysFigure() override { return numAlwaysFigure; }
  bool FullScreenActive() override { return fullScreen; }
  void QueuePopupKey(std::uint8_t code) override { queuedPopupKeys.push_back(code); }
  void ModifierChanged() override {
    events.push_back("modifier");
    if (onModifier) onModifier();
  }
  std::uintptr_t ForegroundWindow() override { return foreground; }

  // ExecutorPorts
  void StartRunTimer() override {
    runTimerOn = true;
    events.push_back("timer on");
  }
  void StopRunTimer() override { runTimerOn = false; }
  void Log(std::wstring_view) override {}
  bool BringTemplateEditorToFront() override { return false; }
  void ShowTemplateView() override {
    ++shows;
    events.push_back("show");
    if (onShow) onShow();
  }
  void ToggleKeyboardWindow() override {}
  void RunClipboardAction() override {}
  void RunLayoutAction(const TQvAction&) override {}
};

// The hook's rules over the fake desktop, with the built-in layout and the
// template hotkey left Win + Space.
class HookRig {
 public:
  // The model types through the desktop too, so its key events come back
  // through the hook like every other key the program sends.
  HookRig() : model(layouts, desk, &tables), executor(desk), hook(desk, actions, executor, history) {
    model.ApplyLayout(BuiltInLayout(), L"Standard");
    hook.SetModel(&model);
    executor.SetBracket(&hook);
    executor.SetModel(&model);
    desk.hook = &hook;
    Bind(0x8020);
    hook.HookInstalled(0);
    desk.events.clear();
    desk.helperMessages.clear();
  }
  void Bind(std::int32_t setting) {
    actions.Clear();
    TQvAction* binding = actions.Add(static_cast<std::uint8_t>(setting & 0xFF), static_cast<ControlSet>(setting >> 8));
    binding->SetKind(kKindProgram);
    binding->SetParam(kProgramShowTemplates);
  }
  // The run timer's tick, when it is on.
  void RunTimer() {
    if (desk.runTimerOn) executor.ExecuteAction();
  }
  bool AnyKeyShownPressed() const {
    for (int code = 1; code <= 255; ++code)
      if (model.IsKeyPressed(code)) return true;
    return false;
  }

  FakeLayouts layouts;
  CharTableCache tables;
  FakeDesktop desk;
  TQvKeyboard model;
  TQvActions actions;
  TKeyHistory history;
  TQvActionExecute executor;
  KeyboardHookLogic hook;
};

}  // namespace snibbet::testing
