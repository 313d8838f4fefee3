#pragma once
// The windows that exist only while open (the settings window, the first-run
// wizard, the template editor) name themselves in one record while they
// exist; the composition root owns it and hands it to whoever asks. Beside
// it, what the settings window and the wizard work on.

namespace snibbet {

class TKeyHistory;
class TMainForm;
class TWizardForm;
class TTemplateSetupForm;
class TPreset;
class TQvActions;
class TQvKeyboard;
class TMainKeyboardForm;

class OpenWindows {
 public:
  OpenWindows() = default;
  OpenWindows(const OpenWindows&) = delete;
  OpenWindows& operator=(const OpenWindows&) = delete;

  // Each while it exists; null otherwise.
  TMainForm* SettingsWindow() const { return settingsWindow_; }
  TWizardForm* Wizard() const { return wizard_; }
  TTemplateSetupForm* TemplateEditor() const { return templateEditor_; }

  // Neither the settings window nor the template editor is visible, and the
  // wizard is absent or hidden.
  bool NoneShown() const;

  // A window enters when it is made and leaves when it goes; a window that
  // leaves after another took its place leaves that one be.
  void Enter(TMainForm& form) { settingsWindow_ = &form; }
  void Enter(TWizardForm& form) { wizard_ = &form; }
  void Enter(TTemplateSetupForm& form) { templateEditor_ = &form; }
  void Leave(const TMainForm& form) { LeaveSlot(settingsWindow_, form); }
  void Leave(const TWizardForm& form) { LeaveSlot(wizard_, form); }
  void Leave(const TTemplateSetupForm& form) { LeaveSlot(templateEditor_, form); }

 private:
  template <class Form>
  static void LeaveSlot(Form*& slot, const Form& form) {
    if (slot == &form) slot = nullptr;
  }

  TMainForm* settingsWindow_ = nullptr;
  TWizardForm* wizard_ = nullptr;
  TTemplateSetupForm* templateEditor_ = nullptr;
};

// What the settings window and the wizard work on: the settings object, the
// binding list, the open windows, the key-state model and the word typed. It
// outlives both.
struct DialogParts {
  TPreset& preset;
  TQvActions& bindings;
  OpenWindows& openWindows;
  // The model the hotkey capture shows and a binding set's change redraws;
  // null until the keyboard runtime exists.
  TQvKeyboard* keyModel = nullptr;
  // The keyboard window, hidden while the hotkey capture runs; null until it exists.
  TMainKeyboardForm* keyboardWindow = nullptr;
  // The word typed, which a click in the wizard ends; null: none is kept.
  TKeyHistory* keyHistory = nullptr;
};

}  // namespace snibbet
