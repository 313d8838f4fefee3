#include "app/popup_wiring.h"

#include "core/preset_effects.h"
#include "core/tray_seams.h"
#include "templates/template_files.h"
#include "templates/template_view_form.h"

namespace snibbet {

void WireTemplatePopup() {
  TrayHooks().showTemplateView = [] { ShowTemplateView(); };

  // A new template file name reloads the pop-up's templates from that file.
  PresetEffectSeams().reloadTemplates = [](const std::wstring&) {
    if (TTemplateViewForm* form = TemplateViewForm()) LoadTemplatesFromFile(form->Templates(), L"", false);
  };
}

}  // namespace snibbet
