#pragma once
// What the spy the hotkey tests put into SnibbetCm reports: every command
// 1206-1209 as it arrives, with GetTickCount of that moment.
#include <windows.h>

namespace snibbet_e2e {

inline constexpr wchar_t kHookSpyWindowClass[] = L"SnibbetHookSpy";
// While a window of this class exists, the spy holds the unblock command back
// for a while (messages still pumped, so SnibbetCm's hooks run): input stays
// blocked and the program's action unfinished, so the test can type meanwhile.
inline constexpr wchar_t kHookSpyHoldClass[] = L"SnibbetHookSpyHold";
inline constexpr DWORD kHookSpyHoldMs = 2500;
inline constexpr UINT kHookSpyCommand = WM_APP + 20;  // wParam: the command; lParam: the tick
inline constexpr WPARAM kHookSpyHoldEnded = 0;       // as a command: the held unblock goes on now

}  // namespace snibbet_e2e
