#include "app/dispatch_wiring.h"

#include <windows.h>

#include "core/dispatch_steps.h"
#include "keyboard/key_history.h"
#include "keyboard/key_model.h"
#include "keyboard/keyboard_runtime.h"
#include "keyboard/layout_switch.h"
#include "templates/template_view_form.h"

namespace snibbet {
namespace {

RECT PopupBounds() {
  RECT bounds{};
  if (TTemplateViewForm* popup = TemplateViewForm(); popup && popup->Handle()) GetWindowRect(popup->Handle(), &bounds);
  return bounds;
}

void PostWheelToGrid(WPARAM wheel) {
  TTemplateViewForm* popup = TemplateViewForm();
  if (popup && popup->Grid().IsCreated()) popup->Grid().Post(WM_MOUSEWHEEL, wheel, 0);
}

void ReleaseModelKeys() {
  if (TQvKeyboard* model = QvKeyboard()) {
    model->ReleaseAllKeys();
    model->Redraw();
  }
}

}  // namespace

void WireMessageDispatch() {
  SetMessageDispatchSteps({
      .popupShown = TemplateViewActive,
      .popupWindow = [] {
        TTemplateViewForm* popup = TemplateViewForm();
        return popup ? popup->Handle() : HWND{};
      },
      .popupBounds = PopupBounds,
      .hidePopup = [] {
        if (TTemplateViewForm* popup = TemplateViewForm()) popup->HideView();
      },
      .postWheelToGrid = PostWheelToGrid,
      // The keyboard window and the first-run wizard are not part of the program.
      .mouseOverKeyboardWindow = {},
      .wizardWindow = {},
      .resetKeyHistory = ResetKeyHistory,
      .applyLayout = [](HKL layout) { ApplyForegroundLayout(layout); },
      // The executor's own layout switch waits for the hook library's answer.
      .layoutAnswerPending = [] { return !LayoutSwitchAcknowledged(); },
      .layoutAnswered = LayoutSwitchAnswered,
      .releaseModelKeys = ReleaseModelKeys,
  });
}

}  // namespace snibbet
