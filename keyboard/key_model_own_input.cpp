// The model around the program's own typing: the keys the user holds are
// released in the system before the program types, and the held modifiers
// pressed again afterwards, so nothing is typed with the user's Ctrl or Alt
// down and nothing the user still holds comes up behind their back.
#include "keyboard/key_model.h"

namespace snibbet {

void TQvKeyboard::SaveHeldKeys() {
  for (int code = 0; code < 256; ++code) heldSnapshot_[code] = IsKeyPressed(code);
}

void TQvKeyboard::ReleaseHeldKeys() {
  for (int code = kFirstKeyCode; code <= kLastKeyCode; ++code) {
    const TQvBtn* key = Button(code);
    if (key && key->Pressed()) input_.SendKey(key->Code(), true, key->Extended());
  }
}

void TQvKeyboard::RestoreHeldKeys(bool modifiersOnly) {
  for (int code = kFirstKeyCode; code <= kLastKeyCode; ++code) {
    const TQvBtn* key = Button(code);
    if (!key || !heldSnapshot_[code] || (modifiersOnly && !key->IsModifier())) continue;
    input_.SendKey(key->Code(), false, key->Extended());
  }
  input_.ReleaseEscKey();
}

// Brackets may nest (a paste inside an action): only the outermost one acts,
// so an inner end neither presses keys mid-typing nor loses the painting state.
void TQvKeyboard::BeginOwnInput() {
  if (ownInputDepth_++ > 0) return;
  savedPainting_ = painting_;
  painting_ = false;
  SaveHeldKeys();
  input_.ReleaseEscKey();
  ReleaseHeldKeys();
  input_.ReleaseEscKey();
}

void TQvKeyboard::EndOwnInput() {
  if (ownInputDepth_ == 0 || --ownInputDepth_ > 0) return;
  input_.ReleaseEscKey();
  RestoreHeldKeys(true);
  SetPainting(savedPainting_);
}

void TQvKeyboard::ResendKey(int code) {
  const TQvBtn* key = Button(code);
  if (!key) return;
  // Read before sending: our own press may come back through the hook at once.
  const bool releasedAlready = !key->Pressed();
  if (code == kVkTab) {
    // A Tab with Alt down would switch windows instead of reaching the target.
    if (keyState_[kVkLeftAlt]) input_.SendKey(kVkLeftAlt, true, IsExtendedKey(kVkLeftAlt));
    if (keyState_[kVkRightAlt]) input_.SendKey(kVkRightAlt, true, IsExtendedKey(kVkRightAlt));
  }
  input_.SendKey(static_cast<std::uint8_t>(code), false, IsExtendedKey(code));
  // The user's own release passed while the key was held back: without a
  // release of ours the resent key would stay down.
  if (releasedAlready) input_.SendKey(static_cast<std::uint8_t>(code), true, IsExtendedKey(code));
}

}  // namespace snibbet
