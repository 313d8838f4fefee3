#include "core/key_classes.h"

#include <utility>

#include "core/control_set.h"

namespace snibbet {
namespace {

constexpr bool InRange(int code, int first, int last) { return code >= first && code <= last; }

// Navigation code -> keypad code, for events without the extended flag.
constexpr std::pair<int, int> kKeypadOfNavigation[] = {
    {12, 101}, {33, 105}, {34, 99}, {35, 97}, {36, 103}, {37, 100},
    {38, 104}, {39, 102}, {40, 98}, {45, 96}, {46, 110},
};

}  // namespace

bool IsModifierKey(int code) {
  return code == kVkLeftWin || code == kVkRightWin || InRange(code, kVkLeftShift, kVkRightAlt);
}

bool IsLockKey(int code) { return code == kVkCapital || code == kVkNumLock || code == kVkScroll; }

bool IsLockOrModifierKey(int code) { return IsLockKey(code) || IsModifierKey(code); }

bool IsPrintableKey(int code) {
  return code == kVkSpace || InRange(code, 48, 90) || InRange(code, 96, 111) || InRange(code, 186, 192) ||
         InRange(code, 219, 226);
}

bool IsLetterOrOemKey(int code) {
  return InRange(code, 65, 90) || InRange(code, 186, 192) || InRange(code, 219, 226);
}

bool IsExtendedKey(int code) {
  return InRange(code, 33, 46) || InRange(code, 91, 93) || code == 111 || code == kVkNumLock ||
         code == kVkRightShift || code == kVkRightCtrl || InRange(code, kVkRightAlt, 183);
}

int KeypadCodeOfEvent(int code, bool extended) {
  if (extended) return code;
  for (const auto& [navigation, keypad] : kKeypadOfNavigation) {
    if (navigation == code) return keypad;
  }
  return code;
}

int NumpadNavigationKey(int code) {
  for (const auto& [navigation, keypad] : kKeypadOfNavigation) {
    if (keypad == code && navigation != 12) return navigation;
  }
  return 7;
}

bool KeypadShowsNavigation(int code, const KeyStateBytes& state, bool keypadAlwaysDigits) {
  if (keypadAlwaysDigits || !(InRange(code, 96, 105) || code == 110)) return false;
  const bool numLockOn = (state[kVkNumLock] & 0x01) != 0;
  const bool shiftHeld = state[kVkShift] != 0;
  return !numLockOn || shiftHeld;
}

}  // namespace snibbet
