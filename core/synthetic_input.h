#pragma once
// Synthetic key presses into whatever window has the keyboard focus, and the
// characters keys give in a keyboard layout. Every key event is one record of
// its own call to the system, with no time stamp, and carries the program's
// marker (kSnibbetInputMarker) so the hooks tell it from the user's keys.
#include <windows.h>

#include <functional>
#include <span>
#include <string>

namespace snibbet {

// The record of one key event of the program's own: scan code from the
// current layout, key-up and extended flags as asked, the program's marker.
INPUT OwnKeyInput(BYTE virtualKey, bool keyUp, bool extended);

// One key event as OwnKeyInput makes it. False when the system did not take the event.
bool SendKey(BYTE virtualKey, bool keyUp, bool extended);

// Down, then up, with no pause; the up is sent even when the down failed.
bool SendKeyPress(BYTE virtualKey, bool extended);

// An Esc key-up, then a 10 ms pause.
void ReleaseEscKey();

// Whether the system shows the key down now (the user's keys and ours).
bool SystemHoldsKey(BYTE virtualKey);

// The keys the program pressed and has not released since. Whatever ended its
// typing (an error, a refused paste), each of them that `userHolds` does not
// claim gets its key-up, so none is left down behind the user's back.
void ReleaseKeysLeftDown(const std::function<bool(BYTE)>& userHolds);

// Ctrl+X, Ctrl+C, Ctrl+V, Ctrl+Z with 10 ms pauses around each step (at least
// 40 ms in all). Ctrl is always released again, whatever failed in between.
bool SendCtrlX();
bool SendCtrlC();
bool SendCtrlV();
bool SendCtrlZ();

using KeyState = std::span<const BYTE, 256>;

// The text `virtualKey` gives in `layout` with `keyState`: one character, or
// "" for keys without a printable one and for dead keys.
std::wstring KeyToUnicodeString(UINT virtualKey, KeyState keyState, HKL layout);

// Like KeyToUnicodeString, but a blank for "no character"; for the OEM keys
// (186 and up) a dead key gives its own character and leaves no dead-key state.
wchar_t KeyToChar(UINT virtualKey, KeyState keyState, HKL layout);

}  // namespace snibbet
