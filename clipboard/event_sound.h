#pragma once
// The way the clipboard monitor plays its sound: through the settings object,
// which resolves the sound file of each event.

namespace snibbet {

// Plays the sound of `slot`; `force` plays it even with sounds switched off.
// Nothing plays before the settings object exists.
void PlayEventSound(int slot, bool force);

}  // namespace snibbet
