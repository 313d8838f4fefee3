#pragma once
// The hook library SnibbetH: its file, its two entries and the messages it
// posts to the window handed to Hook. Both the program and our own build of
// the library include this. Window-free.
namespace snibbet {

inline constexpr wchar_t kHookLibraryFileName[] = L"SnibbetH.dll";
inline constexpr char kHookEntryName[] = "Hook";      // stdcall, one argument: the window to report to
inline constexpr char kUnHookEntryName[] = "UnHook";  // stdcall, no argument; nothing is posted after it

// Posted to the window handed to Hook.
inline constexpr unsigned WM_HOOK_LAYOUT_CHANGED = 1174;    // lParam: the layout now active in the foreground
inline constexpr unsigned WM_HOOK_SET_LAYOUT = 1175;        // posted by the program to the foreground window
inline constexpr unsigned WM_HOOK_LAYOUT_ACK = 1176;        // the program's layout request is done
inline constexpr unsigned WM_HOOK_WINDOW_ACTIVATED = 1185;  // wParam: the new foreground window, 0 for none

}  // namespace snibbet
