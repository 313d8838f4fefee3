#include "app/program_windows_adapter.h"

#include "core/window_helpers.h"
#include "dialogs/template_setup_form.h"
#include "dialogs/wizard_form.h"
#include "templates/template_view_form.h"

namespace snibbet {

void ProgramWindowsAdapter::ShowTemplateView() {
  if (popup_) popup_->ShowTemplateView();
}

bool ProgramWindowsAdapter::BringTemplateEditorToFront() {
  TTemplateSetupForm* editor = openWindows_.TemplateEditor();
  if (!editor || !editor->Handle()) return false;
  ForceForegroundWindow(editor->Handle(), true);
  return true;
}

void ProgramWindowsAdapter::QueuePopupKey(std::uint8_t code) {
  if (popup_) popup_->QueuePopupKey(code);
}

void TemplateEditorAdapter::OpenTemplateEditor(const std::wstring& templateName) {
  if (!popup_) return;
  ShowTemplateEditor({.popup = *popup_, .settings = settings_, .store = store_, .openWindows = openWindows_},
                     templateName);
}

HWND WizardWindowAdapter::WizardWindow() {
  const TWizardForm* wizard = openWindows_.Wizard();
  return wizard ? wizard->Handle() : nullptr;
}

}  // namespace snibbet
