#include "keyboard/template_hotkey.h"

#include "keyboard/action_executor.h"
#include "keyboard/actions.h"

namespace snibbet {

void BindTemplateHotkeyFromSetting(TQvActions& actions, std::int32_t setting) {
  actions.Clear();
  const auto key = static_cast<std::uint8_t>(setting & 0xFF);
  const auto set = static_cast<ControlSet>((setting >> 8) & 0xFF);
  if (TQvAction* binding = actions.Add(key, set)) {
    binding->SetKind(kKindProgram);
    binding->SetParam(kProgramShowTemplates);
  }
}

}  // namespace snibbet
