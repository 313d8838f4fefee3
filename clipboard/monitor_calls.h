#pragma once
// The clipboard monitor's paste steps for the parts that type on their own
// (the template paste, the tag paste, the clipboard and layout bindings).
// Each reaches the one monitor when it exists and does nothing otherwise,
// except the paste keys, which are typed at once without a monitor.
// GUI thread only.
namespace snibbet {

// False when the user's clipboard could not be kept (see
// TQvClipboardMonitor::SaveBeforePaste); true without a monitor.
bool SaveUserClipboard();
void RestoreUserClipboard();
void SetClipboardMonitoring(bool on);
void WaitForOwnClipboardWrite();
void SendPasteKeysWhenIdle();

}  // namespace snibbet
