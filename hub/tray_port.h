#pragma once
// What the tray reaches above the data module and outside the program: the
// settings window, the About box, the help router and the shell. The data
// module receives it at construction; without one it takes the shell's alone.
#include <string>

#include "hub/settings_window_link.h"

namespace snibbet {

class TrayPort {
 public:
  virtual ~TrayPort() = default;
  // Opens a web page or mail link.
  virtual void OpenAddress(const std::wstring& address) = 0;
  // The settings window: whether there is one to open, whether it is open
  // and visible, and opening it.
  virtual bool HasSettingsWindow() = 0;
  virtual bool SettingsWindowVisible() = 0;
  virtual void OpenSettings() = 0;
  // The About box, activated when open, else created and shown.
  virtual void OpenAbout() = 0;
  // The help router: its file, and showing the active form's topic (the
  // contents when no form of ours with a topic is active, as from the tray).
  virtual void SetHelpFile(const std::wstring& helpFile) = 0;
  virtual void ShowHelp() = 0;
  // Whether the open windows let the program end: one with unsaved work asks
  // about it first; false keeps the program running.
  virtual bool WindowsAllowExit() = 0;
};

// Addresses open with the shell's default action, and the About box and help
// are the program's; there is no settings window, and no window holds the
// exit. The help router belongs to the hidden main window, so only the
// program entry's port can hand it its file; here that does nothing.
class ShellTrayPort : public TrayPort {
 public:
  void OpenAddress(const std::wstring& address) override;
  bool HasSettingsWindow() override { return false; }
  bool SettingsWindowVisible() override { return false; }
  void OpenSettings() override {}
  void OpenAbout() override;
  void SetHelpFile(const std::wstring&) override {}
  void ShowHelp() override;
  bool WindowsAllowExit() override { return true; }
};

// The shell's, with the program's settings window on `parts` and the open
// template editor's close question.
class DefaultTrayPort : public ShellTrayPort {
 public:
  DefaultTrayPort(DialogParts& parts, SettingsFormSystem& system);
  // The pop-up that the settings window it opens reaches.
  void ConnectPopup(TTemplateViewForm* popup) { settingsWindow_.ConnectPopup(popup); }
  // The data module whose tray and pictures that window reaches.
  void ConnectDataModule(TDataDM* dataModule) { settingsWindow_.ConnectDataModule(dataModule); }
  bool HasSettingsWindow() override { return true; }
  bool SettingsWindowVisible() override;
  void OpenSettings() override;
  bool WindowsAllowExit() override;

 private:
  DialogParts& parts_;
  SettingsFormSystem& system_;
  SettingsWindowLink settingsWindow_;
};

}  // namespace snibbet
