#pragma once
// The pop-up's way up to the template editor, a window of a higher layer: its
// Edit button opens the editor through this. The composition root connects
// the program's editor; without it the button opens nothing.
#include <string>

namespace snibbet {

class TemplateEditorPort {
 public:
  virtual ~TemplateEditorPort() = default;
  // Brings the editor to the front when it is open, else creates and shows
  // it; `templateName` is the template the pop-up stood on ("" for none).
  virtual void OpenTemplateEditor(const std::wstring& templateName) = 0;
};

class NoTemplateEditor final : public TemplateEditorPort {
 public:
  void OpenTemplateEditor(const std::wstring&) override {}
};

}  // namespace snibbet
