#include "hub/message_dispatch.h"

#include "clipboard/clipboard_monitor.h"
#include "core/debug_log.h"
#include "core/hook_messages.h"
#include "core/preset.h"
#include "dialogs/shortcut_key_form.h"
#include "helper/helper_protocol.h"
#include "hub/data_module_parts.h"
#include "hub/foreground_watch.h"
#include "hub/keyboard_look.h"
#include "hub/program_tray.h"
#include "hub/tray_port.h"
#include "keyboard/keyboard_background_form.h"
#include "visual/office11_colors.h"

namespace snibbet {
namespace {

// F1 alone, the help action's shortcut in every window of the program.
bool IsHelpShortcut(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || msg.wParam != VK_F1) return false;
  return GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0;
}

}  // namespace

MessageDispatch::MessageDispatch(DataModuleParts& parts, ForegroundWatch& watch, ProgramTray& tray, TrayPort& port,
                                 KeyboardLook& keyboardLook, TPreset* settings)
    : parts_(parts), watch_(watch), tray_(tray), port_(port), keyboardLook_(keyboardLook), settings_(settings) {}

bool MessageDispatch::OnMessage(MSG& msg) {
  if (IsHelpShortcut(msg)) {
    tray_.actHelpExecute();
    return true;
  }
  aeMainMessage(msg);
  // Every other message is dispatched as usual afterwards.
  return false;
}

void MessageDispatch::aeMainMessage(const MSG& msg) {
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
      watch_.DetectActiveApplication(window);
      if (!window) watch_.TouchActivityTick();
      if (monitor_) monitor_->KickWatchdog();
      break;
    }
    case WM_HELPER_MOUSE_DOWN:
      HelperMouseDown(msg);
      break;
    case WM_HELPER_MOUSE_WHEEL:
      if (parts_.PopupShown()) parts_.PostWheelToGrid(msg.wParam);
      break;
    case kSecondInstanceMessage:
      tray_.SecondInstanceStarted();
      break;
    default:
      // WM_HELPER_MOUSE_TRACK would hide the keyboard window, which is not
      // part of the program; WM_HELPER_MOUSE_HOVER has no use here.
      break;
  }
}

void MessageDispatch::HelperMouseDown(const MSG& msg) {
  // A click ends the word being typed (the helper posts it as it happens).
  parts_.ResetKeyHistoryForClickAt(msg.time);
  if (!PopupShownAwayFromKeyboard(parts_)) return;
  // Signed words: a monitor left of or above the primary one has negative coordinates.
  const POINT click{CursorXFromPacked(msg.lParam), CursorYFromPacked(msg.lParam)};
  const RECT bounds = parts_.PopupBounds();
  if (!PtInRect(&bounds, click)) parts_.HidePopup();
}

// The hotkey capture must not go on while another program has the keyboard.
void MessageDispatch::OnDeactivate() { CloseShortKeyForm(); }

void MessageDispatch::OnSettingChange(WPARAM, LPARAM) { aeMainSettingChange(); }

bool MessageDispatch::OnQueryEndSession() { return port_.WindowsAllowExit(); }

void MessageDispatch::aeMainSettingChange() {
  DebugLog(L"SettingChange");
  Office11ColorsRefresh();
  keyboardLook_.Apply();
  if (settings_) settings_->SetKeyboardShowCaption(settings_->KeyboardShowCaption());
  parts_.ReleaseModelKeys();
  if (TMainKeyboardBackgroundForm* background = MainKeyboardBackgroundForm()) background->FormResize();
}

}  // namespace snibbet
