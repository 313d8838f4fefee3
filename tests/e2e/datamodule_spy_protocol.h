#pragma once
// What the spy libraries loaded into Snibbet report to the test, posted to the
// test's window of class kSpyWindowClass.
#include <windows.h>

namespace snibbet_e2e {

inline constexpr wchar_t kSpyWindowClass[] = L"SnibbetDataModuleSpy";

// From the spy build of SnibbetH.dll (put in place of the real one).
inline constexpr UINT kSpyHooked = WM_APP + 1;    // wParam: the window handed to Hook; lParam: the caller's pid
inline constexpr UINT kSpyUnHooked = WM_APP + 2;  // UnHook was called
inline constexpr UINT kSpyFreed = WM_APP + 3;     // the library was freed (not the process ending)

// From the message spy (a WH_GETMESSAGE hook in Snibbet's GUI thread).
inline constexpr UINT kSpyActivationSeen = WM_APP + 4;  // wParam: the window it was posted to; lParam: its wParam

inline void ReportToSpy(UINT message, WPARAM wParam, LPARAM lParam) {
  if (HWND spy = FindWindowW(kSpyWindowClass, nullptr)) PostMessageW(spy, message, wParam, lParam);
}

}  // namespace snibbet_e2e
