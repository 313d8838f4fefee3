#pragma once
// The settings' effects on the data module: its switch, its keyboard look and
// its tray. The tray's sound item, which this program does not have, stays
// the port's own.
#include "core/preset_effects.h"

namespace snibbet {

class TDataDM;

class DataModuleSettingEffects final : public HubEffects {
 public:
  explicit DataModuleSettingEffects(TDataDM& dataModule) : dataModule_(dataModule) {}

  bool Active() override;
  void SetActive(bool active) override;
  // The data module's texts (tray menu, bindings), then the forms.
  void ApplyLanguage() override;
  // The keyboard look filled afresh and handed to the view.
  void ApplyAppearance() override;
  // The tray picks the file of the language the settings hold now.
  void PickHelpFile(int language) override;
  void SetTrayIconActive(bool active) override;
  void RedrawTrayIcon() override;

 private:
  TDataDM& dataModule_;
};

}  // namespace snibbet
