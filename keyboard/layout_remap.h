#pragma once
// Text typed in the wrong keyboard layout, retyped key by key in another one:
// each character is traced back to the physical key (and Shift, Ctrl, Alt)
// that typed it in the old layout, and that key's character in the new layout
// is taken instead. Window-free: the layouts sit behind LayoutCharService.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/key_classes.h"
#include "core/keyboard_layout_service.h"

namespace snibbet {

inline constexpr int kNoKeyForChar = -1;
// Bits of the shift state in the high byte of a key scan.
inline constexpr int kScanShift = 1, kScanCtrl = 2, kScanAlt = 4;

struct KeyChars {
  // Characters the key gave; negative for a dead key, 0 when it gives none.
  int count = 0;
  // The characters; for a dead key its own spacing form ("" when it has none).
  std::wstring chars;
};

class LayoutCharService {
 public:
  virtual ~LayoutCharService() = default;
  // The key that types `c` in `layout`: the key code in the low byte and the
  // shift state in the high byte; kNoKeyForChar when no key does.
  virtual int KeyScan(wchar_t c, LayoutHandle layout) = 0;
  // What `code` types under `state` in `layout`. Leaves no dead key pending.
  virtual KeyChars KeyCharacters(unsigned code, const KeyStateBytes& state, LayoutHandle layout) = 0;
};

// For every key code of the old layout, the code of the key on the same
// physical place in the new one.
using KeyCodeMap = std::array<std::uint8_t, 256>;

// Every character of `text` as the same key types it in `to`. A character no
// key of `from` types, and one whose key types nothing in `to`, stays as it is.
std::wstring RemapLayoutChars(std::wstring_view text, const KeyCodeMap& keyMap, LayoutHandle from, LayoutHandle to,
                              LayoutCharService& chars);

}  // namespace snibbet
