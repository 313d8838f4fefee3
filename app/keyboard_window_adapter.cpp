#include "app/keyboard_window_adapter.h"

#include "dialogs/dialog_parts.h"
#include "hub/program_tray.h"

namespace snibbet {

void KeyboardWindowAdapter::PopUpTrayMenu(POINT screen) {
  if (tray_) tray_->pmTray().Menu().Popup(screen);
}

bool KeyboardWindowAdapter::SettingsWindowOpen() { return openWindows_.SettingsWindow() != nullptr; }

bool KeyboardWindowAdapter::NoProgramWindowShown() { return openWindows_.NoneShown(); }

void KeyboardWindowAdapter::CheckKeyboardTrayItem(bool checked) {
  if (tray_) tray_->pmTray().Item(L"pmiShowMainKeyboard").checked = checked;
}

}  // namespace snibbet
