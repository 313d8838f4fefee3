#pragma once
// Which application is in front. The hook library reports each new window in
// front (1185); on Vista and later, where it reports none, a poll of the
// foreground window stands in. A new window in front may close the pop-up,
// ends the word typed unless it was typed there, is classified (what is
// learnt is kept in core/foreground_state.h) and gives the keyboard view the
// icon set of its application.
#include <windows.h>

#include <cstdint>
#include <string>

#include "core/foreground_state.h"
#include "ui/timer.h"

namespace snibbet {

class DataModuleParts;
class TQvIcons;
class TQvIconsList;

class ForegroundWatch {
 public:
  // What is learnt goes to `foreground`, cleared now and when the watch goes.
  // `iconSets` may be null: then no application gets an icon set.
  ForegroundWatch(DataModuleParts& parts, ForegroundState& foreground, TQvIconsList* iconSets);
  ~ForegroundWatch();
  ForegroundWatch(const ForegroundWatch&) = delete;
  ForegroundWatch& operator=(const ForegroundWatch&) = delete;

  // The foreground application changed (window may be 0).
  void DetectActiveApplication(HWND window);
  // Sets ForegroundIsIE and ForegroundInPasteTable from the two tables.
  void ClassifyForegroundApp(const std::wstring& executable, const std::wstring& windowClass);

  // At a switch-on: `foreground` is where the tray gives the focus back, and
  // the poll has acted on it.
  void Restart(HWND foreground);
  // The poll, on Vista and later only.
  void StartPolling();
  void StopPolling();
  const ui::Timer& tmrCheckVista() const { return tmrCheckVista_; }

  HWND LastForegroundWindow() const { return lastForegroundWindow_; }
  void SetLastForegroundWindow(HWND window) { lastForegroundWindow_ = window; }

  // Remembers now as the last activity, at most once every 5 ms.
  void TouchActivityTick() { foreground_.TouchActivityTick(); }
  std::uint32_t LastActivityTick() const { return foreground_.LastActivityTick(); }
  void SetLastActivityTick(std::uint32_t tick) { foreground_.SetLastActivityTick(tick); }
  bool FullScreenActive() const { return foreground_.FullScreenActive(); }
  bool ForegroundIsIE() const { return foreground_.ForegroundIsIE(); }
  void SetForegroundIsIE(bool value) { foreground_.SetForegroundIsIE(value); }
  bool ForegroundInPasteTable() const { return foreground_.ForegroundInPasteTable(); }
  void SetForegroundInPasteTable(bool value) { foreground_.SetForegroundInPasteTable(value); }

 private:
  void tmrCheckVistaTimer();
  void ClosePopupForNewForeground(HWND window);
  // The icon set of the application in front; none when nothing matches.
  const TQvIcons* IconSetOfDesktop();
  const TQvIcons* IconSetOfApplication(const std::wstring& executable, const std::wstring& windowClass);

  DataModuleParts& parts_;
  ForegroundState& foreground_;
  TQvIconsList* iconSets_;
  HWND lastForegroundWindow_ = nullptr;    // where the tray gives the focus back
  HWND polledForegroundWindow_ = nullptr;  // what the foreground poll acted on last
  ui::Timer tmrCheckVista_;
};

}  // namespace snibbet
