#pragma once
// The flag picture of a language in the tray's image list.
#include <cstdint>

namespace snibbet {

// Index of the flag picture for a language number (the tray's layout-to-flag
// look-up on the language id).
uint8_t LanguageFlagIndex(int32_t langId);

}  // namespace snibbet
