#include "keyboard/action_seams.h"

#include "core/key_names.h"

namespace snibbet {
namespace {

ActionSeams StandIns() {
  ActionSeams s;
  s.languageText = [](int, const std::wstring& fallback) { return fallback; };
  s.keyName = DefaultKeyName;
  s.layoutLanguageName = [](std::uint16_t) { return std::wstring(); };
  s.actionsChanged = [] {};
  s.pictureRemoved = [](std::uint8_t, ControlSet) {};
  s.bindingFreed = [](const TQvAction&) {};
  return s;
}

}  // namespace

ActionSeams& Seams() {
  static ActionSeams seams = StandIns();
  return seams;
}

void ResetSeams() { Seams() = StandIns(); }

std::wstring LanguageText(int number, const std::wstring& fallback) {
  const auto& text = Seams().languageText;
  return text ? text(number, fallback) : fallback;
}

std::wstring DefaultKeyName(int vk) {
  const std::string_view name = VirtualKeyName(vk);
  std::wstring wide(name.begin(), name.end());  // the table is plain ASCII
  if (vk == kVkRightShift || vk == kVkRightCtrl) wide.insert(0, L"R");
  return wide;
}

}  // namespace snibbet
