#pragma once
// The keyboard's way up to the program's windows: the hotkey opens the
// template pop-up, and the hook hands it the keys while it shows.
#include "keyboard/keyboard_runtime.h"

namespace snibbet {

class ProgramWindowsAdapter final : public ProgramWindowsPort {
 public:
  void ShowTemplateView() override;
  // The program has no template editor.
  bool BringTemplateEditorToFront() override { return false; }
  void HandTemplateViewKey(std::uint8_t code) override;
  // The keyboard window is never offered.
  void ToggleKeyboardWindow() override {}
};

}  // namespace snibbet
