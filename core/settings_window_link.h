#pragma once
// The settings window's way to the program around it: the tray's items, the
// data module's bindings flag and flag pictures, the template pop-up's
// templates and its way to the template editor.
#include "dialogs/settings_form.h"

namespace snibbet {

class SettingsWindowLink final : public SettingsWindowPort {
 public:
  void EnableSettingsMenuItems(bool enabled) override;
  void BindingsChanged() override;
  const ui::ImageList* LanguageFlags() override;
  const ui::ImageList* EventPictures() override;
  TemplateTable* Templates() override;
  void OpenTemplateEditor() override;
  // The program has no first-run wizard yet.
  bool WizardOpen() override { return false; }
  void BringWizardToFront() override {}
  bool OpenWizard() override { return false; }
};

}  // namespace snibbet
