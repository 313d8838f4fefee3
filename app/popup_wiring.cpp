#include "app/popup_wiring.h"

#include "core/preset_effects.h"
#include "core/tray_seams.h"
#include "keyboard/keyboard_runtime.h"
#include "keyboard/keyboard_seams.h"
#include "templates/popup_seams.h"
#include "templates/template_files.h"
#include "templates/template_paste_win.h"
#include "templates/template_view_form.h"

namespace snibbet {

void WireTemplatePopup() {
  KeyboardSeamsOfProgram().showTemplateView = [] { ShowTemplateView(); };
  KeyboardSeamsOfProgram().queueTemplateKey = [](int code) {
    TemplateViewHandleKey(static_cast<std::uint8_t>(code));
  };
  TrayHooks().showTemplateView = [] { ShowTemplateView(); };

  TemplateViewSeams& popup = PopupSeams();
  popup.pasteSelectedTemplate = PasteTemplateFromPopup;
  // The hook's own bracket: it also lets the program's own keys pass the hook.
  popup.beginInputBlock = [] { BeginInputBlock(); };
  popup.endInputBlock = [] { EndInputBlock(); };
  WireTagPasteHooks();

  // A new template file name reloads the pop-up's templates from that file.
  PresetEffectSeams().reloadTemplates = [](const std::wstring&) {
    if (TTemplateViewForm* form = TemplateViewForm()) LoadTemplatesFromFile(form->Templates(), L"", false);
  };
}

}  // namespace snibbet
