#include "hub/tray_port.h"

#include <windows.h>
#include <shellapi.h>

#include "core/debug_log.h"
#include "core/form_help.h"
#include "dialogs/about_form.h"
#include "dialogs/template_setup_form.h"
#include "ui/application.h"

namespace snibbet {

void ShellTrayPort::OpenAddress(const std::wstring& address) {
  DebugLog(L"Open " + address);
  ShellExecuteW(ui::ApplicationWindow(), L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void ShellTrayPort::OpenAbout() { ShowAboutBox(); }

void ShellTrayPort::ShowHelp() { ShowActiveFormHelp(); }

DefaultTrayPort::DefaultTrayPort(DialogParts& parts, SettingsFormSystem& system)
    : parts_(parts), system_(system), settingsWindow_(parts, system) {}

bool DefaultTrayPort::SettingsWindowVisible() {
  const TMainForm* form = parts_.openWindows.SettingsWindow();
  return form && form->IsVisible();
}

void DefaultTrayPort::OpenSettings() { OpenSettingsWindow(settingsWindow_, parts_, system_); }

// Only the editor holds work of its own: the settings window's edits not
// applied are dropped at exit.
bool DefaultTrayPort::WindowsAllowExit() {
  TTemplateSetupForm* editor = parts_.openWindows.TemplateEditor();
  return !editor || editor->AllowProgramExit();
}

}  // namespace snibbet
