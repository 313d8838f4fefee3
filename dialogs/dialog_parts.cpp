#include "dialogs/dialog_parts.h"

#include "dialogs/settings_form.h"
#include "dialogs/template_setup_form.h"
#include "dialogs/wizard_form.h"

namespace snibbet {

bool OpenWindows::NoneShown() const {
  const auto shown = [](const ui::Form* form) { return form && form->IsVisible(); };
  return !shown(settingsWindow_) && !shown(templateEditor_) && !shown(wizard_);
}

}  // namespace snibbet
