#pragma once
// The settings window's and the first-run wizard's way to the program around
// them: the tray's items and settings command, the data module's bindings
// flag and flag pictures, the template pop-up's templates and its way to the
// template editor, the version check.
#include "dialogs/settings_form.h"
#include "dialogs/wizard_form.h"

namespace snibbet {

class WizardLink final : public WizardPort {
 public:
  void EnableSettingsMenuItems(bool enabled) override;
  void BindingsChanged() override;
  const ui::ImageList* LanguageFlags() override;
  TemplateTable* Templates() override;
  void OpenSettings() override;
  void CheckNewVersion() override;
};

// Its wizard is made on the parts the window was.
class SettingsWindowLink final : public SettingsWindowPort {
 public:
  SettingsWindowLink(DialogParts& parts, SettingsFormSystem& system) : parts_(parts), system_(system) {}
  void EnableSettingsMenuItems(bool enabled) override;
  void BindingsChanged() override;
  const ui::ImageList* LanguageFlags() override;
  const ui::ImageList* EventPictures() override;
  TemplateTable* Templates() override;
  void OpenTemplateEditor() override;
  bool WizardOpen() override;
  void BringWizardToFront() override;
  bool OpenWizard() override;

 private:
  DialogParts& parts_;
  SettingsFormSystem& system_;
  WizardLink wizard_;
};

}  // namespace snibbet
