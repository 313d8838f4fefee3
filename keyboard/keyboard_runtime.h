#pragma once
// The keyboard subsystem of the running program: the key-state model, the
// executor and the low-level hook, on the GUI thread. One instance, made at
// start-up before the data module starts and kept until the program ends;
// the free functions below act on it and do nothing while there is none.
#include <windows.h>

#include <functional>
#include <memory>

#include "keyboard/action_executor.h"
#include "keyboard/input_records.h"
#include "keyboard/keyboard_hook.h"

namespace snibbet {

class ClipboardMonitorRecord;
class TPreset;
class TQvKeyboard;
class TQvIcons;

// The program's windows that the hotkeys open and that take keys from the
// hook: they live above the keyboard, so the program connects them.
class ProgramWindowsPort {
 public:
  virtual ~ProgramWindowsPort() = default;
  // Opens the template pop-up at the caret.
  virtual void ShowTemplateView() = 0;
  // Brings an open template editor to the front; false when none is open.
  virtual bool BringTemplateEditorToFront() = 0;
  // A key press for the open pop-up (only while it says it is open).
  virtual void QueuePopupKey(std::uint8_t code) = 0;
  // Kind 8 parameter 4.
  virtual void ToggleKeyboardWindow() = 0;
};

class KeyboardRuntime {
 public:
  // The hook runs `records.bindings` and connects itself and its model to the
  // list while it lives. The sounds, the key names and the layout and keypad
  // rules come from `settings` (null: none, the defaults). Without windows of
  // the program's, the hotkey only logs "ShowTemplateView". The clipboard
  // bindings' steps go through the monitor `clipboardMonitor` names (none: no
  // monitor). Both outlive the runtime.
  KeyboardRuntime(InputRecords records, const TPreset* settings);
  KeyboardRuntime(InputRecords records, const TPreset* settings, ProgramWindowsPort& windows,
                  const ClipboardMonitorRecord* clipboardMonitor = nullptr);
  ~KeyboardRuntime();
  KeyboardRuntime(const KeyboardRuntime&) = delete;
  KeyboardRuntime& operator=(const KeyboardRuntime&) = delete;

  // The keyboard layout file of the settings, or the built-in one.
  void LoadLayout(const std::wstring& name);

  TQvKeyboard& Model();
  KeyboardHookLogic& Hook();
  TQvActionExecute& Executor();
  HHOOK HookHandle() const;
  // The binding list's icon set, which a keyboard view draws first.
  const TQvIcons& BindingPictures() const;
  // Run by the hook, inside the key event, when a modifier changes in the
  // model (the keyboard window's key hint follows the modifiers); none: nothing.
  void OnModifierChanged(std::function<void()> handler);

 private:
  friend void InstallKeyboardHook();
  friend void RemoveKeyboardHook();
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

// The system hook: installed (SnibbetCm told with 1206, the model on), or an
// error box with language text 1.
void InstallKeyboardHook();
// Removed (error box with language text 2 when that fails); SnibbetCm told
// with 1207 and the model off in any case.
void RemoveKeyboardHook();
void SetKeyStateModelActive(bool active);
// The foreground window's layout, followed by the model and the program's thread.
void ApplyForegroundLayout(HKL layout);
void ApplyForegroundWindowLayout();
bool BeginInputBlock();
bool EndInputBlock();
bool OwnInputActive();
int HookNestingDepth();
// The template pop-up: while it says it is open, the hook hands it every key
// press (through ProgramWindowsPort::QueuePopupKey); it asks SnibbetCm for the wheel.
void SetTemplateViewActive(bool active);
bool TemplateViewActive();
void NotifyHelperWheelCaptureOn();
void NotifyHelperWheelCaptureOff();

// The procedure itself, for the system and for tests that feed it events.
LRESULT CALLBACK MainKeyboardHookProc(int nCode, WPARAM wParam, LPARAM lParam);

}  // namespace snibbet
