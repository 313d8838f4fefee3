#include "core/control_set.h"

#include <array>
#include <utility>

namespace snibbet {

std::wstring ShortcutToText(std::uint8_t key, ControlSet set, const std::function<std::wstring(int vk)>& keyName,
                            const std::wstring& noText) {
  static constexpr std::array<std::pair<ControlSet, int>, 8> kOrder = {{
      {kLeftWinBit, kVkLeftWin},
      {kRightWinBit, kVkRightWin},
      {kLeftCtrlBit, kVkLeftCtrl},
      {kRightCtrlBit, kVkRightCtrl},
      {kLeftAltBit, kVkLeftAlt},
      {kRightAltBit, kVkRightAlt},
      {kLeftShiftBit, kVkLeftShift},
      {kRightShiftBit, kVkRightShift},
  }};
  std::wstring text;
  for (const auto& [bit, vk] : kOrder) {
    if (set & bit) text += keyName(vk) + L"+";
  }
  if (key != 0) text += keyName(key) + L"+";
  if (text.empty()) return noText;
  text.pop_back();
  return text;
}

}  // namespace snibbet
