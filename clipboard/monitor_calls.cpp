#include "clipboard/monitor_calls.h"

#include <windows.h>

#include "clipboard/clipboard_monitor.h"
#include "core/clipboard_access.h"
#include "core/message_pump.h"
#include "core/synthetic_input.h"

namespace snibbet {
namespace {

// The wait without a monitor.
constexpr DWORD kChangeWaitMs = 300;
constexpr DWORD kChangeSettleMs = 30;
constexpr DWORD kPollMs = 10;

}  // namespace

bool OfferForPaste(const ClipboardMonitorRecord* record, std::vector<ClipboardFormatBytes> formats) {
  if (TQvClipboardMonitor* monitor = record ? record->Monitor() : nullptr) return monitor->OfferForPaste(std::move(formats));
  return PutClipboardFormats(formats);
}

TQvClipboardMonitor* MonitorPasteSteps::Monitor() const { return record_ ? record_->Monitor() : nullptr; }

bool MonitorPasteSteps::MonitorPresent() { return Monitor() != nullptr; }

bool MonitorPasteSteps::HoldsAnything() { return CountClipboardFormats() != 0; }

bool MonitorPasteSteps::SaveBeforePaste() {
  if (TQvClipboardMonitor* monitor = Monitor()) return monitor->SaveBeforePaste();
  return true;
}

bool MonitorPasteSteps::UserClipboardKept() {
  const TQvClipboardMonitor* monitor = Monitor();
  return monitor && monitor->SnapshotUsable();
}

void MonitorPasteSteps::RestoreAfterPaste() {
  if (TQvClipboardMonitor* monitor = Monitor()) monitor->RestoreAfterPaste();
}

void MonitorPasteSteps::SetMonitoring(bool on) {
  if (TQvClipboardMonitor* monitor = Monitor()) monitor->SetMonitoring(on);
}

std::wstring MonitorPasteSteps::Text() { return GetClipboardTextW(); }

bool MonitorPasteSteps::PutText(std::wstring_view text) { return OfferForPaste(record_, TextClipboardFormats(text)); }

bool MonitorPasteSteps::Clear() { return ClearClipboard(); }

void MonitorPasteSteps::ResetClipboardChanged() {
  ClipboardChangedFlag = false;
  sequenceAtReset_ = GetClipboardSequenceNumber();
}

void MonitorPasteSteps::WaitForClipboardChange() {
  if (TQvClipboardMonitor* monitor = Monitor()) return monitor->WaitForClipboardChange();
  const DWORD start = GetTickCount();
  while (GetClipboardSequenceNumber() == sequenceAtReset_ && GetTickCount() - start < kChangeWaitMs) {
    PumpMessagesFor(kPollMs);
  }
  PumpMessagesFor(kChangeSettleMs);
}

void MonitorPasteSteps::SendPasteKeys() {
  if (TQvClipboardMonitor* monitor = Monitor()) return monitor->SendPasteKeys();
  SendCtrlV();
}

void MonitorPasteSteps::WaitForPasteTaken() {
  if (TQvClipboardMonitor* monitor = Monitor()) monitor->WaitForPasteTaken();
}

}  // namespace snibbet
