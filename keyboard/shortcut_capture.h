#pragma once
// The rules of the hotkey capture: what one key event does to the key-state
// model while the capture field has the focus. The model ends up holding
// only keys pressed during the capture and still marked down, with at most
// one key that is not a modifier; releases leave the model alone, so the
// shortcut stays shown after the keys are let go. Window-free: the hook that
// feeds it lives with the dialog.
#include <cstdint>

#include "core/key_classes.h"

namespace snibbet {

class TQvKeyboard;

// What the hook does with the event besides swallowing it.
struct CaptureOutcome {
  // The event goes on to the system: the release of a key whose press the
  // system saw before the capture began (else that key would stay down).
  bool passOn = false;
  // A lone Tab: the focus moves to the OK button, which ends the capture.
  bool moveToOk = false;
  // The model may have changed: present the picture and update the field.
  bool shown = false;
};

class ShortcutCapture {
 public:
  explicit ShortcutCapture(TQvKeyboard& model) : model_(model) {}

  // The capture starts: the keyboard state read into the capture's record,
  // held modifiers released in the system and cleared in the record.
  void Begin();
  // One event of the low-level hook; `okEnabled` says whether a lone Tab may
  // move the focus to OK.
  CaptureOutcome OnKeyEvent(int code, bool keyUp, bool okEnabled);
  // The capture's own record of which keys are down.
  bool Held(int code) const { return IsKeyCode(code) && state_[static_cast<std::size_t>(code)] != 0; }

 private:
  bool AnyModifierHeld() const;
  void KeepLowestNonModifier();

  TQvKeyboard& model_;
  KeyStateBytes state_{};
};

}  // namespace snibbet
