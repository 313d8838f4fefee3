#include "core/lang_flag.h"

namespace snibbet {

uint8_t LanguageFlagIndex(int32_t) { return 0; }

}  // namespace snibbet
