// The data module's application events: the dispatch of the messages that the
// hook library, the input helper and a second start post to this thread, the
// tracking of the foreground application and the settings-change refresh.
#include "clipboard/clipboard_monitor.h"
#include "core/debug_log.h"
#include "core/icon_sets.h"
#include "core/preset.h"
#include "dialogs/settings_form.h"
#include "dialogs/shortcut_key_form.h"
#include "dialogs/template_setup_form.h"
#include "dialogs/wizard_form.h"
#include "helper/helper_protocol.h"
#include "hub/data_module.h"
#include "hub/foreground_app.h"
#include "keyboard/key_history.h"
#include "keyboard/key_model.h"
#include "keyboard/keyboard_background_form.h"
#include "keyboard/keyboard_runtime.h"
#include "keyboard/layout_switch.h"
#include "keyboard/main_keyboard_form.h"
#include "templates/template_view_form.h"
#include "visual/office11_colors.h"

namespace snibbet {
namespace {

// The pop-up closes for clicks and foreground changes only while the mouse
// is not over the keyboard window, which the user may be working with.
bool PopupShownAwayFromKeyboard(DataModuleParts& parts) {
  return parts.PopupShown() && !parts.MouseOverKeyboardWindow();
}

// F1 alone, the help action's shortcut in every window of the program.
bool IsHelpShortcut(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || msg.wParam != VK_F1) return false;
  return GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0;
}

}  // namespace

// --- the program's parts ------------------------------------------------------

void ProgramParts::ShowTemplateView() { snibbet::ShowTemplateView(); }

bool ProgramParts::PopupShown() { return TemplateViewActive(); }

HWND ProgramParts::PopupWindow() {
  TTemplateViewForm* popup = TemplateViewForm();
  return popup ? popup->Handle() : HWND{};
}

RECT ProgramParts::PopupBounds() {
  RECT bounds{};
  if (TTemplateViewForm* popup = TemplateViewForm(); popup && popup->Handle()) GetWindowRect(popup->Handle(), &bounds);
  return bounds;
}

void ProgramParts::HidePopup() {
  if (TTemplateViewForm* popup = TemplateViewForm()) popup->HideView();
}

void ProgramParts::PostWheelToGrid(WPARAM wheel) {
  TTemplateViewForm* popup = TemplateViewForm();
  if (popup && popup->Grid().IsCreated()) popup->Grid().Post(WM_MOUSEWHEEL, wheel, 0);
}

HWND ProgramParts::WizardWindow() {
  const TWizardForm* wizard = WizardForm();
  return wizard ? wizard->Handle() : nullptr;
}

bool NoProgramWindowShown() {
  const auto shown = [](const ui::Form* form) { return form && form->IsVisible(); };
  return !shown(MainForm()) && !shown(TemplateSetupForm()) && !shown(WizardForm());
}

bool ProgramParts::MouseOverKeyboardWindow() {
  const TMainKeyboardForm* keyboard = MainKeyboardForm();
  return keyboard && keyboard->IsMouseOverKeyboard();
}

// Kind 8 parameter 4, which no binding of this program has.
void ProgramParts::ToggleKeyboardWindow() {
  TMainKeyboardForm* keyboard = MainKeyboardForm();
  if (!keyboard) return;
  if (keyboard->IsVisible()) {
    keyboard->Hide();
  } else {
    keyboard->ShowNoActivate();
  }
}

void ProgramParts::ResetKeyHistory() { snibbet::ResetKeyHistory(); }
void ProgramParts::ResetKeyHistoryFor(HWND foreground) {
  KeyHistory().ResetForForeground(reinterpret_cast<std::uintptr_t>(foreground));
}
void ProgramParts::ResetKeyHistoryForClickAt(DWORD time) { KeyHistory().ResetForClickAt(time); }

void ProgramParts::ApplyLayout(HKL layout) { ApplyForegroundLayout(layout); }

// The executor's own layout switch waits for the hook library's answer.
bool ProgramParts::LayoutAnswerPending() { return !LayoutSwitchAcknowledged(); }

void ProgramParts::LayoutAnswered() { LayoutSwitchAnswered(); }

void ProgramParts::SetAppIcons(const TQvIcons* set) {
  if (TQvKeyboard* model = QvKeyboard()) model->SetAppIcons(set);
}

void ProgramParts::ReleaseModelKeys() {
  if (TQvKeyboard* model = QvKeyboard()) {
    model->ReleaseAllKeys();
    model->Redraw();
  }
}

// --- the dispatch -------------------------------------------------------------

bool TDataDM::OnMessage(MSG& msg) {
  if (IsHelpShortcut(msg)) {
    actHelpExecute();
    return true;
  }
  aeMainMessage(msg);
  // Every other message is dispatched as usual afterwards.
  return false;
}

void TDataDM::aeMainMessage(const MSG& msg) {
  switch (msg.message) {
    case WM_HOOK_LAYOUT_CHANGED:
      parts_.ApplyLayout(reinterpret_cast<HKL>(msg.lParam));
      // A change the program asked for itself keeps the word being typed.
      if (!parts_.LayoutAnswerPending()) parts_.ResetKeyHistory();
      break;
    case WM_HOOK_LAYOUT_ACK:
      parts_.LayoutAnswered();
      break;
    case WM_HOOK_WINDOW_ACTIVATED: {
      const HWND window = reinterpret_cast<HWND>(msg.wParam);
      DetectActiveApplication(window);
      if (!window) TouchActivityTick();
      if (TQvClipboardMonitor* monitor = ClipboardMonitorOrNull()) monitor->KickWatchdog();
      break;
    }
    case WM_HELPER_MOUSE_DOWN:
      HelperMouseDown(msg);
      break;
    case WM_HELPER_MOUSE_WHEEL:
      if (parts_.PopupShown()) parts_.PostWheelToGrid(msg.wParam);
      break;
    case kSecondInstanceMessage:
      SecondInstanceStarted();
      break;
    default:
      // WM_HELPER_MOUSE_TRACK would hide the keyboard window, which is not
      // part of the program; WM_HELPER_MOUSE_HOVER has no use here.
      break;
  }
}

void TDataDM::HelperMouseDown(const MSG& msg) {
  // A click ends the word being typed (the helper posts it as it happens).
  parts_.ResetKeyHistoryForClickAt(msg.time);
  if (!PopupShownAwayFromKeyboard(parts_)) return;
  // Signed words: a monitor left of or above the primary one has negative coordinates.
  const POINT click{CursorXFromPacked(msg.lParam), CursorYFromPacked(msg.lParam)};
  const RECT bounds = parts_.PopupBounds();
  if (!PtInRect(&bounds, click)) parts_.HidePopup();
}

void TDataDM::DetectActiveApplication(HWND window) {
  // Our own windows (the tray's menu window above all) are never where the
  // tray gives the focus back to.
  if (window && !IsOwnProcessWindow(window)) lastForegroundWindow_ = window;
  ClosePopupForNewForeground(window);
  parts_.ResetKeyHistoryFor(window);
  Foreground().SetForegroundIsIE(false);
  if (!window) {
    parts_.SetAppIcons(IconSetOfDesktop());
    return;
  }
  const std::optional<ForegroundApp> app = ReadForegroundApp(window);
  // The paste-target flag keeps its value while such an application is in front.
  if (!app) {
    parts_.SetAppIcons(nullptr);
    return;
  }
  parts_.SetAppIcons(IconSetOfApplication(app->executable, app->windowClass));
  ClassifyForegroundApp(app->executable, app->windowClass);
}

const TQvIcons* TDataDM::IconSetOfDesktop() {
  const HWND desktop = FindWindowW(L"Progman", L"Program Manager");
  if (!iconSets_ || !desktop || desktop != GetForegroundWindow()) return nullptr;
  return iconSets_->FindByName(RunningDesktopIconSetName(), true);
}

const TQvIcons* TDataDM::IconSetOfApplication(const std::wstring& executable, const std::wstring& windowClass) {
  return iconSets_ ? iconSets_->FindByApplication(executable, windowClass) : nullptr;
}

void TDataDM::ClosePopupForNewForeground(HWND window) {
  if (!PopupShownAwayFromKeyboard(parts_) || (window && window == Foreground().PopupOpenedOver())) return;
  // The wizard lets the user try the pop-up on its own page.
  if (const HWND wizard = parts_.WizardWindow()) {
    const HWND foreground = GetForegroundWindow();
    if (foreground == wizard || foreground == parts_.PopupWindow()) return;
  }
  parts_.HidePopup();
}

void TDataDM::ClassifyForegroundApp(const std::wstring& executable, const std::wstring& windowClass) {
  const ForegroundAppKind kind = ClassifyApp(executable, windowClass);
  Foreground().SetForegroundIsIE(kind.isIE);
  Foreground().SetForegroundInPasteTable(kind.inPasteTable);
}

// On Vista and later the hook library reports no activations: this poll
// stands in for them.
void TDataDM::tmrCheckVistaTimer() {
  const HWND foreground = GetForegroundWindow();
  // Our own windows come to the front for the tray menu; taking them for the
  // user's application would send the tray's focus back to them. A spell
  // without any foreground window counts once, not at every tick.
  if (foreground == lastForegroundWindow_ || foreground == polledForegroundWindow_ ||
      IsOwnProcessWindow(foreground))
    return;
  polledForegroundWindow_ = foreground;
  DetectActiveApplication(foreground);
  if (foreground) parts_.ApplyLayout(GetKeyboardLayout(GetWindowThreadProcessId(foreground, nullptr)));
}

// The hotkey capture must not go on while another program has the keyboard.
void TDataDM::OnDeactivate() { CloseShortKeyForm(); }

void TDataDM::OnSettingChange(WPARAM, LPARAM) { aeMainSettingChange(); }

bool TDataDM::OnQueryEndSession() { return tray_.WindowsAllowExit(); }

void TDataDM::aeMainSettingChange() {
  DebugLog(L"SettingChange");
  Office11ColorsRefresh();
  ApplyKeyboardAppearance();
  if (TPreset* preset = PresetOrNull()) preset->SetKeyboardShowCaption(preset->KeyboardShowCaption());
  parts_.ReleaseModelKeys();
  if (TMainKeyboardBackgroundForm* background = MainKeyboardBackgroundForm()) background->FormResize();
}

}  // namespace snibbet
