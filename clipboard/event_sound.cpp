#include "clipboard/event_sound.h"

#include "core/preset.h"

namespace snibbet {

void PlayEventSound(int slot, bool force) {
  if (const TPreset* preset = PresetOrNull()) preset->PlaySound(slot, force);
}

}  // namespace snibbet
