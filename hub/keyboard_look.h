#pragma once
// The keyboard window's look, kept by the hub for the window and its
// background: the one appearance record, filled from the settings and the
// system colours, and the pictures of the window's title buttons and keys.
#include <windows.h>

#include "keyboard/keyboard_appearance.h"
#include "ui/image_list.h"

namespace snibbet {

class TMainKeyboardForm;
class TPreset;

class KeyboardLook {
 public:
  // The pictures are bitmap strips of `pictures`' resources; the appearance
  // follows `settings` (none: the defaults), which outlive the look.
  KeyboardLook(HINSTANCE pictures, const TPreset* settings);

  // The appearance filled afresh and handed to the keyboard view (which
  // redraws when told).
  void Apply();
  // The keyboard window whose view takes the appearance; none until
  // connected, and disconnected before it goes.
  void ConnectKeyboardWindow(TMainKeyboardForm* window) { keyboardWindow_ = window; }
  // Its users read it, the hub fills it.
  const KeyboardAppearance& Appearance() const { return appearance_; }
  const ui::ImageList& ilFormBtns() const { return ilFormBtns_; }  // the title buttons
  const ui::ImageList& ilKeys() const { return ilKeys_; }          // the view's key pictures

 private:
  const TPreset* settings_;
  KeyboardAppearance appearance_;
  TMainKeyboardForm* keyboardWindow_ = nullptr;
  ui::ImageList ilFormBtns_;
  ui::ImageList ilKeys_;
};

}  // namespace snibbet
