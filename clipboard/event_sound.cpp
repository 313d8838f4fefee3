#include "clipboard/event_sound.h"

namespace snibbet {

void PlayEventSound(int, bool) {}

}  // namespace snibbet
