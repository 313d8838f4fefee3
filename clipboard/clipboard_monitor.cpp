#include "clipboard/clipboard_monitor.h"

#include <stdexcept>

#include "core/debug_log.h"
#include "core/lang_table.h"
#include "core/message_boxes.h"
#include "core/preset.h"
#include "core/synthetic_input.h"
#include "core/version_info.h"

namespace snibbet {

bool ClipboardChangedFlag = false;

namespace {

// The claim of the one monitor; nothing reaches the monitor through it.
const TQvClipboardMonitor* g_monitor = nullptr;

ClipboardMonitorOptions WithDefaults(ClipboardMonitorOptions options) {
  if (!options.isVistaOrLater) options.isVistaOrLater = IsVistaOrLater;
  if (!options.lookUpListenerApi) options.lookUpListenerApi = LookUpFormatListenerApi;
  if (!options.showWarning) options.showWarning = ShowWarningMessage;
  const TPreset* settings = options.settings;
  if (!options.playSound) {
    options.playSound = [settings](int slot, bool force) {
      if (settings) settings->PlaySound(slot, force);
    };
  }
  if (!options.typePasteKeys) options.typePasteKeys = [] { SendCtrlV(); };
  if (!options.slowPasteTargetInFront) options.slowPasteTargetInFront = [] { return false; };
  if (!options.historySettings) {
    options.historySettings = [settings] {
      if (!settings) return ClipboardHistorySettings{};
      return ClipboardHistorySettings{settings->ClipboardIsActive(), settings->MaxClipboardHistory(),
                                      settings->UniqueClipboard()};
    };
  }
  return options;
}

}  // namespace

TQvClipboardMonitor::TQvClipboardMonitor(ClipboardMonitorOptions options)
    : TQvForm({.className = kClassName, .border = ui::BorderStyle::None, .clientWidth = 0, .clientHeight = 0}),
      options_(WithDefaults(std::move(options))) {
  if (g_monitor) throw std::logic_error("the clipboard monitor exists already");
  g_monitor = this;
  if (options_.record) options_.record->monitor_ = this;
}

TQvClipboardMonitor::~TQvClipboardMonitor() {
  // Destroyed without Destroy(): the window still leaves the chain here.
  if (Handle()) UnregisterViewer();
  if (options_.record && options_.record->monitor_ == this) options_.record->monitor_ = nullptr;
  g_monitor = nullptr;
}

void TQvClipboardMonitor::OnCreate() {
  DebugLog(L"QvClipboardDM");
  nextViewer_ = nullptr;
  useFormatListener_ = false;
  if (options_.isVistaOrLater()) {
    listener_ = options_.lookUpListenerApi();
    useFormatListener_ = listener_.Complete();
    if (!useFormatListener_) options_.showWarning(LangText(740, L"Failed to locate Vista Clipboard API"));
  }
  snapshotHeld_ = false;
  saving_ = registering_ = false;
  monitoring_ = true;
  // Read also while the store is off: the numbering goes on from the last item.
  if (!options_.historyFolder.empty()) {
    history_ = ClipboardHistoryStore(std::filesystem::path(options_.historyFolder));
    history_.LoadIndexes();
  }
}

void TQvClipboardMonitor::ApplyLanguage() {
  TQvForm::ApplyLanguage();
  placeholderNote_ = LangText(42, L"No text");
}

void TQvClipboardMonitor::OnDestroy() {
  UnregisterViewer();
  // Left pending, the user's clipboard would end with the program.
  if (tmrRestore.Enabled()) tmrRestoreTimer();
  offer_.RenderAll();
}

void TQvClipboardMonitor::RegisterViewer() {
  registering_ = true;
  if (useFormatListener_) {
    if (!listening_) listening_ = listener_.add(Handle()) != FALSE;
  } else if (!inViewerChain_) {
    // Joining sends the first change notification at once: not the user's.
    inViewerChain_ = true;
    nextViewer_ = SetClipboardViewer(Handle());
  }
  tmrRestart.Start();
  registering_ = false;
}

void TQvClipboardMonitor::UnregisterViewer() {
  if (listening_) {
    listener_.remove(Handle());
    listening_ = false;
  }
  if (inViewerChain_) {
    ChangeClipboardChain(Handle(), nextViewer_);
    inViewerChain_ = false;
    nextViewer_ = nullptr;
  }
  tmrRestart.Stop();
}

void TQvClipboardMonitor::PassToNextViewer(UINT message, WPARAM wParam, LPARAM lParam) {
  if (nextViewer_ && nextViewer_ != Handle()) SendMessageW(nextViewer_, message, wParam, lParam);
}

void TQvClipboardMonitor::ChainChanged(HWND leaving, HWND following) {
  if (leaving == nextViewer_) {
    nextViewer_ = following;
  } else {
    PassToNextViewer(WM_CHANGECBCHAIN, reinterpret_cast<WPARAM>(leaving), reinterpret_cast<LPARAM>(following));
  }
}

LRESULT TQvClipboardMonitor::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLIPBOARDUPDATE:
    case WM_DRAWCLIPBOARD:
      PassToNextViewer(message, wParam, lParam);
      ClipboardChanged();
      return 0;
    case WM_DESTROYCLIPBOARD:
      ClipboardChanged();
      return 0;
    case WM_CHANGECBCHAIN:
      ChainChanged(reinterpret_cast<HWND>(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    default:
      return TQvForm::HandleMessage(message, wParam, lParam);
  }
}

// The restore, and the template put there by the paste before it, are the
// program's own writes: the clipboard then still has the sequence number
// noted right after them.
bool TQvClipboardMonitor::IsOwnWrite() const {
  return restoring_ || (ownWriteKnown_ && GetClipboardSequenceNumber() == ownWriteSequence_);
}

void TQvClipboardMonitor::ClipboardChanged() {
  KickWatchdog();
  snapshotHeld_ = false;
  ClipboardChangedFlag = true;
  // Another content replaced the template before the target read it: nothing to wait for.
  if (awaitingTake_ && !offer_.OnClipboard()) {
    awaitingTake_ = false;
    ArmRestore(restoreDelayMs_);
  }
  if (saving_ || registering_ || !monitoring_ || IsOwnWrite()) return;
  options_.playSound(kClipboardSoundSlot, false);
  if (HistoryStoreOn()) {
    tmrSave.Stop();
    tmrSave.Start();  // saved 150 ms after the last of a burst of changes
  }
}

void TQvClipboardMonitor::KickWatchdog() {
  if (!tmrRestart.Enabled()) return;
  tmrRestart.Stop();
  tmrRestart.Start();
}

// Re-registration serves only the history store: a monitor dropped from the
// viewer chain would miss the changes it saves.
void TQvClipboardMonitor::tmrRestartTimer() {
  if (saving_ || !HistoryStoreOn() || tmrSave.Enabled()) return;
  if (options_.keyboard && !options_.keyboard->KeyboardQuiet()) return;
  UnregisterViewer();
  RegisterViewer();
}

}  // namespace snibbet
