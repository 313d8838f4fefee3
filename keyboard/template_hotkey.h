#pragma once
// The template hotkey of the settings as the one binding of the list. The
// settings object's setter is to do this when the value changes; until it
// does, start-up calls this once after the settings are loaded. Window-free.
#include <cstdint>

namespace snibbet {

class TQvActions;

// Clears `actions` and binds kind 8, parameter 1 (show the template pop-up)
// to the key in the low byte and the modifier set in the high byte of
// `setting`. A setting without a key and modifiers leaves the list empty.
void BindTemplateHotkeyFromSetting(TQvActions& actions, std::int32_t setting);

}  // namespace snibbet
