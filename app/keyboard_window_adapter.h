#pragma once
// The keyboard window's way up to the tray menu and the settings window.
#include "keyboard/main_keyboard_form.h"

namespace snibbet {

class OpenWindows;
class ProgramTray;

class KeyboardWindowAdapter final : public KeyboardWindowPort {
 public:
  explicit KeyboardWindowAdapter(const OpenWindows& openWindows) : openWindows_(openWindows) {}
  // The tray whose menu and item the window reaches; none until connected.
  // It outlives the keyboard window.
  void ConnectTray(ProgramTray* tray) { tray_ = tray; }
  void PopUpTrayMenu(POINT screen) override;
  bool SettingsWindowOpen() override;
  void CheckKeyboardTrayItem(bool checked) override;
  bool NoProgramWindowShown() override;
  // Clicks on the keyboard's keys type nothing in this program.
  void SendScreenKey(std::uint8_t, ScreenMouseButton) override {}

 private:
  const OpenWindows& openWindows_;
  ProgramTray* tray_ = nullptr;
};

}  // namespace snibbet
