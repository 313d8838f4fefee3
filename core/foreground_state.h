#pragma once
// What the data module has learned of the application in front and of the
// user's last activity. It is kept below the data module so that the
// keyboard, the clipboard monitor and the pop-up, which sit below it too,
// read and report it with direct calls. The data module resets it when it is
// created and when it goes.
#include <windows.h>

#include <cstdint>

namespace snibbet {

class ForegroundState {
 public:
  bool ForegroundIsIE() const { return foregroundIsIE_; }
  void SetForegroundIsIE(bool value) { foregroundIsIE_ = value; }
  // One of the slow paste targets is in front: the user's clipboard goes back later.
  bool ForegroundInPasteTable() const { return foregroundInPasteTable_; }
  void SetForegroundInPasteTable(bool value) { foregroundInPasteTable_ = value; }
  bool FullScreenActive() const { return fullScreenActive_; }

  // The window the pop-up opened over: its activation, noticed only after
  // the pop-up showed (a window focused just before the hotkey), closes nothing.
  HWND PopupOpenedOver() const { return popupOpenedOver_; }
  void SetPopupOpenedOver(HWND window) { popupOpenedOver_ = window; }

  std::uint32_t LastActivityTick() const { return lastActivityTick_; }
  void SetLastActivityTick(std::uint32_t tick) { lastActivityTick_ = tick; }
  // Remembers now as the last activity, at most once every 5 ms.
  void TouchActivityTick();

  // Everything unknown again.
  void Clear() { *this = ForegroundState(); }

 private:
  bool foregroundIsIE_ = false;
  bool foregroundInPasteTable_ = false;
  bool fullScreenActive_ = false;
  HWND popupOpenedOver_ = nullptr;
  std::uint32_t lastActivityTick_ = 0;
};

// The program's one record.
ForegroundState& Foreground();

}  // namespace snibbet
