#pragma once
// The settings' effects on the template pop-up and on the settings window and
// the wizard while they are open. The pop-up's opacity, which this program
// never changes, stays the port's own.
#include "core/preset_effects.h"

namespace snibbet {

class OpenWindows;
class TTemplateViewForm;

class FormSettingEffects final : public FormEffects {
 public:
  FormSettingEffects(TTemplateViewForm& popup, const OpenWindows& openWindows)
      : popup_(popup), openWindows_(openWindows) {}
  // The pop-up's templates come from its own file again.
  void ReloadTemplates(const std::wstring& fileName) override;
  void ShowAutoHideInOpenDialogs(bool autoHide) override;

 private:
  TTemplateViewForm& popup_;
  const OpenWindows& openWindows_;
};

}  // namespace snibbet
