#include "keyboard/keyboard_runtime.h"

#include <stdexcept>

#include "core/foreground_state.h"
#include "core/icon_sets.h"
#include "core/debug_log.h"
#include "core/input_helper_link.h"
#include "core/lang_table.h"
#include "core/message_boxes.h"
#include "core/preset.h"
#include "core/synthetic_input.h"
#include "keyboard/actions.h"
#include "keyboard/key_history.h"
#include "keyboard/key_model.h"
#include "keyboard/key_model_wiring.h"
#include "keyboard/keyboard_loader.h"
#include "keyboard/system_keyboard.h"
#include "keyboard/system_layout_actions.h"
#include "ui/exceptions.h"
#include "ui/handles.h"
#include "ui/timer.h"

namespace snibbet {
namespace {

KeyboardRuntime* g_runtime = nullptr;

// The default while the program connects no windows of its own.
class NoProgramWindows final : public ProgramWindowsPort {
 public:
  void ShowTemplateView() override { DebugLog(L"ShowTemplateView"); }
  bool BringTemplateEditorToFront() override { return false; }
  void QueuePopupKey(std::uint8_t) override {}
  void ToggleKeyboardWindow() override {}
};

NoProgramWindows g_noProgramWindows;

// A sound slot of the settings, played without waiting.
void PlaySettingSound(const TPreset* settings, int slot) {
  if (settings) settings->PlaySound(slot, false);
}

class SystemHookPorts : public HookPorts {
 public:
  SystemHookPorts(KeyboardHookLogic*& logic, ProgramWindowsPort& windows, const ForegroundState& foreground,
                  const TPreset* settings)
      : windows_(windows),
        foreground_(foreground),
        settings_(settings),
        releaseTimer_(KeyboardHookLogic::kReleaseDelayMs, [&logic] {
          if (logic) logic->ReleaseMarkedKeys();
        }) {}

  std::optional<long> SendToHelper(unsigned message) override {
    const auto result = SendToInputHelper(message);
    return result ? std::optional<long>(static_cast<long>(*result)) : std::nullopt;
  }
  void SendKey(std::uint8_t code, bool keyUp, bool extended) override { snibbet::SendKey(code, keyUp, extended); }
  void ReleaseEscKey() override { snibbet::ReleaseEscKey(); }
  bool SystemHoldsKey(std::uint8_t code) override { return snibbet::SystemHoldsKey(code); }
  void ReleaseKeysLeftDown(const std::function<bool(std::uint8_t)>& userHolds) override {
    snibbet::ReleaseKeysLeftDown([&userHolds](BYTE code) { return userHolds(code); });
  }
  // Marked as ours like every key we type; the event's own extra
  // information would let the hooks take it for the user's.
  void SendRemappedKey(std::uint8_t code, bool keyUp, bool extended, std::uint32_t time,
                       std::uintptr_t) override {
    // Not through SendKey: a remapped key is the user's, held as long as the
    // user holds the original, so the left-down guard must not release it.
    INPUT input = OwnKeyInput(code, keyUp, extended);
    input.ki.time = time;
    SendInput(1, &input, sizeof input);
  }
  void PlaySound(int slot) override { PlaySettingSound(settings_, slot); }
  std::uint32_t TickCount() override { return GetTickCount(); }
  void ActivateLayout(LayoutHandle layout) override { ActivateKeyboardLayout(reinterpret_cast<HKL>(layout), 0); }
  void StartReleaseTimer(unsigned ms) override {
    releaseTimer_.SetInterval(ms);
    releaseTimer_.Start();
  }
  void StopReleaseTimer() override { releaseTimer_.Stop(); }
  bool NumAlwaysFigure() override { return settings_ && settings_->NumAlwaysFigure(); }
  bool FullScreenActive() override { return foreground_.FullScreenActive(); }
  void QueuePopupKey(std::uint8_t code) override { windows_.QueuePopupKey(code); }
  void ModifierChanged() override {
    if (modifierChanged) modifierChanged();
  }
  std::uintptr_t ForegroundWindow() override { return reinterpret_cast<std::uintptr_t>(GetForegroundWindow()); }

  std::function<void()> modifierChanged;

 private:
  ProgramWindowsPort& windows_;
  const ForegroundState& foreground_;
  const TPreset* settings_;
  ui::Timer releaseTimer_;
};

class SystemExecutorPorts : public ExecutorPorts {
 public:
  SystemExecutorPorts(TQvActionExecute*& executor, ProgramWindowsPort& windows, ForegroundState& foreground,
                      const TPreset* settings)
      : windows_(windows),
        foreground_(foreground),
        settings_(settings),
        runTimer_(10, [&executor] {
          if (executor) executor->ExecuteAction();
        }) {}

  void StartRunTimer() override { runTimer_.Start(); }
  void StopRunTimer() override { runTimer_.Stop(); }
  void PlaySound(int slot) override { PlaySettingSound(settings_, slot); }
  void Log(std::wstring_view text) override { DebugLog(text); }
  bool BringTemplateEditorToFront() override { return windows_.BringTemplateEditorToFront(); }
  void ShowTemplateView() override { windows_.ShowTemplateView(); }
  void ToggleKeyboardWindow() override {
    if (settings_ && settings_->AccessDenied()) return;
    windows_.ToggleKeyboardWindow();
    foreground_.TouchActivityTick();
  }
  // Nothing in this program binds them, but a binding file may.
  void RunClipboardAction() override {
    if (layoutActions) layoutActions->ExecuteClipboardAction();
  }
  void RunLayoutAction(const TQvAction& binding) override {
    if (layoutActions) layoutActions->ExecuteLayoutAction(binding);
  }

  LayoutActions* layoutActions = nullptr;

 private:
  ProgramWindowsPort& windows_;
  ForegroundState& foreground_;
  const TPreset* settings_;
  ui::Timer runTimer_;
};

// The executor lets go of a binding the list frees, and the binding's cached
// picture goes; no bindings menu of the program's follows the list.
class PendingActionGuard final : public BindingListPort {
 public:
  PendingActionGuard(TQvActionExecute& executor, TQvIcons& pictures) : executor_(executor), pictures_(pictures) {}
  void ListChanged() override {}
  void PictureRemoved(std::uint8_t key, ControlSet set) override { pictures_.DeleteEntry(key, set); }
  void BindingFreed(const TQvAction& binding) override { executor_.Forget(binding); }

 private:
  TQvActionExecute& executor_;
  TQvIcons& pictures_;
};

}  // namespace

struct KeyboardRuntime::Parts {
  Parts(InputRecords records, const TPreset* settings, ProgramWindowsPort& windows,
        const ClipboardMonitorRecord* clipboardMonitor)
      : bindings(records.bindings),
        hookPorts(logicRef, windows, records.foreground, settings),
        executorPorts(executorRef, windows, records.foreground, settings),
        logic{hookPorts, bindings, executor, records.keyHistory},
        layoutActions{model, records.keyHistory, records.foreground, settings, clipboardMonitor,
                      [this](LayoutHandle layout) { logic.ApplyForegroundLayout(layout); }} {}

  TQvActions& bindings;
  KeyboardHookLogic* logicRef = nullptr;
  TQvActionExecute* executorRef = nullptr;
  SystemKeyboardLayouts layouts;
  SystemKeyInput input;
  TQvKeyboard model{layouts, input};
  SystemHookPorts hookPorts;
  SystemExecutorPorts executorPorts;
  TQvActionExecute executor{executorPorts};
  // The binding list's picture cache: nothing fills it in this program.
  TQvIcons bindingPictures;
  PendingActionGuard pendingGuard{executor, bindingPictures};
  BindingListPort* previousListPort = nullptr;
  const TQvKeyboard* previousKeyModel = nullptr;
  KeyboardHookLogic logic;
  SystemLayoutActions layoutActions;
  ui::HookHandle hook;
};

KeyboardRuntime::KeyboardRuntime(InputRecords records, const TPreset* settings)
    : KeyboardRuntime(records, settings, g_noProgramWindows) {}

KeyboardRuntime::KeyboardRuntime(InputRecords records, const TPreset* settings, ProgramWindowsPort& windows,
                                 const ClipboardMonitorRecord* clipboardMonitor)
    : parts_(std::make_unique<Parts>(records, settings, windows, clipboardMonitor)) {
  if (g_runtime) throw std::logic_error("the keyboard runtime exists already");
  parts_->logicRef = &parts_->logic;
  parts_->executorRef = &parts_->executor;
  parts_->executor.SetBracket(&parts_->logic);
  parts_->executor.SetModel(&parts_->model);
  parts_->executorPorts.layoutActions = &parts_->layoutActions.Actions();
  parts_->logic.SetModel(&parts_->model);
  WireKeyModel(parts_->model, settings);
  parts_->previousListPort = parts_->bindings.Connect(&parts_->pendingGuard);
  // The bindings' texts name the keys as this model does.
  parts_->previousKeyModel = parts_->bindings.KeyModel();
  parts_->bindings.ConnectKeyModel(&parts_->model);
  g_runtime = this;
}

KeyboardRuntime::~KeyboardRuntime() {
  parts_->hook.Reset();
  parts_->bindings.Connect(parts_->previousListPort);
  parts_->bindings.ConnectKeyModel(parts_->previousKeyModel);
  g_runtime = nullptr;
}

void KeyboardRuntime::LoadLayout(const std::wstring& name) { LoadKeyboard(parts_->model, nullptr, name); }
TQvKeyboard& KeyboardRuntime::Model() { return parts_->model; }
KeyboardHookLogic& KeyboardRuntime::Hook() { return parts_->logic; }
TQvActionExecute& KeyboardRuntime::Executor() { return parts_->executor; }
HHOOK KeyboardRuntime::HookHandle() const { return parts_->hook.Get(); }
const TQvIcons& KeyboardRuntime::BindingPictures() const { return parts_->bindingPictures; }
void KeyboardRuntime::OnModifierChanged(std::function<void()> handler) {
  parts_->hookPorts.modifierChanged = std::move(handler);
}

LRESULT CALLBACK MainKeyboardHookProc(int nCode, WPARAM wParam, LPARAM lParam) {
  KeyboardRuntime* runtime = g_runtime;
  if (runtime && nCode == HC_ACTION && lParam) {
    // Copied out: nothing of the system's record is read after a send.
    const auto& info = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    const KeyEvent event{static_cast<unsigned>(wParam), info.vkCode, info.flags, info.time,
                         static_cast<std::uintptr_t>(info.dwExtraInfo)};
    // An error inside is reported from the message loop; the event goes on.
    const bool swallow = ui::GuardedHook(false, [&] {
      return runtime->Hook().OnKeyEvent(nCode, event) == HookVerdict::Swallow;
    });
    if (swallow) return 1;
  }
  return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

void InstallKeyboardHook() {
  KeyboardRuntime* runtime = g_runtime;
  if (!runtime) return;
  auto& parts = *runtime->parts_;
  if (!parts.hook) {
    parts.hook.Reset(SetWindowsHookExW(WH_KEYBOARD_LL, MainKeyboardHookProc, GetModuleHandleW(nullptr), 0));
  }
  if (!parts.hook) {
    ShowErrorMessage(LangText(1, L"Cannot install the keyboard hook."));
    return;
  }
  DebugLog(L"Keyboard hook installed");
  parts.logic.HookInstalled(reinterpret_cast<LayoutHandle>(
      GetKeyboardLayout(GetWindowThreadProcessId(GetForegroundWindow(), nullptr))));
}

void RemoveKeyboardHook() {
  KeyboardRuntime* runtime = g_runtime;
  if (!runtime) return;
  auto& parts = *runtime->parts_;
  if (parts.hook && !UnhookWindowsHookEx(parts.hook.Get())) {
    ShowErrorMessage(LangText(2, L"Cannot remove the keyboard hook."));
  } else {
    parts.hook.Release();  // removed just now
  }
  DebugLog(L"Keyboard hook removed");
  parts.logic.HookRemoved();
}

void SetKeyStateModelActive(bool active) {
  if (KeyboardRuntime* runtime = g_runtime) runtime->Model().SetActive(active);
}

void ApplyForegroundLayout(HKL layout) {
  if (KeyboardRuntime* runtime = g_runtime) runtime->Hook().ApplyForegroundLayout(reinterpret_cast<LayoutHandle>(layout));
}

void ApplyForegroundWindowLayout() {
  ApplyForegroundLayout(GetKeyboardLayout(GetWindowThreadProcessId(GetForegroundWindow(), nullptr)));
}

bool BeginInputBlock() {
  KeyboardRuntime* runtime = g_runtime;
  return runtime ? runtime->Hook().BeginInputBlock() : true;
}

bool EndInputBlock() {
  KeyboardRuntime* runtime = g_runtime;
  return runtime ? runtime->Hook().EndInputBlock() : true;
}

bool OwnInputActive() {
  KeyboardRuntime* runtime = g_runtime;
  return runtime && runtime->Hook().OwnInputActive();
}

int HookNestingDepth() {
  KeyboardRuntime* runtime = g_runtime;
  return runtime ? runtime->Hook().NestingDepth() : 0;
}

// The pop-up's flag lives on without a runtime too (the pop-up works alone in tests).
namespace {
bool g_templateViewActive = false;
}  // namespace

void SetTemplateViewActive(bool active) {
  g_templateViewActive = active;
  if (KeyboardRuntime* runtime = g_runtime) runtime->Hook().templateViewActive = active;
}

bool TemplateViewActive() { return g_templateViewActive; }

void NotifyHelperWheelCaptureOn() {
  if (KeyboardRuntime* runtime = g_runtime) runtime->Hook().NotifyHelperWheelCaptureOn();
}

void NotifyHelperWheelCaptureOff() {
  if (KeyboardRuntime* runtime = g_runtime) runtime->Hook().NotifyHelperWheelCaptureOff();
}

}  // namespace snibbet
