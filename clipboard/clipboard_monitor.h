#pragma once
// TQvClipboardMonitor: the invisible window the system tells of every
// clipboard change. It keeps ClipboardChangedFlag for the paste steps that
// wait on their own clipboard writes, keeps the user's clipboard in memory
// around a paste and puts it back shortly after the target has read the
// template it offers, and plays the clipboard
// sound when the user's clipboard changes. It also drives the clipboard
// history store (switched off in the program: ClipboardIsActive is never
// stored as on), of which only the start-up read of the index files runs.
// Created hidden at start-up; the
// data module registers it when it starts and unregisters it when it stops.
// GUI thread only.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string_view>

#include "clipboard/format_listener_api.h"
#include "clipboard/history_store.h"
#include "clipboard/paste_offer.h"
#include "clipboard/paste_take.h"
#include "clipboard/paste_targets.h"
#include "core/clipboard_stream.h"
#include "core/qv_form.h"
#include "ui/timer.h"

namespace snibbet {

class TPreset;

// Set by every change notification; cleared by the paste steps right before
// they put something on the clipboard, then waited on (WaitForClipboardChange).
extern bool ClipboardChangedFlag;

// The sound slot of a clipboard change.
inline constexpr int kClipboardSoundSlot = 8;

// The history store's settings at the moment of a change or a save.
struct ClipboardHistorySettings {
  bool on = false;     // ClipboardIsActive
  int maxItems = 30;   // MaxClipboardHistory
  bool unique = true;  // UniqueClipboard
};

// What a history save asks of the keyboard, a layer above the clipboard.
class HistoryKeyboardPort {
 public:
  virtual ~HistoryKeyboardPort() = default;
  // Physical input held back by the input helper while the save runs.
  virtual void BeginInputBlock() = 0;
  virtual void EndInputBlock() = 0;
  // No key held down in the key-state model, the hook not inside its
  // procedure and no own input running: the monitor may re-register.
  virtual bool KeyboardQuiet() = 0;
};

class TQvClipboardMonitor;

// Names the program's monitor while it exists: the monitor enters itself when
// made and leaves when it goes. The parts made before it (the keyboard's
// clipboard steps) and the paste steps, whose waits process messages while
// it could go, look it up here at every step.
class ClipboardMonitorRecord {
 public:
  ClipboardMonitorRecord() = default;
  ClipboardMonitorRecord(const ClipboardMonitorRecord&) = delete;
  ClipboardMonitorRecord& operator=(const ClipboardMonitorRecord&) = delete;
  TQvClipboardMonitor* Monitor() const { return monitor_; }

 private:
  friend class TQvClipboardMonitor;
  TQvClipboardMonitor* monitor_ = nullptr;
};

// How the monitor reaches the system; tests replace single entries.
struct ClipboardMonitorOptions {
  ClipboardMonitorRecord* record = nullptr;                 // where it names itself; none: nowhere
  std::function<bool()> isVistaOrLater{};                   // default: IsVistaOrLater
  std::function<FormatListenerApi()> lookUpListenerApi{};   // default: LookUpFormatListenerApi
  std::function<void(std::wstring_view)> showWarning{};     // default: ShowWarningMessage
  // The sound of a change and the history store's settings; none: no sound, the store off.
  const TPreset* settings = nullptr;
  std::function<void(int slot, bool force)> playSound{};    // default: the settings' sound of the slot
  // Default: the settings' (the switch is never on); a test may switch the store on.
  std::function<ClipboardHistorySettings()> historySettings{};
  std::wstring historyFolder{};                             // none: no history is read or saved
  HistoryKeyboardPort* keyboard = nullptr;                  // none: input is not blocked during a save
  std::function<void()> typePasteKeys{};                    // default: SendCtrlV
  // One of the slow paste targets is in front; default: never.
  std::function<bool()> slowPasteTargetInFront{};
};

class TQvClipboardMonitor : public TQvForm {
 public:
  static constexpr const wchar_t* kClassName = L"TQvClipboardMonitor";
  // After the target took the offered template: time to read every format it wants.
  static constexpr UINT kRestoreDelayMs = 300;
  static constexpr UINT kSlowTargetRestoreDelayMs = 500;
  // A target that never takes the offered template gets the user's clipboard
  // back after this. Loaded test machines saw targets read 5 s after Ctrl+V;
  // a target that never reads (Ctrl+V means something else to it) keeps the
  // template that long, harmless but for the user's own Ctrl+V there.
  static constexpr UINT kUntakenOfferRestoreMs = 8000;
  // A restore that could not open the clipboard tries again this often.
  static constexpr int kRestoreRetries = 3;
  static constexpr UINT kRestoreRetryDelayMs = 100;
  static constexpr DWORD kChangeWaitMs = 300;
  static constexpr DWORD kAfterChangePumpMs = 30;

  explicit TQvClipboardMonitor(ClipboardMonitorOptions options = {});
  ~TQvClipboardMonitor() override;

  // Start and stop receiving change notifications.
  void RegisterViewer();
  void UnregisterViewer();
  // The reaction to a change of the clipboard.
  void ClipboardChanged();
  // Restarts the watchdog if it runs (a window came to the front).
  void KickWatchdog();

  // Keeps the user's clipboard before a paste. A restore still pending from
  // the paste before is cancelled instead: its snapshot is the user's.
  // False when the clipboard holds data but could not be opened (another
  // program held it past the wait): a paste then must not write over it.
  bool SaveBeforePaste();
  // Puts the program's own content for a paste on the clipboard, each format
  // rendered when a reader asks for it. False when the clipboard did not take it.
  // Waits first for the target to take the offer before (WaitForPasteTaken).
  bool OfferForPaste(std::vector<ClipboardFormatBytes> formats);
  // Waits, processing messages, until the target has read the offer it was
  // last told to paste, at most kUntakenOfferRestoreMs from that Ctrl+V.
  // Returns at once when no such offer is on the clipboard.
  void WaitForPasteTaken();
  // Puts the kept clipboard back after the restore delay (longer for the slow
  // paste targets), counted from the target's take of the offered template;
  // kUntakenOfferRestoreMs after the call when it never takes it. Nothing
  // when no usable snapshot was taken.
  void RestoreAfterPaste();
  // Waits, processing messages, for the program's own clipboard write to be
  // reported (at most 300 ms), then processes messages for 30 ms more.
  void WaitForClipboardChange();

  // Saves the clipboard as the next history item (nothing for an empty one);
  // every error is swallowed, the files written until then stay.
  void SaveClipboardToFile();
  const ClipboardHistoryStore& History() const { return history_; }

  // Waits for the target to be idle, then types Ctrl+V.
  void SendPasteKeys();
  // Whether the coming paste is the first into the foreground window for a
  // while; newWindow is set when that window was never pasted into.
  bool IsFirstPasteInto(bool& newWindow);

  // False only during a template paste: no sound, no history meanwhile.
  bool Monitoring() const { return monitoring_; }
  void SetMonitoring(bool value) { monitoring_ = value; }

  bool UseFormatListener() const { return useFormatListener_; }
  HWND NextViewer() const { return nextViewer_; }
  bool SnapshotHeld() const { return snapshotHeld_; }
  // A snapshot of the user's clipboard is kept that RestoreAfterPaste can put back.
  bool SnapshotUsable() const { return snapshotUsable_; }
  bool Saving() const { return saving_; }
  bool Registering() const { return registering_; }
  bool RestorePending() const { return tmrRestore.Enabled(); }
  const ClipboardStream& Snapshot() const { return snapshot_; }

  ui::Timer tmrSave{this, L"tmrSave", 150, [this] { tmrSaveTimer(); }};
  ui::Timer tmrRestore{this, L"tmrRestore", kRestoreDelayMs, [this] { tmrRestoreTimer(); }};
  ui::Timer tmrRestart{this, L"tmrRestart", 60000, [this] { tmrRestartTimer(); }};

 protected:
  void OnCreate() override;
  void OnDestroy() override;
  void ApplyLanguage() override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void tmrSaveTimer();
  void tmrRestoreTimer();
  void tmrRestartTimer();
  void PassToNextViewer(UINT message, WPARAM wParam, LPARAM lParam);
  void ChainChanged(HWND leaving, HWND following);
  bool IsOwnWrite() const;
  bool TakeSnapshot();
  void ArmRestore(UINT delayMs);
  void OfferRendered(HWND reader);
  bool HistoryStoreOn() const { return options_.historySettings().on; }
  void SaveHistoryItem(const ClipboardHistorySettings& settings);

  ClipboardMonitorOptions options_;
  FormatListenerApi listener_{};
  ClipboardStream snapshot_;
  HWND nextViewer_ = nullptr;
  bool inViewerChain_ = false;
  bool listening_ = false;
  bool saving_ = false;
  bool registering_ = false;
  bool restoring_ = false;
  PasteTargetTable pasteTargets_;
  bool useFormatListener_ = false;
  bool snapshotHeld_ = false;
  bool snapshotUsable_ = false;      // the snapshot may be put back
  DWORD snapshotSequence_ = 0;      // the clipboard's sequence number it was taken at
  bool ownWriteKnown_ = false;
  DWORD ownWriteSequence_ = 0;      // right after the paste, then after the restore
  int restoreRetriesLeft_ = 0;
  PasteTake pasteTake_;
  ULONGLONG pasteKeysTick_ = 0;     // when the last paste keys went
  bool awaitingTake_ = false;       // the restore timer runs as the bound of the take
  UINT restoreDelayMs_ = kRestoreDelayMs;  // the delay once taken
  bool monitoring_ = true;
  ClipboardHistoryStore history_{std::filesystem::path()};
  std::wstring placeholderNote_;  // the text file of an item without a preview
  PasteOffer offer_{[this](HWND reader) { OfferRendered(reader); }};
};

}  // namespace snibbet
