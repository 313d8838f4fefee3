#include "core/lang_flag.h"

#include "core/tray_lookups.h"

namespace snibbet {

uint8_t LanguageFlagIndex(int32_t langId) {
  return static_cast<uint8_t>(LayoutToFlagIndex(static_cast<std::uintptr_t>(static_cast<uint32_t>(langId))));
}

}  // namespace snibbet
