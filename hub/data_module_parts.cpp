#include "hub/data_module_parts.h"

#include <cstdint>

#include "dialogs/dialog_parts.h"
#include "dialogs/wizard_form.h"
#include "keyboard/key_history.h"
#include "keyboard/key_model.h"
#include "keyboard/keyboard_runtime.h"
#include "keyboard/layout_switch.h"
#include "keyboard/main_keyboard_form.h"
#include "templates/template_view_form.h"

namespace snibbet {

void ProgramParts::ShowTemplateView() {
  if (popup_) popup_->ShowTemplateView();
}

bool ProgramParts::PopupShown() { return TemplateViewActive(); }

HWND ProgramParts::PopupWindow() { return popup_ ? popup_->Handle() : HWND{}; }

RECT ProgramParts::PopupBounds() {
  RECT bounds{};
  if (popup_ && popup_->Handle()) GetWindowRect(popup_->Handle(), &bounds);
  return bounds;
}

void ProgramParts::HidePopup() {
  if (popup_) popup_->HideView();
}

void ProgramParts::PostWheelToGrid(WPARAM wheel) {
  if (popup_ && popup_->Grid().IsCreated()) popup_->Grid().Post(WM_MOUSEWHEEL, wheel, 0);
}

HWND ProgramParts::WizardWindow() {
  const TWizardForm* wizard = openWindows_ ? openWindows_->Wizard() : nullptr;
  return wizard ? wizard->Handle() : nullptr;
}

bool ProgramParts::MouseOverKeyboardWindow() {
  return keyboardWindow_ && keyboardWindow_->IsMouseOverKeyboard();
}

// Kind 8 parameter 4, which no binding of this program has.
void ProgramParts::ToggleKeyboardWindow() {
  TMainKeyboardForm* keyboard = keyboardWindow_;
  if (!keyboard) return;
  if (keyboard->IsVisible()) {
    keyboard->Hide();
  } else {
    keyboard->ShowNoActivate();
  }
}

void ProgramParts::ResetKeyHistory() { keyHistory_.Reset(); }
void ProgramParts::ResetKeyHistoryFor(HWND foreground) {
  keyHistory_.ResetForForeground(reinterpret_cast<std::uintptr_t>(foreground));
}
void ProgramParts::ResetKeyHistoryForClickAt(DWORD time) { keyHistory_.ResetForClickAt(time); }

void ProgramParts::ApplyLayout(HKL layout) { ApplyForegroundLayout(layout); }

// The executor's own layout switch waits for the hook library's answer.
bool ProgramParts::LayoutAnswerPending() { return !LayoutSwitchAcknowledged(); }

void ProgramParts::LayoutAnswered() { LayoutSwitchAnswered(); }

void ProgramParts::SetAppIcons(const TQvIcons* set) {
  if (keyModel_) keyModel_->SetAppIcons(set);
}

void ProgramParts::ReleaseModelKeys() {
  if (keyModel_) {
    keyModel_->ReleaseAllKeys();
    keyModel_->Redraw();
  }
}

}  // namespace snibbet
