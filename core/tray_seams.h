#pragma once
// What the tray reaches in windows and services that live elsewhere: the
// template pop-up, the settings window, the About box, the help router and
// the shell. Each seam has a stand-in; tests replace them, and each window
// wires its own once it exists.
#include <windows.h>

#include <functional>
#include <string>

namespace snibbet {

struct TraySeams {
  // Opens the template pop-up at the caret of the focused window. The stand-in
  // writes "ShowTemplateView" and the caret position to the debug log.
  std::function<void()> showTemplateView;
  // Opens a web page or mail link with the shell's default action.
  std::function<void(const std::wstring& address)> openAddress;
  // The settings window: whether it is open and visible, and opening it
  // (none until that window exists: the menu item then does nothing).
  std::function<bool()> settingsWindowVisible;
  std::function<void()> openSettings;
  // The About box, activated when open, else created and shown (none yet).
  std::function<void()> openAbout;
  // The keyboard window: shown when hidden, hidden when shown (none yet).
  std::function<void()> toggleKeyboardWindow;
  // The help router: its file, and showing the contents (or the active
  // form's topic).
  std::function<void(const std::wstring& helpFile)> setHelpFile;
  std::function<void()> showHelp;
  // The key-state model's keyboard layout, for the flag of the tray icon
  // (the stand-in: this thread's layout).
  std::function<HKL()> keyboardLayout;
};

// The process-wide seams, filled with the stand-ins.
TraySeams& TrayHooks();
// Puts every stand-in back (tests).
void ResetTraySeams();

}  // namespace snibbet
