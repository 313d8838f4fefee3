#include "app/popup_wiring.h"

#include "keyboard/keyboard_runtime.h"
#include "keyboard/keyboard_seams.h"
#include "templates/popup_seams.h"
#include "templates/template_paste_win.h"
#include "templates/template_view_form.h"

namespace snibbet {

void WireTemplatePopup() {
  KeyboardSeamsOfProgram().showTemplateView = [] { ShowTemplateView(); };
  KeyboardSeamsOfProgram().queueTemplateKey = [](int code) {
    TemplateViewHandleKey(static_cast<std::uint8_t>(code));
  };

  TemplateViewSeams& popup = PopupSeams();
  popup.pasteSelectedTemplate = PasteTemplateFromPopup;
  // The hook's own bracket: it also lets the program's own keys pass the hook.
  popup.beginInputBlock = [] { BeginInputBlock(); };
  popup.endInputBlock = [] { EndInputBlock(); };
  WireTagPasteHooks();
}

}  // namespace snibbet
