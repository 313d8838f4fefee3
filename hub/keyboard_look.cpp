#include "hub/keyboard_look.h"

#include "core/preset.h"
#include "keyboard/keyboard_appearance_fill.h"
#include "keyboard/main_keyboard_form.h"

namespace snibbet {
namespace {

constexpr int kKeyPictureSize = 16;
constexpr int kTitleButtonPictureSize = 12;

}  // namespace

KeyboardLook::KeyboardLook(HINSTANCE pictures)
    : ilFormBtns_(kTitleButtonPictureSize, kTitleButtonPictureSize), ilKeys_(kKeyPictureSize, kKeyPictureSize) {
  ilFormBtns_.AddStrip(pictures, L"IL_FORM_BTNS", CLR_NONE);
  ilKeys_.AddStrip(pictures, L"IL_KEYS", CLR_NONE);
}

void KeyboardLook::Apply() {
  FillKeyboardAppearance(appearance_, PresetOrNull(), MainKeyboardForm() != nullptr);
  if (TMainKeyboardForm* keyboard = MainKeyboardForm()) keyboard->ApplyAppearance();
}

}  // namespace snibbet
