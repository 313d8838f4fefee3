#pragma once
// What kind of key a virtual-key code is, and the numeric-pad codes the key
// model counts keypad keys under. Pure functions of a code; any int is safe
// (codes outside 1..255 are no key at all). Window-free.
#include <array>
#include <cstdint>

namespace snibbet {

// Keys are virtual-key codes 1..255; tables by code have 256 entries, [0] unused.
inline constexpr int kFirstKeyCode = 1;
inline constexpr int kLastKeyCode = 255;
constexpr bool IsKeyCode(int code) { return code >= kFirstKeyCode && code <= kLastKeyCode; }

// The system's keyboard-state format: one byte per code, 0x80 down, 0x01 toggled.
using KeyStateBytes = std::array<std::uint8_t, 256>;
inline constexpr std::uint8_t kKeyDown = 0x81;

inline constexpr int kVkBack = 8, kVkTab = 9, kVkReturn = 13, kVkShift = 16, kVkControl = 17, kVkMenu = 18;
inline constexpr int kVkCapital = 20, kVkEscape = 27, kVkSpace = 32, kVkDelete = 46;
inline constexpr int kVkNumLock = 144, kVkScroll = 145;

// Left and right Win, Shift, Ctrl and Alt.
bool IsModifierKey(int code);
// The modifiers and CapsLock, NumLock, ScrollLock.
bool IsLockOrModifierKey(int code);
// CapsLock, NumLock, ScrollLock: their state byte holds on/off, not up/down.
bool IsLockKey(int code);
// Keys that type a character: Space, digits, letters, keypad, OEM keys.
bool IsPrintableKey(int code);
// Letters and OEM keys: the keys layouts move around.
bool IsLetterOrOemKey(int code);
// Keys whose events carry the extended flag by default.
bool IsExtendedKey(int code);

// A keypad key pressed while NumLock is off arrives as the navigation key it
// stands for, without the extended flag (the navigation block's own keys carry
// it). The keypad code for such an event; every other event keeps its code.
int KeypadCodeOfEvent(int code, bool extended);

// The navigation key a keypad key stands for while NumLock is off (96 Ins,
// 97 End, ... 110 Del); 7 for any other code.
int NumpadNavigationKey(int code);

// Whether the keypad key `code` moves (shows its navigation key) rather than
// types a digit under `state`: NumLock off, or on with Shift held, unless the
// keypad is set to always type digits.
bool KeypadShowsNavigation(int code, const KeyStateBytes& state, bool keypadAlwaysDigits);

}  // namespace snibbet
