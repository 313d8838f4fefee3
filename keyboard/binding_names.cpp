#include "keyboard/binding_names.h"

#include "core/key_names.h"
#include "core/control_set.h"
#include "keyboard/key_model.h"

namespace snibbet {

std::wstring DefaultKeyName(int vk) {
  const std::string_view name = VirtualKeyName(vk);
  std::wstring wide(name.begin(), name.end());  // the table is plain ASCII
  if (vk == kVkRightShift || vk == kVkRightCtrl) wide.insert(0, L"R");
  return wide;
}

std::wstring BindingKeyName(const TQvKeyboard* model, int vk) {
  return model ? model->KeyName(vk) : DefaultKeyName(vk);
}

std::wstring LayoutLanguageName(const TQvKeyboard* model, std::uint16_t languageId) {
  return model ? model->LayoutService().LanguageName(languageId) : std::wstring();
}

}  // namespace snibbet
