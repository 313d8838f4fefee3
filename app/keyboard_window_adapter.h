#pragma once
// The keyboard window's way up to the tray menu and the settings window.
#include "keyboard/main_keyboard_form.h"

namespace snibbet {

class OpenWindows;

class KeyboardWindowAdapter final : public KeyboardWindowPort {
 public:
  explicit KeyboardWindowAdapter(const OpenWindows& openWindows) : openWindows_(openWindows) {}
  void PopUpTrayMenu(POINT screen) override;
  bool SettingsWindowOpen() override;
  void CheckKeyboardTrayItem(bool checked) override;
  bool NoProgramWindowShown() override;
  // Clicks on the keyboard's keys type nothing in this program.
  void SendScreenKey(std::uint8_t, ScreenMouseButton) override {}

 private:
  const OpenWindows& openWindows_;
};

}  // namespace snibbet
