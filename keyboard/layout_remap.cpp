#include "keyboard/layout_remap.h"

namespace snibbet {
namespace {

constexpr std::uint8_t kStateDown = 0x81;

bool IsBlankOrControl(wchar_t c) { return c <= L' '; }

// Several characters from one key (a dead key completed with an unknown
// accent): the last one that is not blank or a control character.
std::wstring LastPrintable(const std::wstring& chars) {
  for (auto it = chars.rbegin(); it != chars.rend(); ++it) {
    if (!IsBlankOrControl(*it)) return std::wstring(1, *it);
  }
  return {};
}

std::wstring RemapChar(wchar_t c, const KeyCodeMap& keyMap, LayoutHandle from, LayoutHandle to,
                       LayoutCharService& chars) {
  const int scan = chars.KeyScan(c, from);
  const int oldCode = scan & 0xFF;
  if (scan == kNoKeyForChar || oldCode == 0xFF || oldCode == 0) return std::wstring(1, c);
  const int shiftState = (scan >> 8) & 0xFF;
  KeyStateBytes state{};
  state[kVkShift] = (shiftState & kScanShift) ? kStateDown : 0;
  state[kVkControl] = (shiftState & kScanCtrl) ? kStateDown : 0;
  state[kVkMenu] = (shiftState & kScanAlt) ? kStateDown : 0;
  const std::uint8_t newCode = keyMap[static_cast<std::size_t>(oldCode)];
  const KeyChars typed = chars.KeyCharacters(newCode ? newCode : static_cast<unsigned>(oldCode), state, to);
  std::wstring result;
  if (typed.count == 1 && !typed.chars.empty()) {
    result = typed.chars.substr(0, 1);
  } else if (typed.count >= 2 || typed.count < 0) {
    result = LastPrintable(typed.chars);
  }
  // A key without a character in the new layout must not lose the user's one.
  return result.empty() ? std::wstring(1, c) : result;
}

}  // namespace

std::wstring RemapLayoutChars(std::wstring_view text, const KeyCodeMap& keyMap, LayoutHandle from, LayoutHandle to,
                              LayoutCharService& chars) {
  std::wstring result;
  result.reserve(text.size());
  for (const wchar_t c : text) result += RemapChar(c, keyMap, from, to, chars);
  return result;
}

}  // namespace snibbet
