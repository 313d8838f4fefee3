// The data module's application events: the dispatch of the messages that the
// hook library, the input helper and a second start post to this thread, the
// tracking of the foreground application and the settings-change refresh.
#include <utility>

#include "clipboard/clipboard_monitor.h"
#include "core/data_module.h"
#include "core/debug_log.h"
#include "core/dispatch_steps.h"
#include "core/foreground_app.h"
#include "core/preset.h"
#include "helper/helper_protocol.h"
#include "visual/office11_colors.h"

namespace snibbet {
namespace {

MessageDispatchSteps& Steps() {
  static MessageDispatchSteps steps;
  return steps;
}

template <class Function, class... Args>
void Run(const Function& step, Args&&... args) {
  if (step) step(std::forward<Args>(args)...);
}

bool Ask(const std::function<bool()>& question) { return question && question(); }

HWND WindowOf(const std::function<HWND()>& step) { return step ? step() : nullptr; }

// The pop-up closes for clicks and foreground changes only while the mouse
// is not over the keyboard window, which the user may be working with.
bool PopupShownAwayFromKeyboard() {
  return Ask(Steps().popupShown) && !Ask(Steps().mouseOverKeyboardWindow);
}

}  // namespace

void SetMessageDispatchSteps(MessageDispatchSteps steps) { Steps() = std::move(steps); }
const MessageDispatchSteps& DispatchSteps() { return Steps(); }

bool TDataDM::OnMessage(MSG& msg) {
  aeMainMessage(msg);
  // Every message is dispatched as usual afterwards.
  return false;
}

void TDataDM::aeMainMessage(const MSG& msg) {
  switch (msg.message) {
    case WM_HOOK_LAYOUT_CHANGED:
      Run(Steps().applyLayout, reinterpret_cast<HKL>(msg.lParam));
      // A change the program asked for itself keeps the word being typed.
      if (!Ask(Steps().layoutAnswerPending)) Run(Steps().resetKeyHistory);
      break;
    case WM_HOOK_LAYOUT_ACK:
      Run(Steps().layoutAnswered);
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
      if (Ask(Steps().popupShown)) Run(Steps().postWheelToGrid, msg.wParam);
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
  // A click ends the word being typed.
  Run(Steps().resetKeyHistory);
  if (!PopupShownAwayFromKeyboard()) return;
  // Signed words: a monitor left of or above the primary one has negative coordinates.
  const POINT click{CursorXFromPacked(msg.lParam), CursorYFromPacked(msg.lParam)};
  const RECT bounds = Steps().popupBounds ? Steps().popupBounds() : RECT{};
  if (!PtInRect(&bounds, click)) Run(Steps().hidePopup);
}

void TDataDM::DetectActiveApplication(HWND window) {
  // Our own windows (the tray's menu window above all) are never where the
  // tray gives the focus back to.
  if (window && !IsOwnProcessWindow(window)) lastForegroundWindow_ = window;
  ClosePopupForNewForeground(window);
  Run(Steps().resetKeyHistory);
  foregroundIsIE_ = false;
  // The keyboard view's icon set per application would be chosen in the
  // steps below; icon sets are not part of the program.
  if (!window) return;
  const std::optional<ForegroundApp> app = ReadForegroundApp(window);
  // The paste-target flag keeps its value while such an application is in front.
  if (!app) return;
  ClassifyForegroundApp(app->executable, app->windowClass);
}

void TDataDM::ClosePopupForNewForeground(HWND window) {
  if (!PopupShownAwayFromKeyboard() || (window && window == popupOpenedOver_)) return;
  // The wizard lets the user try the pop-up on its own page.
  if (const HWND wizard = WindowOf(Steps().wizardWindow)) {
    const HWND foreground = GetForegroundWindow();
    if (foreground == wizard || foreground == WindowOf(Steps().popupWindow)) return;
  }
  Run(Steps().hidePopup);
}

void TDataDM::ClassifyForegroundApp(const std::wstring& executable, const std::wstring& windowClass) {
  const ForegroundAppKind kind = ClassifyApp(executable, windowClass);
  foregroundIsIE_ = kind.isIE;
  foregroundInPasteTable_ = kind.inPasteTable;
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
  if (foreground) Run(Steps().applyLayout, GetKeyboardLayout(GetWindowThreadProcessId(foreground, nullptr)));
}

// Activation changes need nothing here: the hotkey capture dialog, which
// closes when the program loses activation, is not part of the program yet.
void TDataDM::OnSettingChange(WPARAM, LPARAM) { aeMainSettingChange(); }

void TDataDM::aeMainSettingChange() {
  DebugLog(L"SettingChange");
  Office11ColorsRefresh();
  ApplyKeyboardAppearance();
  if (TPreset* preset = PresetOrNull()) preset->SetKeyboardShowCaption(preset->KeyboardShowCaption());
  Run(Steps().releaseModelKeys);
  // The keyboard background window, whose region is rebuilt after a settings
  // change, is not part of the program.
}

}  // namespace snibbet
