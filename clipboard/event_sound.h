#pragma once
// The way the clipboard monitor plays its sound. The settings object plays
// the program's event sounds; until it does, this stands in for it.

namespace snibbet {

// Plays the sound of `slot`; `force` plays it even with sounds switched off.
// For now it does nothing: the clipboard monitor calls it where the settings
// object's PlaySound(slot, force) belongs.
void PlayEventSound(int slot, bool force);

}  // namespace snibbet
