#pragma once
// The paste steps through the program's clipboard monitor, looked up in its
// record at every step (the waits process messages, and the monitor could go
// away meanwhile). Without a monitor the user's clipboard is neither kept nor put
// back, the wait watches the clipboard's sequence number and the paste keys
// are typed at once. GUI thread only.
#include <cstdint>
#include <vector>

#include "clipboard/paste_steps.h"
#include "core/clipboard_access.h"

namespace snibbet {

class ClipboardMonitorRecord;
class TQvClipboardMonitor;

// The program's own content for a paste onto the clipboard: offered through
// the monitor, so the user's clipboard comes back once the target took it;
// put there at once without a monitor. False when the clipboard did not take it.
bool OfferForPaste(const ClipboardMonitorRecord* record, std::vector<ClipboardFormatBytes> formats);

class MonitorPasteSteps final : public ClipboardPasteSteps {
 public:
  // The monitor named in `record`, which outlives the steps; none: no monitor.
  explicit MonitorPasteSteps(const ClipboardMonitorRecord* record) : record_(record) {}
  bool MonitorPresent() override;
  bool HoldsAnything() override;
  // True without a monitor.
  bool SaveBeforePaste() override;
  bool UserClipboardKept() override;
  void RestoreAfterPaste() override;
  void SetMonitoring(bool on) override;
  std::wstring Text() override;
  bool PutText(std::wstring_view text) override;
  bool Clear() override;
  void ResetClipboardChanged() override;
  void WaitForClipboardChange() override;
  void SendPasteKeys() override;
  // Nothing without a monitor: no offer is watched then.
  void WaitForPasteTaken() override;

 private:
  TQvClipboardMonitor* Monitor() const;

  const ClipboardMonitorRecord* record_;
  std::uint32_t sequenceAtReset_ = 0;
};

}  // namespace snibbet
