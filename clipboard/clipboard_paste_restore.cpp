// The monitor's part in a paste: the user's clipboard kept and put back, the
// wait for the program's own clipboard write, and the paste keystroke.
#include "clipboard/clipboard_monitor.h"

#include "core/clipboard_access.h"
#include "core/clipboard_snapshot.h"
#include "core/message_pump.h"
#include "core/process_idle.h"
#include "core/synthetic_input.h"

namespace snibbet {
namespace {

// Putting back a snapshot without a single whole record would only empty the
// clipboard: the user's data would be gone and the template with it.
bool HoldsWholeRecords(ClipboardStream& stream) {
  stream.Rewind();
  const auto records = stream.ReadAllRecords();
  stream.Rewind();
  return records && !records->empty();
}

}  // namespace

bool TQvClipboardMonitor::SaveBeforePaste() {
  // A restore pending or running holds the user's clipboard from before the
  // previous paste: that one comes back after this paste too.
  if (tmrRestore.Enabled() || restoring_) {
    tmrRestore.Stop();
    awaitingTake_ = false;
    return true;
  }
  if (HistoryStoreOn()) return true;
  if (snapshotHeld_ && snapshotSequence_ == GetClipboardSequenceNumber()) return true;
  snapshotHeld_ = false;
  snapshotUsable_ = false;
  if (CountClipboardFormats() == 0) return true;  // nothing to keep
  // Opened here rather than in the save: only a clipboard that cannot be
  // opened stops the paste. Waiting would not make one with nothing saveable
  // on it any more keepable.
  ClipboardSession clipboard;
  if (!clipboard.IsOpen()) return false;
  snapshotUsable_ = TakeSnapshot();
  snapshotHeld_ = snapshotUsable_;
  return true;
}

bool TQvClipboardMonitor::TakeSnapshot() {
  snapshot_.Clear();
  snapshotSequence_ = GetClipboardSequenceNumber();
  const bool saved = SaveOpenClipboardToStream(snapshot_);
  // Changed while it was read: the snapshot may mix two contents.
  const bool steady = snapshotSequence_ == GetClipboardSequenceNumber();
  return saved && steady && HoldsWholeRecords(snapshot_);
}

bool TQvClipboardMonitor::OfferForPaste(std::vector<ClipboardFormatBytes> formats) {
  // Replaced before the target read it, the offer before would be lost and
  // this one pasted for its Ctrl+V as well.
  WaitForPasteTaken();
  pasteTake_.Offered();
  return offer_.Put(std::move(formats));
}

// Bounded as the restore's wait for a take is, which also keeps it within
// the input helper's safety time-out for a block without our typing.
void TQvClipboardMonitor::WaitForPasteTaken() {
  const auto taken = [this] { return !pasteTake_.WorthWaitingFor(offer_.OnClipboard()); };
  if (taken()) return;
  const ULONGLONG waited = GetTickCount64() - pasteKeysTick_;
  const DWORD left = waited >= kUntakenOfferRestoreMs ? 0 : static_cast<DWORD>(kUntakenOfferRestoreMs - waited);
  if (!PumpMessagesUntil(left, taken)) pasteTake_.WaitRanOut();
}

void TQvClipboardMonitor::RestoreAfterPaste() {
  tmrRestore.Stop();
  awaitingTake_ = false;
  if (!snapshotUsable_) return;
  // The paste has put the template there: a later change is the user's.
  ownWriteSequence_ = GetClipboardSequenceNumber();
  ownWriteKnown_ = true;
  restoreRetriesLeft_ = kRestoreRetries;
  restoreDelayMs_ = options_.slowPasteTargetInFront() ? kSlowTargetRestoreDelayMs : kRestoreDelayMs;
  // Put back before the target read the template, the user's clipboard
  // would be pasted in its place.
  awaitingTake_ = pasteTake_.Awaited(offer_.OnClipboard());
  ArmRestore(awaitingTake_ ? kUntakenOfferRestoreMs : restoreDelayMs_);
}

void TQvClipboardMonitor::OfferRendered(HWND reader) {
  // The rendered data is still the program's own content, not a user's copy.
  ownWriteSequence_ = GetClipboardSequenceNumber();
  ownWriteKnown_ = true;
  DWORD readerProcess = 0;
  if (reader) GetWindowThreadProcessId(reader, &readerProcess);
  if (!pasteTake_.Rendered(readerProcess) || !awaitingTake_) return;
  awaitingTake_ = false;
  ArmRestore(restoreDelayMs_);
}

void TQvClipboardMonitor::ArmRestore(UINT delayMs) {
  tmrRestore.Stop();
  tmrRestore.SetInterval(delayMs);
  tmrRestore.Start();
}

void TQvClipboardMonitor::tmrRestoreTimer() {
  tmrRestore.Stop();
  awaitingTake_ = false;
  if (!snapshotUsable_) return;
  if (GetClipboardSequenceNumber() != ownWriteSequence_) {
    // The user copied something since the paste: that copy stays.
    snapshotUsable_ = false;
    return;
  }
  restoring_ = true;
  snapshot_.Rewind();
  const bool restored = LoadClipboardFromStream(snapshot_);
  // A failed load that left the position at the start touched nothing.
  const bool touched = restored || snapshot_.Position() != 0;
  restoring_ = false;
  if (touched) {
    ownWriteSequence_ = GetClipboardSequenceNumber();
    return;
  }
  // The clipboard could not be opened (another program holds it): later.
  if (restoreRetriesLeft_-- > 0) ArmRestore(kRestoreRetryDelayMs);
}

void TQvClipboardMonitor::WaitForClipboardChange() {
  const ULONGLONG end = GetTickCount64() + kChangeWaitMs;
  while (GetTickCount64() < end) {
    if (ClipboardChangedFlag && !saving_) break;
    MsgWaitForMultipleObjectsEx(0, nullptr, 1, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (!ProcessPendingMessages()) return;
  }
  PumpMessagesFor(kAfterChangePumpMs);
}

bool TQvClipboardMonitor::IsFirstPasteInto(bool& newWindow) {
  HWND window = GetForegroundWindow();
  if (!window) return false;
  return pasteTargets_.NotePaste(window, GetTickCount(), newWindow);
}

void TQvClipboardMonitor::SendPasteKeys() {
  bool newWindow = false;
  const bool first = IsFirstPasteInto(newWindow);
  if (first && options_.slowPasteTargetInFront()) {
    if (newWindow) {
      WaitForProcessIdle(200, 300);
    } else {
      WaitForProcessIdle(100, 350);
    }
  }
  if (newWindow) {
    WaitForProcessIdle(150, 500);
  } else {
    WaitForProcessIdle(50, 250);
  }
  DWORD targetProcess = 0;
  if (HWND target = GetForegroundWindow()) GetWindowThreadProcessId(target, &targetProcess);
  pasteTake_.PasteKeysSent(targetProcess);
  pasteKeysTick_ = GetTickCount64();
  options_.typePasteKeys();
}

}  // namespace snibbet
