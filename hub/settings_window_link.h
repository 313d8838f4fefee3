#pragma once
// The settings window's and the first-run wizard's way to the program around
// them: the tray's items and settings command, the data module's bindings
// flag and flag pictures, the template pop-up's templates and its way to the
// template editor, the version check.
#include "dialogs/settings_form.h"
#include "dialogs/wizard_form.h"

namespace snibbet {

class TDataDM;
class TTemplateViewForm;

class WizardLink final : public WizardPort {
 public:
  // The pop-up whose templates the wizard shows; none until connected.
  void ConnectPopup(TTemplateViewForm* popup) { popup_ = popup; }
  // The data module whose tray items, bindings flag and flags the wizard
  // reaches; none until connected. It outlives every window that reaches it.
  void ConnectDataModule(TDataDM* dataModule) { dataModule_ = dataModule; }

  void EnableSettingsMenuItems(bool enabled) override;
  void BindingsChanged() override;
  const ui::ImageList* LanguageFlags() override;
  TemplateTable* Templates() override;
  void OpenSettings() override;
  void CheckNewVersion() override;

 private:
  TTemplateViewForm* popup_ = nullptr;
  TDataDM* dataModule_ = nullptr;
};

// Its wizard is made on the parts the window was.
class SettingsWindowLink final : public SettingsWindowPort {
 public:
  SettingsWindowLink(DialogParts& parts, SettingsFormSystem& system) : parts_(parts), system_(system) {}
  // The pop-up whose templates the window and its wizard show and whose Edit
  // button opens the editor; none until connected.
  void ConnectPopup(TTemplateViewForm* popup) {
    popup_ = popup;
    wizard_.ConnectPopup(popup);
  }
  // The data module whose tray and pictures the window and its wizard reach.
  void ConnectDataModule(TDataDM* dataModule) {
    dataModule_ = dataModule;
    wizard_.ConnectDataModule(dataModule);
  }

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
  TTemplateViewForm* popup_ = nullptr;
  TDataDM* dataModule_ = nullptr;
  WizardLink wizard_;
};

}  // namespace snibbet
