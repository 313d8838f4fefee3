#include "dialogs/form_setting_effects.h"

#include "dialogs/dialog_parts.h"
#include "dialogs/settings_form.h"
#include "dialogs/wizard_form.h"
#include "templates/template_files.h"
#include "templates/template_view_form.h"

namespace snibbet {

void FormSettingEffects::ReloadTemplates(const std::wstring& fileName) {
  LoadTemplatesFromFile(popup_.Templates(), fileName, false);
}

void FormSettingEffects::ShowAutoHideInOpenDialogs(bool autoHide) {
  if (TMainForm* settings = openWindows_.SettingsWindow()) settings->chkKeyboardAutoHide.SetChecked(autoHide);
  if (TWizardForm* wizard = openWindows_.Wizard()) wizard->chkKeyboardAutoHide.SetChecked(autoHide);
}

}  // namespace snibbet
