#include "hub/settings_window_link.h"

#include "core/version_check.h"
#include "hub/data_module.h"
#include "templates/template_view_form.h"

namespace snibbet {

void SettingsWindowLink::EnableSettingsMenuItems(bool enabled) { wizard_.EnableSettingsMenuItems(enabled); }

void SettingsWindowLink::BindingsChanged() { wizard_.BindingsChanged(); }

const ui::ImageList* SettingsWindowLink::EventPictures() {
  return dataModule_ ? &dataModule_->Tray().ilMain() : nullptr;
}

const ui::ImageList* SettingsWindowLink::LanguageFlags() { return wizard_.LanguageFlags(); }

TemplateTable* SettingsWindowLink::Templates() { return wizard_.Templates(); }

// The pop-up's Edit button's road to the editor.
void SettingsWindowLink::OpenTemplateEditor() {
  if (popup_) popup_->btnEditClick();
}

bool SettingsWindowLink::WizardOpen() { return parts_.openWindows.Wizard() != nullptr; }

void SettingsWindowLink::BringWizardToFront() {
  if (parts_.openWindows.Wizard()) ShowWizard(wizard_, parts_, system_);
}

bool SettingsWindowLink::OpenWizard() {
  ShowWizard(wizard_, parts_, system_);
  return true;
}

// --- the wizard's way ---

void WizardLink::EnableSettingsMenuItems(bool enabled) {
  if (!dataModule_) return;
  dataModule_->Tray().pmTray().Item(L"pmiSettings").enabled = enabled;
  dataModule_->Tray().pmTray().Item(L"pmiActionSetup").enabled = enabled;
}

void WizardLink::BindingsChanged() {
  if (dataModule_) dataModule_->SetActionsChanged(true);
}

const ui::ImageList* WizardLink::LanguageFlags() { return dataModule_ ? &dataModule_->Tray().ilLangs() : nullptr; }

TemplateTable* WizardLink::Templates() { return popup_ ? &popup_->Templates() : nullptr; }

void WizardLink::OpenSettings() {
  if (dataModule_) dataModule_->Tray().pmiSettingsClick();
}

void WizardLink::CheckNewVersion() { snibbet::CheckNewVersion(true); }

}  // namespace snibbet
