#pragma once
// How tests talk to ReportTarget.exe (see report_target.cpp).
#include <windows.h>

#include <string>

namespace report_target {

inline constexpr wchar_t kWindowClass[] = L"TReportTarget";
inline constexpr wchar_t kWindowTitle[] = L"ReportTarget";

inline constexpr UINT kThrowInHandler = WM_APP + 1;  // wParam: HandlerMessage(wParam)
inline constexpr UINT kThrowInTimer = WM_APP + 2;
inline constexpr UINT kHookKeys = WM_APP + 3;  // installs the hook; answers 1 when it is in

inline constexpr DWORD kHookThrowKey = VK_F13;
inline constexpr char kTimerMessage[] = "The timer failed";
inline constexpr char kHookMessage[] = "The keyboard hook failed";

inline std::string HandlerMessage(int which) {
  switch (which) {
    case 1: return "Access violation at address 0040A1B2. Read of address 00000000";
    case 2: return "First line of the error\r\nsecond line of the error";
    default: return "Error number " + std::to_string(which);
  }
}

}  // namespace report_target
