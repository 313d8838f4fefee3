#include "hub/tray_port.h"

#include <windows.h>
#include <shellapi.h>

#include "core/debug_log.h"
#include "core/form_help.h"
#include "dialogs/about_form.h"
#include "dialogs/template_setup_form.h"
#include "ui/application.h"

namespace snibbet {

void DefaultTrayPort::OpenAddress(const std::wstring& address) {
  DebugLog(L"Open " + address);
  ShellExecuteW(ui::ApplicationWindow(), L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

bool DefaultTrayPort::SettingsWindowVisible() {
  const TMainForm* form = MainForm();
  return form && form->IsVisible();
}

void DefaultTrayPort::OpenSettings() { OpenSettingsWindow(settingsWindow_); }

void DefaultTrayPort::OpenAbout() { ShowAboutBox(); }

// Only the editor holds work of its own: the settings window's edits not
// applied are dropped at exit.
bool DefaultTrayPort::WindowsAllowExit() {
  TTemplateSetupForm* editor = TemplateSetupForm();
  return !editor || editor->AllowProgramExit();
}

void DefaultTrayPort::ShowHelp() { ShowActiveFormHelp(); }

}  // namespace snibbet
