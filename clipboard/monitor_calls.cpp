#include "clipboard/monitor_calls.h"

#include "clipboard/clipboard_monitor.h"
#include "core/synthetic_input.h"

namespace snibbet {

// Looked up at every step: the waits process messages, and the monitor could
// go away meanwhile.
bool SaveUserClipboard() {
  if (TQvClipboardMonitor* monitor = ClipboardMonitorOrNull()) return monitor->SaveBeforePaste();
  return true;
}

void RestoreUserClipboard() {
  if (TQvClipboardMonitor* monitor = ClipboardMonitorOrNull()) monitor->RestoreAfterPaste();
}

void SetClipboardMonitoring(bool on) {
  if (TQvClipboardMonitor* monitor = ClipboardMonitorOrNull()) monitor->SetMonitoring(on);
}

void WaitForOwnClipboardWrite() {
  if (TQvClipboardMonitor* monitor = ClipboardMonitorOrNull()) monitor->WaitForClipboardChange();
}

void SendPasteKeysWhenIdle() {
  if (TQvClipboardMonitor* monitor = ClipboardMonitorOrNull()) return monitor->SendPasteKeys();
  SendCtrlV();
}

}  // namespace snibbet
