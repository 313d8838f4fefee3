#include "hub/keyboard_look.h"

#include "keyboard/keyboard_appearance_fill.h"
#include "keyboard/main_keyboard_form.h"

namespace snibbet {
namespace {

constexpr int kKeyPictureSize = 16;
constexpr int kTitleButtonPictureSize = 12;

}  // namespace

// Only a shown keyboard window, the hotkey dialog's picture or a binding's
// picture draws them.
KeyboardLook::KeyboardLook(HINSTANCE pictures, const TPreset* settings)
    : settings_(settings),
      ilFormBtns_(ui::ImageList::StripOnFirstUse(kTitleButtonPictureSize, kTitleButtonPictureSize, pictures,
                                                 L"IL_FORM_BTNS", CLR_NONE)),
      ilKeys_(ui::ImageList::StripOnFirstUse(kKeyPictureSize, kKeyPictureSize, pictures, L"IL_KEYS", CLR_NONE)) {}

void KeyboardLook::Apply() {
  FillKeyboardAppearance(appearance_, settings_, keyboardWindow_ != nullptr);
  if (keyboardWindow_) keyboardWindow_->ApplyAppearance();
}

}  // namespace snibbet
