#include "app/keyboard_window_adapter.h"

#include "dialogs/settings_form.h"
#include "hub/data_module.h"

namespace snibbet {

void KeyboardWindowAdapter::PopUpTrayMenu(POINT screen) {
  if (TDataDM* dataModule = DataDMOrNull()) dataModule->Tray().pmTray().Menu().Popup(screen);
}

bool KeyboardWindowAdapter::SettingsWindowOpen() { return MainForm() != nullptr; }

bool KeyboardWindowAdapter::NoProgramWindowShown() { return snibbet::NoProgramWindowShown(); }

void KeyboardWindowAdapter::CheckKeyboardTrayItem(bool checked) {
  if (TDataDM* dataModule = DataDMOrNull()) dataModule->Tray().pmTray().Item(L"pmiShowMainKeyboard").checked = checked;
}

}  // namespace snibbet
