#include "keyboard/template_hotkey.h"

#include "core/shortcut.h"
#include "keyboard/action_executor.h"
#include "keyboard/actions.h"

namespace snibbet {

TQvAction* BindShortCut(TQvActions& actions, std::int32_t value, std::uint8_t kind, std::uint8_t param) {
  if (value == 0) return nullptr;
  const ShortCutKeys keys = SplitShortCut(value);
  TQvAction* binding = actions.Add(keys.key, static_cast<ControlSet>(keys.controlSet));
  if (!binding) return nullptr;
  binding->SetKind(kind);
  binding->SetParam(param);
  return binding;
}

void BindTemplateHotkeyFromSetting(TQvActions& actions, std::int32_t setting) {
  // Every binding goes, whatever its origin: the hotkey is the only one.
  actions.Clear();
  BindShortCut(actions, setting, kKindProgram, kProgramShowTemplates);
}

}  // namespace snibbet
