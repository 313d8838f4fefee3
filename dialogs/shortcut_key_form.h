#pragma once
// The modal dialog in which the user presses a new hotkey. While the capture
// field has the focus the dialog holds a low-level keyboard hook of its own
// that swallows every key event, so nothing reaches other programs and no
// binding of the program's own hook fires; the keys go into the key-state
// model, the keyboard picture shows them and the field names the shortcut.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "core/control_set.h"
#include "core/info_frame.h"
#include "core/qv_form.h"
#include "keyboard/shortcut_capture.h"
#include "ui/button.h"
#include "ui/edit.h"
#include "ui/handles.h"
#include "ui/label.h"
#include "ui/paint_box.h"

namespace snibbet {

class TQvActions;
class TQvKeyboard;
class KeyboardPainter;
class TMainKeyboardForm;

class TGetShortKeyForm : public TQvForm {
 public:
  static constexpr const wchar_t* kClassName = L"TGetShortKeyForm";

  // The picture shows `model` with the remaps of `bindings`; `keyboardWindow`
  // (null: none) steps aside while the dialog runs and outlives it.
  TGetShortKeyForm(TQvKeyboard& model, const TQvActions& bindings, TMainKeyboardForm* keyboardWindow);
  ~TGetShortKeyForm() override;

  void ApplyLanguage() override;

  // Shows the dialog modally with (key, set) as the current hotkey; on OK
  // both take the captured shortcut. True when the user confirmed.
  bool Query(std::uint8_t& key, ControlSet& set);

  // The shortcut the model holds, into the fields and the capture field.
  void UpdateShortcutText();
  void InstallShortKeyHook();
  void RemoveShortKeyHook();
  bool CaptureHookInstalled() const { return static_cast<bool>(hook_); }

  std::uint8_t Key() const { return key_; }
  ControlSet ShortcutSet() const { return controlSet_; }
  const std::wstring& ShortcutText() const { return text_; }

  TInfoFrame frmInfo{*this, {.name = L"frmInfo", .left = 8, .top = 8, .width = 415, .height = 49}};
  ui::Edit edtOldShortCut{*this, {.name = L"edtOldShortCut", .left = 8, .top = 230, .width = 203, .height = 21,
                                  .style = ES_READONLY}};
  ui::Label lblOldShortCut{*this, {.name = L"lblOldShortCut", .left = 8, .top = 212, .width = 203, .height = 15}};
  ui::Button btnOk{*this, {.name = L"btnOk", .id = IDOK, .left = 267, .top = 279, .width = 75, .height = 25}, IDOK,
                   true};
  ui::Button btnCancel{*this, {.name = L"btnCancel", .id = IDCANCEL, .left = 348, .top = 279, .width = 75, .height = 25},
                       IDCANCEL};
  ui::Label lblNewShortCut{*this, {.name = L"lblNewShortCut", .left = 220, .top = 212, .width = 203, .height = 15}};
  ui::Edit edtNewShortCut{*this, {.name = L"edtNewShortCut", .left = 220, .top = 230, .width = 203, .height = 21}};
  ui::PaintBox pbKeyboard{*this, {.name = L"pbKeyboard", .left = 8, .top = 65, .width = 415, .height = 135}};

 protected:
  void OnCreate() override;
  void OnShow() override;
  void OnClose(ui::CloseAction& action) override;
  void OnDestroy() override;
  bool OnCommand(WORD id, WORD code, HWND control) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  friend LRESULT CALLBACK GetShortKeyHookProc(int nCode, WPARAM wParam, LPARAM lParam);
  // One event of the capture hook; true when it goes on to the system.
  bool CaptureKey(int code, bool keyUp);

  TQvKeyboard& model_;
  const TQvActions& bindings_;
  TMainKeyboardForm* keyboardWindow_;
  ShortcutCapture capture_;
  std::unique_ptr<KeyboardPainter> picture_;
  ui::HookHandle hook_;
  std::uint8_t key_ = 0;
  ControlSet controlSet_ = 0;
  std::wstring text_;
};

// The capture hook: swallows every key event while the dialog captures.
LRESULT CALLBACK GetShortKeyHookProc(int nCode, WPARAM wParam, LPARAM lParam);

// The dialog on `model` with the remaps of `bindings`: shows (key, set) as
// the current hotkey and gives back the one confirmed. False when
// cancelled, closed or when there is no model. The keyboard window (null:
// none) is hidden while it runs.
bool QueryShortcutKey(TQvKeyboard* model, const TQvActions& bindings, TMainKeyboardForm* keyboardWindow,
                      std::uint8_t& key, ControlSet& set);

// The dialog while it exists; null otherwise.
TGetShortKeyForm* GetShortKeyForm();
// Closes the dialog if it is open (the program lost activation); the hook goes with it.
void CloseShortKeyForm();

}  // namespace snibbet
