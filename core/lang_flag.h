#pragma once
// The flag picture of a language in the tray's image list.
#include <cstdint>

namespace snibbet {

// Index of the flag picture for a language number. The tray module's
// layout-to-flag look-up takes this over; until then every language shows flag 0.
uint8_t LanguageFlagIndex(int32_t langId);

}  // namespace snibbet
