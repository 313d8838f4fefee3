#include "hub/foreground_watch.h"

#include <optional>

#include "core/icon_sets.h"
#include "core/version_info.h"
#include "hub/data_module_parts.h"
#include "hub/foreground_app.h"

namespace snibbet {
namespace {

constexpr UINT kCheckVistaIntervalMs = 300;

}  // namespace

ForegroundWatch::ForegroundWatch(DataModuleParts& parts, ForegroundState& foreground, TQvIconsList* iconSets)
    : parts_(parts),
      foreground_(foreground),
      iconSets_(iconSets),
      tmrCheckVista_(kCheckVistaIntervalMs, [this] { tmrCheckVistaTimer(); }) {
  foreground_.Clear();
}

ForegroundWatch::~ForegroundWatch() { foreground_.Clear(); }

void ForegroundWatch::Restart(HWND foreground) { lastForegroundWindow_ = polledForegroundWindow_ = foreground; }

void ForegroundWatch::StartPolling() {
  if (IsVistaOrLater()) tmrCheckVista_.Start();
}

void ForegroundWatch::StopPolling() { tmrCheckVista_.Stop(); }

void ForegroundWatch::DetectActiveApplication(HWND window) {
  // Our own windows (the tray's menu window above all) are never where the
  // tray gives the focus back to.
  if (window && !IsOwnProcessWindow(window)) lastForegroundWindow_ = window;
  ClosePopupForNewForeground(window);
  parts_.ResetKeyHistoryFor(window);
  foreground_.SetForegroundIsIE(false);
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

const TQvIcons* ForegroundWatch::IconSetOfDesktop() {
  const HWND desktop = FindWindowW(L"Progman", L"Program Manager");
  if (!iconSets_ || !desktop || desktop != GetForegroundWindow()) return nullptr;
  return iconSets_->FindByName(RunningDesktopIconSetName(), true);
}

const TQvIcons* ForegroundWatch::IconSetOfApplication(const std::wstring& executable,
                                                      const std::wstring& windowClass) {
  return iconSets_ ? iconSets_->FindByApplication(executable, windowClass) : nullptr;
}

void ForegroundWatch::ClosePopupForNewForeground(HWND window) {
  if (!PopupShownAwayFromKeyboard(parts_) || (window && window == foreground_.PopupOpenedOver())) return;
  // The wizard lets the user try the pop-up on its own page.
  if (const HWND wizard = parts_.WizardWindow()) {
    const HWND foreground = GetForegroundWindow();
    if (foreground == wizard || foreground == parts_.PopupWindow()) return;
  }
  parts_.HidePopup();
}

void ForegroundWatch::ClassifyForegroundApp(const std::wstring& executable, const std::wstring& windowClass) {
  const ForegroundAppKind kind = ClassifyApp(executable, windowClass);
  foreground_.SetForegroundIsIE(kind.isIE);
  foreground_.SetForegroundInPasteTable(kind.inPasteTable);
}

// On Vista and later the hook library reports no activations: this poll
// stands in for them.
void ForegroundWatch::tmrCheckVistaTimer() {
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

}  // namespace snibbet
