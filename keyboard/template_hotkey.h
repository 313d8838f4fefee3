#pragma once
// The template hotkey of the settings as the one binding of the list: the
// settings object's setter binds it through its effects, and start-up once
// after the settings are loaded (the setter ran before the list was there).
// Window-free.
#include <cstdint>

namespace snibbet {

class TQvAction;
class TQvActions;

// A new binding of the hotkey `value` (the modifier set in the high byte, the
// key in the low byte) to `kind` and `param`; null for 0 or when the list
// takes none.
TQvAction* BindShortCut(TQvActions& actions, std::int32_t value, std::uint8_t kind, std::uint8_t param);

// Clears `actions` and binds the template hotkey `setting` to showing the
// template pop-up. A setting of 0 leaves the list empty.
void BindTemplateHotkeyFromSetting(TQvActions& actions, std::int32_t setting);

}  // namespace snibbet
