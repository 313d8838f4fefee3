#include "app/first_form.h"

#include "app/app_messages.h"
#include "core/debug_log.h"
#include "helper/helper_protocol.h"
#include "keyboard/key_model.h"
#include "keyboard/keyboard_background_form.h"
#include "keyboard/main_keyboard_form.h"
#include "ui/application.h"

namespace snibbet {
namespace {
TFirstForm* g_firstForm = nullptr;
}  // namespace

TFirstForm::TFirstForm()
    : ui::Form(ui::FormParams{.className = kMainWindowClass,
                              .caption = kMainWindowTitle,
                              .border = ui::BorderStyle::None,
                              .clientWidth = 1,
                              .clientHeight = 1}),
      hrMain_(this) {
  // HTML Help, pop-ups from the router's own topics file (QVHelp.txt, which
  // the help file packs); the file follows the interface language, which the
  // data module picks it by.
  hrMain_.SetType(ui::HelpType::Html);
  hrMain_.SetValidateId(false);
}

TFirstForm* FirstForm() { return g_firstForm; }

void TFirstForm::OnCreate() {
  g_firstForm = this;
  DebugLog(L"FirstForm");
  SetWindowTextW(Handle(), kMainWindowTitle);
}

void TFirstForm::OnClose(ui::CloseAction& action) {
  // The main form: closing it ends the program.
  action = ui::CloseAction::Free;
  ui::Terminate();
}

void TFirstForm::OnDestroy() {
  if (g_firstForm == this) g_firstForm = nullptr;
}

LRESULT TFirstForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DISPLAYCHANGE:
      if (TMainKeyboardForm* keyboard = keyboardWindow_) {
        if (TMainKeyboardBackgroundForm* background = keyboard->BackgroundWindow(); background && background->IsVisible())
          background->BringToFront();
        if (keyboard->IsVisible()) keyboard->Model().Redraw();
      }
      return 0;
  }
  return ui::Form::HandleMessage(message, wParam, lParam);
}

}  // namespace snibbet
