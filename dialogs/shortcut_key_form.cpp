#include "dialogs/shortcut_key_form.h"

#include "core/app_ini.h"
#include "core/lang_table.h"
#include "core/message_boxes.h"
#include "core/window_helpers.h"
#include "keyboard/actions.h"
#include "keyboard/key_model.h"
#include "keyboard/key_painter.h"
#include "keyboard/main_keyboard_form.h"
#include "keyboard/scope_exit.h"
#include "ui/exceptions.h"

namespace snibbet {
namespace {

TGetShortKeyForm* g_form = nullptr;

// Posted, not done inside the hook: moving the focus removes the hook, and
// a failure there shows an error box, which must not happen inside a hook.
constexpr UINT kMoveFocusToOk = WM_APP + 1;
// The focus goes to the capture field once the dialog is up and in front.
constexpr UINT kStartCapture = WM_APP + 2;

// The model's picture, scaled into the dialog's paint box: presenting it
// means painting the box again.
class DialogKeyboardPicture final : public KeyboardPainter {
 public:
  DialogKeyboardPicture(TQvKeyboard& model, const TQvActions& bindings, ui::PaintBox& box)
      : KeyboardPainter(model, bindings), box_(box) {}
  void Present() override { box_.Invalidate(); }

 private:
  ui::PaintBox& box_;
};

}  // namespace

TGetShortKeyForm::TGetShortKeyForm(TQvKeyboard& model, const TQvActions& bindings,
                                   TMainKeyboardForm* keyboardWindow)
    : TQvForm({.className = kClassName,
               .border = ui::BorderStyle::Dialog,
               .borderIcons = ui::border_icon::kSystemMenu,
               .clientWidth = 431,
               .clientHeight = 314,
               .keyboardNavigation = true,
               .fontFace = L"Tahoma",
               .fontPointSize = 8}),
      model_(model),
      bindings_(bindings),
      keyboardWindow_(keyboardWindow),
      capture_(model) {
  g_form = this;
  pbKeyboard.onPaint = [this](HDC dc, const RECT& client) {
    if (picture_) picture_->PaintScaled(dc, client.right, client.bottom);
  };
}

TGetShortKeyForm::~TGetShortKeyForm() {
  hook_.Reset();
  if (g_form == this) g_form = nullptr;
}

void TGetShortKeyForm::ApplyLanguage() {
  TQvForm::ApplyLanguage();
  SetText(LangText(472));
  frmInfo.SetInfoText(LangText(81));
  lblOldShortCut.SetText(LangText(473));
  lblNewShortCut.SetText(LangText(474));
  btnOk.SetText(LangText(101));
  btnCancel.SetText(LangText(102));
}

bool TGetShortKeyForm::Query(std::uint8_t& key, ControlSet& set) {
  model_.ReleaseHeldKeys();
  // The keyboard window would show the captured keys as well: it steps aside
  // while the dialog runs. Hidden first, since its hiding stops the model's painting.
  const bool keyboardWindowShown = keyboardWindow_ && keyboardWindow_->IsVisible();
  if (keyboardWindowShown) keyboardWindow_->Hide();
  // The dialog draws the model itself while it runs; the view before it comes back after.
  KeyboardView* const previousView = model_.View();
  const bool wasActive = model_.Active();
  const ScopeExit restore([&] {
    RemoveShortKeyHook();
    model_.SetPainting(false);
    picture_.reset();
    model_.SetView(previousView);
    // Off and on again: an active model takes the system's keyboard state afresh.
    model_.SetActive(false);
    model_.SetActive(wasActive);
    if (keyboardWindowShown) keyboardWindow_->ShowNoActivate();
  });
  picture_ = std::make_unique<DialogKeyboardPicture>(model_, bindings_, pbKeyboard);
  // The keyboard window's view lends the program's keyboard appearance, its
  // key pictures and its keys' icons.
  if (const auto* windowView = dynamic_cast<const KeyboardPainter*>(previousView)) {
    picture_->SetAppearance(windowView->Appearance());
    picture_->settings = windowView->settings;
    picture_->seams.drawKeyPicture = windowView->seams.drawKeyPicture;
    picture_->seams.drawKeyIcon = windowView->seams.drawKeyIcon;
    picture_->seams.drawHotkeySquares = windowView->seams.drawHotkeySquares;
    picture_->seams.iconHint = windowView->seams.iconHint;
  }
  model_.SetActive(true);
  model_.SetPainting(true);
  Create();
  edtOldShortCut.SetText(model_.ShortcutToText(key, set));
  UpdateShortcutText();
  if (ShowModal() != IDOK) return false;
  key = key_;
  set = controlSet_;
  return true;
}

void TGetShortKeyForm::UpdateShortcutText() {
  const PressedShortcut shortcut = model_.GetPressedShortcut();
  key_ = shortcut.key;
  controlSet_ = shortcut.set;
  if (shortcut.text == text_) return;
  text_ = shortcut.text;
  edtNewShortCut.SetText(text_);
  pbKeyboard.Invalidate();
}

void TGetShortKeyForm::InstallShortKeyHook() {
  if (hook_) return;
  capture_.Begin();
  hook_.Reset(SetWindowsHookExW(WH_KEYBOARD_LL, GetShortKeyHookProc, GetModuleHandleW(nullptr), 0));
  if (!hook_) ShowErrorMessage(LangText(1, L"Cannot install the keyboard hook."));
}

void TGetShortKeyForm::RemoveShortKeyHook() {
  if (!hook_) return;
  if (!UnhookWindowsHookEx(hook_.Get())) ShowErrorMessage(LangText(2, L"Cannot remove the keyboard hook."));
  hook_.Release();  // removed, or beyond our reach: the handle is dropped either way
}

bool TGetShortKeyForm::CaptureKey(int code, bool keyUp) {
  const CaptureOutcome outcome = capture_.OnKeyEvent(code, keyUp, btnOk.IsEnabled());
  if (outcome.moveToOk) Post(kMoveFocusToOk);
  if (outcome.shown) {
    model_.Present();
    UpdateShortcutText();
  }
  return outcome.passOn;
}

void TGetShortKeyForm::OnCreate() {
  // Shows the hotkey of the moment only; Tab skips it.
  SetWindowLongPtrW(edtOldShortCut.Handle(), GWL_STYLE,
                    GetWindowLongPtrW(edtOldShortCut.Handle(), GWL_STYLE) & ~static_cast<LONG_PTR>(WS_TABSTOP));
}

void TGetShortKeyForm::OnShow() {
  TAppIni::CenterFormOnMonitor(Handle());
  Post(kStartCapture);
}

void TGetShortKeyForm::OnClose(ui::CloseAction& action) { RemoveShortKeyHook(); }

void TGetShortKeyForm::OnDestroy() { RemoveShortKeyHook(); }

bool TGetShortKeyForm::OnCommand(WORD id, WORD code, HWND control) {
  if (control != edtNewShortCut.Handle()) return false;
  if (code == EN_SETFOCUS) {
    InstallShortKeyHook();
    return true;
  }
  if (code == EN_KILLFOCUS) {
    RemoveShortKeyHook();
    return true;
  }
  return false;
}

LRESULT TGetShortKeyForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kMoveFocusToOk:
      btnOk.Focus();
      return 0;
    case kStartCapture:
      ForceForegroundWindow(Handle(), false);
      edtNewShortCut.Focus();
      return 0;
    default:
      break;
  }
  return TQvForm::HandleMessage(message, wParam, lParam);
}

LRESULT CALLBACK GetShortKeyHookProc(int nCode, WPARAM wParam, LPARAM lParam) {
  TGetShortKeyForm* form = g_form;
  if (nCode != HC_ACTION || !form || !form->hook_ || !lParam) return CallNextHookEx(nullptr, nCode, wParam, lParam);
  const auto& info = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
  const bool keyUp = (info.flags & LLKHF_UP) != 0;
  // On a failure inside, the event is swallowed like every other one.
  const bool passOn = ui::GuardedHook(false, [&] { return form->CaptureKey(static_cast<int>(info.vkCode), keyUp); });
  return passOn ? CallNextHookEx(nullptr, nCode, wParam, lParam) : 1;
}

bool QueryShortcutKey(TQvKeyboard* model, const TQvActions& bindings, TMainKeyboardForm* keyboardWindow,
                      std::uint8_t& key, ControlSet& set) {
  if (!model) return false;
  TGetShortKeyForm form(*model, bindings, keyboardWindow);
  return form.Query(key, set);
}

TGetShortKeyForm* GetShortKeyForm() { return g_form; }

void CloseShortKeyForm() {
  if (TGetShortKeyForm* form = g_form) form->Close();
}

}  // namespace snibbet
