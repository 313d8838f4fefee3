#include "keyboard/shortcut_capture.h"

#include "keyboard/key_model.h"

namespace snibbet {

void ShortcutCapture::Begin() { ReadKeyboardStateReleasingModifiers(model_.Input(), state_); }

CaptureOutcome ShortcutCapture::OnKeyEvent(int code, bool keyUp, bool okEnabled) {
  CaptureOutcome outcome;
  if (!IsKeyCode(code)) return outcome;
  const auto index = static_cast<std::size_t>(code);
  // The hook swallowed this key's press if it saw one, so a key the system
  // shows down was pressed before the capture: its release must reach it.
  if (keyUp && model_.Input().SystemHoldsKey(static_cast<std::uint8_t>(code))) outcome.passOn = true;
  if (!model_.Button(code)) return outcome;
  if (keyUp) {
    state_[index] = 0;
    outcome.shown = true;
    return outcome;
  }
  if (code == kVkTab && !AnyModifierHeld() && okEnabled) {
    outcome.moveToOk = true;
    return outcome;
  }
  state_[index] = 1;
  model_.SetKeyPressed(code, true);
  KeepLowestNonModifier();
  outcome.shown = true;
  return outcome;
}

bool ShortcutCapture::AnyModifierHeld() const {
  for (int code = kFirstKeyCode; code <= kLastKeyCode; ++code) {
    if (IsModifierKey(code) && Held(code)) return true;
  }
  return false;
}

// The first held non-modifier (lowest code) stays; a later one is dropped
// from the record, and whatever the record no longer holds is shown released.
void ShortcutCapture::KeepLowestNonModifier() {
  bool keptOne = false;
  for (int code = kFirstKeyCode; code <= kLastKeyCode; ++code) {
    if (!model_.IsKeyPressed(code)) continue;
    if (Held(code) && !IsModifierKey(code)) {
      if (keptOne) state_[static_cast<std::size_t>(code)] = 0;
      keptOne = true;
    }
    if (!Held(code)) model_.SetKeyPressed(code, false);
  }
}

}  // namespace snibbet
