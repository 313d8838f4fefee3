#include "app/keyboard_window_adapter.h"

#include "dialogs/dialog_parts.h"
#include "hub/data_module.h"

namespace snibbet {

void KeyboardWindowAdapter::PopUpTrayMenu(POINT screen) {
  if (TDataDM* dataModule = DataDMOrNull()) dataModule->Tray().pmTray().Menu().Popup(screen);
}

bool KeyboardWindowAdapter::SettingsWindowOpen() { return openWindows_.SettingsWindow() != nullptr; }

bool KeyboardWindowAdapter::NoProgramWindowShown() { return openWindows_.NoneShown(); }

void KeyboardWindowAdapter::CheckKeyboardTrayItem(bool checked) {
  if (TDataDM* dataModule = DataDMOrNull()) dataModule->Tray().pmTray().Item(L"pmiShowMainKeyboard").checked = checked;
}

}  // namespace snibbet
