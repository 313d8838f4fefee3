#pragma once
// The keyboard's way up to the program's windows: the hotkey opens the
// template pop-up (or brings the open editor forward), and the hook hands the
// pop-up the keys while it shows.
#include "keyboard/keyboard_runtime.h"
#include "templates/template_view_form.h"

namespace snibbet {

class ProgramWindowsAdapter final : public ProgramWindowsPort {
 public:
  void ShowTemplateView() override;
  bool BringTemplateEditorToFront() override;
  void HandTemplateViewKey(std::uint8_t code) override;
  // The keyboard window is never offered.
  void ToggleKeyboardWindow() override {}
};

// The pop-up's Edit button opens the template editor.
class TemplateEditorAdapter final : public TemplateEditorPort {
 public:
  void OpenTemplateEditor(const std::wstring& templateName) override;
};

}  // namespace snibbet
