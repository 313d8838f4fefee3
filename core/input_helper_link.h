#pragma once
// The main program's side of the link to the input helper SnibbetCm: finding
// or starting it, the one way of sending it a command, and ending it at exit.
// The helper's window is process-wide state, found once at start-up.
#include <windows.h>

#include <optional>

namespace snibbet {

// A hung helper must not hang the program: every sent command gives up after this.
inline constexpr UINT kInputHelperSendTimeoutMs = 5000;

// Finds SnibbetCm's window (class and title "SnibbetCm") or starts
// "SnibbetCm.exe" hidden by its bare name, then tells it and every visible
// top-level window to look the main window up again (1210). Not found: the
// error box "File SnibbetCm.exe is not found!" and the application is asked
// to end; false then. Does nothing, answering false, once the application ends.
bool StartInputHelper();

// The helper's window found by StartInputHelper, or null.
HWND InputHelperWindow();

// True when `window` is a window of class and title "SnibbetCm": a handle
// kept from start-up may since have been reused by another program.
bool IsInputHelperWindow(HWND window);

// Sends a command (1206-1209, 1190, 1191) with both parameters 0 and waits
// until the helper has acted, at most kInputHelperSendTimeoutMs and not at all
// when it hangs. Nothing when no helper is known, the window is no longer the
// helper's, or the send failed or timed out.
std::optional<LRESULT> SendToInputHelper(UINT message);

// The same command without waiting for the helper to act, for a caller that
// needs no answer. It keeps its place among the commands sent before and
// after it. False when no helper is known or the system refused the message.
bool NotifyInputHelper(UINT message);

// Sends WM_DESTROY, which makes the helper remove its hooks and end, then
// forgets its window.
void EndInputHelper();

// Forgets the window without telling the helper (tests).
void ForgetInputHelper();

}  // namespace snibbet
