// The model around the program's own typing: the keys the user holds are
// released in the system before the program types, and the held modifiers
// pressed again afterwards, so nothing is typed with the user's Ctrl or Alt
// down and nothing the user still holds comes up behind their back.
#include "keyboard/key_model.h"

#include <array>

namespace snibbet {

// Held means the model and the system agree: a key the model shows held
// whose release never reached us is not pressed again afterwards.
void TQvKeyboard::SaveHeldKeys() {
  for (int code = 0; code < 256; ++code)
    heldSnapshot_[code] = IsKeyPressed(code) && input_.SystemHoldsKey(static_cast<std::uint8_t>(code));
  releasedByUser_.fill(false);
}

void TQvKeyboard::ReleaseHeldKeys() {
  for (int code = kFirstKeyCode; code <= kLastKeyCode; ++code) {
    const TQvBtn* key = Button(code);
    if (key && key->Pressed()) input_.SendKey(key->Code(), true, key->Extended());
  }
}

// Only keys the user still holds go down again. A release of the user's that
// arrives while we press them again is answered with our own key-up.
void TQvKeyboard::RestoreHeldKeys(bool modifiersOnly) {
  std::array<bool, 256> pressedAgain{};
  for (int code = kFirstKeyCode; code <= kLastKeyCode; ++code) {
    const TQvBtn* key = Button(code);
    if (!key || !heldSnapshot_[code] || (modifiersOnly && !key->IsModifier()) || releasedByUser_[code]) continue;
    input_.SendKey(key->Code(), false, key->Extended());
    pressedAgain[code] = true;
  }
  input_.ReleaseEscKey();
  for (int code = kFirstKeyCode; code <= kLastKeyCode; ++code) {
    const TQvBtn* key = Button(code);
    if (pressedAgain[code] && key && releasedByUser_[code]) input_.SendKey(key->Code(), true, key->Extended());
  }
}

// Brackets may nest (a paste inside an action): only the outermost one acts,
// so an inner end neither presses keys mid-typing nor loses the painting state.
void TQvKeyboard::BeginOwnInput() {
  if (ownInputDepth_++ > 0) return;
  savedPainting_ = painting_;
  painting_ = false;
  // The Esc key-up goes first so the system's key state is read after an
  // event of ours: it then reflects every key event before it.
  input_.ReleaseEscKey();
  SaveHeldKeys();
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
