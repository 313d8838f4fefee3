#include "app/program_windows_adapter.h"

#include "templates/template_view_form.h"

namespace snibbet {

void ProgramWindowsAdapter::ShowTemplateView() { snibbet::ShowTemplateView(); }

void ProgramWindowsAdapter::HandTemplateViewKey(std::uint8_t code) { TemplateViewHandleKey(code); }

void TemplateEditorAdapter::OpenTemplateEditor(const std::wstring& templateName) {
  OpenTemplateEditorOn(templateName);
}

void OpenTemplateEditorOn(const std::wstring&) {
  // the template editor opens here
}

}  // namespace snibbet
