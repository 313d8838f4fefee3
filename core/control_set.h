#pragma once
// The modifier set of a key binding and of the key-state model: one bit per
// side-specific Shift, Ctrl, Alt and Win key, held in a 16-bit field. Window-free.
#include <cstdint>
#include <functional>
#include <string>

namespace snibbet {

using ControlSet = std::uint16_t;

// Side-specific bits.
inline constexpr ControlSet kRightShiftBit = 0x01;
inline constexpr ControlSet kRightCtrlBit = 0x02;
inline constexpr ControlSet kRightAltBit = 0x04;
inline constexpr ControlSet kRightWinBit = 0x08;
inline constexpr ControlSet kLeftShiftBit = 0x10;
inline constexpr ControlSet kLeftCtrlBit = 0x20;
inline constexpr ControlSet kLeftAltBit = 0x40;
inline constexpr ControlSet kLeftWinBit = 0x80;

// The side-less set uses the left-side bits for either side.
inline constexpr ControlSet kAnyShiftBit = kLeftShiftBit;
inline constexpr ControlSet kAnyCtrlBit = kLeftCtrlBit;
inline constexpr ControlSet kAnyAltBit = kLeftAltBit;
inline constexpr ControlSet kAnyWinBit = kLeftWinBit;

// Virtual-key codes of the eight side-specific modifiers.
inline constexpr int kVkLeftWin = 91, kVkRightWin = 92;
inline constexpr int kVkLeftShift = 160, kVkRightShift = 161;
inline constexpr int kVkLeftCtrl = 162, kVkRightCtrl = 163;
inline constexpr int kVkLeftAlt = 164, kVkRightAlt = 165;

// The side-specific bit of a modifier key; 0 for any other code.
constexpr ControlSet ModifierBit(int vk) {
  switch (vk) {
    case kVkRightShift: return kRightShiftBit;
    case kVkRightCtrl: return kRightCtrlBit;
    case kVkRightAlt: return kRightAltBit;
    case kVkRightWin: return kRightWinBit;
    case kVkLeftShift: return kLeftShiftBit;
    case kVkLeftCtrl: return kLeftCtrlBit;
    case kVkLeftAlt: return kLeftAltBit;
    case kVkLeftWin: return kLeftWinBit;
    default: return 0;
  }
}

// The side-less bit of a modifier key (either side gives the left bit); 0 for any other code.
constexpr ControlSet SideLessBit(int vk) {
  const ControlSet bit = ModifierBit(vk);
  return bit < kLeftShiftBit ? static_cast<ControlSet>(bit << 4) : bit;
}

// Folds a side-specific set into its side-less form: each right-side bit
// becomes the matching left-side bit.
constexpr ControlSet SideLessSetOf(ControlSet set) {
  return static_cast<ControlSet>((set & 0xF0) | ((set & 0x0F) << 4));
}

// The text of a key with a modifier set: the names of the set's keys in the
// order left Win, right Win, left Ctrl, right Ctrl, left Alt, right Alt, left
// Shift, right Shift, then the key's name (unless key is 0), joined by "+".
// An empty result becomes `noText`.
std::wstring ShortcutToText(std::uint8_t key, ControlSet set, const std::function<std::wstring(int vk)>& keyName,
                            const std::wstring& noText);

}  // namespace snibbet
