#include "core/foreground_state.h"

#include "core/input_helper_search.h"

namespace snibbet {

void ForegroundState::TouchActivityTick() {
  const std::uint32_t now = GetTickCount();
  if (ActivityTickDue(now, lastActivityTick_)) lastActivityTick_ = now;
}

ForegroundState& Foreground() {
  static ForegroundState state;
  return state;
}

}  // namespace snibbet
