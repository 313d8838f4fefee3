#pragma once
// The lower layers' ways up to the program's windows: the keyboard's (the
// hotkey opens the template pop-up, and the hook hands it the keys while it
// shows) and the pop-up's (its Edit button opens the template editor, and it
// shows over the first-run wizard without taking the front).
#include <string>

#include "keyboard/keyboard_runtime.h"
#include "templates/template_editor_port.h"
#include "templates/wizard_window_port.h"

namespace snibbet {

class OpenWindows;
class TAppIni;
class TPreset;
class TTemplateViewForm;

class ProgramWindowsAdapter final : public ProgramWindowsPort {
 public:
  explicit ProgramWindowsAdapter(const OpenWindows& openWindows) : openWindows_(openWindows) {}
  void ShowTemplateView() override;
  bool BringTemplateEditorToFront() override;
  void QueuePopupKey(std::uint8_t code) override;
  // The keyboard window is never offered.
  void ToggleKeyboardWindow() override {}

  // The pop-up the hook hands keys to, while it exists (null: none).
  void ConnectPopup(TTemplateViewForm* popup) { popup_ = popup; }

 private:
  const OpenWindows& openWindows_;
  TTemplateViewForm* popup_ = nullptr;
};

// The pop-up's Edit button opens the template editor on the pop-up's
// dataset, with the program's settings and store; the editor names itself
// in `openWindows` while it exists.
class TemplateEditorAdapter final : public TemplateEditorPort {
 public:
  TemplateEditorAdapter(TPreset& settings, TAppIni& store, OpenWindows& openWindows)
      : settings_(settings), store_(store), openWindows_(openWindows) {}
  void OpenTemplateEditor(const std::wstring& templateName) override;

  // The pop-up whose dataset the editor edits, while it exists (null: no editor opens).
  void ConnectPopup(TTemplateViewForm* popup) { popup_ = popup; }

 private:
  TPreset& settings_;
  TAppIni& store_;
  OpenWindows& openWindows_;
  TTemplateViewForm* popup_ = nullptr;
};

// The first-run wizard, for the pop-up.
class WizardWindowAdapter final : public WizardWindowPort {
 public:
  explicit WizardWindowAdapter(const OpenWindows& openWindows) : openWindows_(openWindows) {}
  HWND WizardWindow() override;

 private:
  const OpenWindows& openWindows_;
};

}  // namespace snibbet
