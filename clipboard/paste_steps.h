#pragma once
// The clipboard steps every piece of the program's own typing takes (the
// template paste, the tag paste, the clipboard and layout bindings): keep the
// user's clipboard and put it back, put text on it, wait for the program's
// own write, type the paste. Window-free, so the paste and tag logic that
// builds natively uses it too; MonitorPasteSteps (clipboard/monitor_calls.h)
// takes them on the real system.
#include <string>
#include <string_view>

namespace snibbet {

class ClipboardPasteSteps {
 public:
  virtual ~ClipboardPasteSteps() = default;

  // The clipboard monitor is there to keep and restore the user's clipboard.
  virtual bool MonitorPresent() = 0;
  // The clipboard holds any format.
  virtual bool HoldsAnything() = 0;
  // False when the user's clipboard holds data that could not be kept.
  virtual bool SaveBeforePaste() = 0;
  // The monitor keeps a snapshot of the user's clipboard to put back.
  virtual bool UserClipboardKept() = 0;
  virtual void RestoreAfterPaste() = 0;
  virtual void SetMonitoring(bool on) = 0;

  // "" when the clipboard holds no text.
  virtual std::wstring Text() = 0;
  // False when the clipboard did not take the text.
  virtual bool PutText(std::wstring_view text) = 0;
  virtual bool Clear() = 0;

  // The change flag, cleared before each own write, and the bounded wait for it.
  virtual void ResetClipboardChanged() = 0;
  virtual void WaitForClipboardChange() = 0;
  // Waits for the target, then Ctrl+V.
  virtual void SendPasteKeys() = 0;
  // Waits, bounded, until the target has read what the last Ctrl+V pasted.
  virtual void WaitForPasteTaken() {}
};

}  // namespace snibbet
