#pragma once
// The window messages between the main program (Snibbet) and its input helper
// (SnibbetCm). Both programs include this header; nothing else crosses between
// them. Window-free, so either side may use it from any code.
//
// Commands to the helper's hidden window: sent with SendMessage and both
// parameters 0 (so the helper has acted when the call returns), except
// WM_HELPER_RESET_MAIN_WINDOW, which is posted. WM_DESTROY (sent) ends the helper.
// Relays from the helper to the main program's hidden window: always posted, so
// a hook procedure of the helper never waits for the main program.
#include <cstdint>

namespace snibbet {

// Main program -> helper.
inline constexpr unsigned WM_HELPER_WHEEL_CAPTURE_ON = 1190;   // sent: swallow the wheel, relay it as 1189
inline constexpr unsigned WM_HELPER_WHEEL_CAPTURE_OFF = 1191;  // sent: the wheel reaches its window again
inline constexpr unsigned WM_HELPER_HOOKS_ON = 1206;           // sent: install the keyboard and mouse hooks
inline constexpr unsigned WM_HELPER_HOOKS_OFF = 1207;          // sent: remove both hooks
inline constexpr unsigned WM_HELPER_BLOCK_INPUT = 1208;        // sent: hold back physical keys
inline constexpr unsigned WM_HELPER_UNBLOCK_INPUT = 1209;      // sent: end the block, replay the held-back keys
inline constexpr unsigned WM_HELPER_RESET_MAIN_WINDOW = 1210;  // posted: look the main window up again

// Helper -> main program, posted; lParam is the packed cursor position unless noted.
inline constexpr unsigned WM_HELPER_MOUSE_TRACK = 1186;  // move with a button held, button released, uncaptured wheel
inline constexpr unsigned WM_HELPER_MOUSE_DOWN = 1187;   // left, middle or right button pressed
inline constexpr unsigned WM_HELPER_MOUSE_HOVER = 1188;  // move with no button held; lParam 0; at most every 30 ms
inline constexpr unsigned WM_HELPER_MOUSE_WHEEL = 1189;  // captured wheel; wParam = the event's mouse data (delta in high word)

// The dwExtraInfo of every key event either program types itself, so that
// each hook tells those events from the user's (physical ones and those other
// programs inject) without relying on the injected flag. SnibbetCm's replays
// are the user's own keys delivered late: the main program treats them as such.
inline constexpr std::uintptr_t kSnibbetInputMarker = 0x534E4942;  // typed by Snibbet itself
inline constexpr std::uintptr_t kHelperReplayMarker = 0x534E4352;  // the user's keys, replayed by SnibbetCm

// How each program finds the other's hidden window (class, title).
inline constexpr wchar_t kHelperWindowClass[] = L"SnibbetCm";
inline constexpr wchar_t kHelperWindowTitle[] = L"SnibbetCm";
inline constexpr wchar_t kHelperFileName[] = L"SnibbetCm.exe";
// The main program's image: the helper watches the process that started it
// when this is its file name.
inline constexpr wchar_t kMainProgramFileName[] = L"Snibbet.exe";
inline constexpr wchar_t kMainWindowClass[] = L"TFirstForm";
inline constexpr wchar_t kMainWindowTitle[] = L"SnibbetFirstForm";

// The cursor position travels as the system packs mouse coordinates: the low
// 16 bits of screen x in the low word, of screen y in the high word.
constexpr std::intptr_t PackCursorPos(int x, int y) {
  return static_cast<std::intptr_t>((static_cast<std::uint32_t>(x) & 0xFFFFu) |
                                    ((static_cast<std::uint32_t>(y) & 0xFFFFu) << 16));
}

// Each word is read back as a signed 16-bit value, so points on a monitor left
// of or above the primary one keep their negative coordinates.
constexpr int CursorXFromPacked(std::intptr_t lParam) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<std::uintptr_t>(lParam) & 0xFFFFu));
}
constexpr int CursorYFromPacked(std::intptr_t lParam) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>((static_cast<std::uintptr_t>(lParam) >> 16) & 0xFFFFu));
}

}  // namespace snibbet
