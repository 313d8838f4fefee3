#include "keyboard/action_shell.h"

#include <shellapi.h>

#include "core/app_ini.h"
#include "core/busy_cursor.h"
#include "core/message_boxes.h"
#include "core/preset.h"
#include "core/version_info.h"
#include "core/web_address.h"
#include "keyboard/key_painter.h"
#include "ui/application.h"

namespace snibbet {

void ProgramBindingShell::ShowError(const std::wstring& text) { ShowErrorMessage(text); }
void ProgramBindingShell::BusyBegin() { BusyCursorBegin(); }
void ProgramBindingShell::BusyEnd() { BusyCursorEnd(); }
std::wstring ProgramBindingShell::DocumentsFolder() { return GetDocumentsFolder(); }
std::wstring ProgramBindingShell::ProductVersion() { return GetProductVersion(); }

std::wstring ProgramBindingShell::LocalizeWebAddress(const std::wstring& address) {
  return settings_ ? snibbet::LocalizeWebAddress(address, settings_->Language()) : address;
}

void ProgramBindingShell::OpenDocument(const std::wstring& file) {
  ShellExecuteW(ui::ApplicationWindow(), nullptr, file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

int ProgramBindingShell::KeyPictureIndex(int vk) { return VirtualKeyToActionImage(vk); }

ProgramBindingShell& ProgramShell() {
  static ProgramBindingShell shell;
  return shell;
}

}  // namespace snibbet
