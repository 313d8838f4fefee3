#pragma once
// The parts below the hub that its messages and its tray act on: the
// template pop-up and the keyboard. ProgramParts is the program's own, by
// direct calls; tests hand in their own through DataModuleOptions.
#include <windows.h>

namespace snibbet {

class OpenWindows;
class TKeyHistory;
class TMainKeyboardForm;
class TQvIcons;
class TQvKeyboard;
class TTemplateViewForm;

class DataModuleParts {
 public:
  virtual ~DataModuleParts() = default;

  // --- the template pop-up ---
  // Opens it at the caret of the focused window.
  virtual void ShowTemplateView() = 0;
  virtual bool PopupShown() = 0;
  virtual HWND PopupWindow() = 0;
  virtual RECT PopupBounds() = 0;  // screen coordinates
  virtual void HidePopup() = 0;
  virtual void PostWheelToGrid(WPARAM wheel) = 0;

  // --- windows the pop-up must not close for ---
  virtual bool MouseOverKeyboardWindow() = 0;
  virtual HWND WizardWindow() = 0;  // the first-run wizard while it exists
  // The keyboard window: shown when hidden, hidden when shown.
  virtual void ToggleKeyboardWindow() = 0;

  // --- the keyboard hook and the key-state model ---
  virtual void ResetKeyHistory() = 0;
  // A new window in front ends the word typed, unless it was typed into that
  // window; a click at `time` ends it, unless it was begun after the click.
  virtual void ResetKeyHistoryFor(HWND foreground) {
    (void)foreground;
    ResetKeyHistory();
  }
  virtual void ResetKeyHistoryForClickAt(DWORD time) {
    (void)time;
    ResetKeyHistory();
  }
  virtual void ApplyLayout(HKL layout) = 0;  // the layout now in front
  // The program has asked for a layout itself and awaits the answer (1176).
  virtual bool LayoutAnswerPending() = 0;
  virtual void LayoutAnswered() = 0;
  // Every key of the key model shown released and the view redrawn.
  virtual void ReleaseModelKeys() = 0;
  // The keyboard view's icon set of the application in front (none: null).
  virtual void SetAppIcons(const TQvIcons* set) { (void)set; }
};

class ProgramParts : public DataModuleParts {
 public:
  // `keyModel` may be null: then no model is told anything; so may
  // `openWindows`: then no wizard is ever open. All outlive the parts.
  ProgramParts(TKeyHistory& keyHistory, TQvKeyboard* keyModel, const OpenWindows* openWindows)
      : keyHistory_(keyHistory), keyModel_(keyModel), openWindows_(openWindows) {}
  // None until connected, and disconnected before it goes.
  void ConnectPopup(TTemplateViewForm* popup) { popup_ = popup; }
  void ConnectKeyboardWindow(TMainKeyboardForm* window) { keyboardWindow_ = window; }

  void ShowTemplateView() override;
  bool PopupShown() override;
  HWND PopupWindow() override;
  RECT PopupBounds() override;
  void HidePopup() override;
  void PostWheelToGrid(WPARAM wheel) override;
  bool MouseOverKeyboardWindow() override;
  HWND WizardWindow() override;
  void ToggleKeyboardWindow() override;
  void ResetKeyHistory() override;
  void ResetKeyHistoryFor(HWND foreground) override;
  void ResetKeyHistoryForClickAt(DWORD time) override;
  void ApplyLayout(HKL layout) override;
  bool LayoutAnswerPending() override;
  void LayoutAnswered() override;
  void ReleaseModelKeys() override;
  void SetAppIcons(const TQvIcons* set) override;

 private:
  TKeyHistory& keyHistory_;
  TQvKeyboard* keyModel_;
  const OpenWindows* openWindows_;
  TTemplateViewForm* popup_ = nullptr;
  TMainKeyboardForm* keyboardWindow_ = nullptr;
};

// The pop-up closes for clicks and foreground changes only while the mouse
// is not over the keyboard window, which the user may be working with.
inline bool PopupShownAwayFromKeyboard(DataModuleParts& parts) {
  return parts.PopupShown() && !parts.MouseOverKeyboardWindow();
}

}  // namespace snibbet
