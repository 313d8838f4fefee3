#pragma once
// Finding the input helper SnibbetCm at start-up, and the activity clock of
// the data module. Window-free: the look, the start and the wait are handed in.
#include <cstdint>
#include <functional>

namespace snibbet {

inline constexpr int kInputHelperLooks = 51;
inline constexpr unsigned kInputHelperLookIntervalMs = 100;

struct InputHelperSearchPorts {
  std::function<bool()> look;             // true once the helper's window is there
  std::function<void()> launch;           // starts the helper program (hidden)
  std::function<bool(unsigned ms)> wait;  // false: the program is ending, stop looking
};

enum class InputHelperSearchResult {
  FoundRunning,  // a helper left running by an earlier run, reused
  FoundStarted,  // started now and found
  NotFound,      // started, but not there after every look
  Abandoned,     // the program began to end while we waited
};

// One look; when the helper is not there it is started, then looked for up to
// kInputHelperLooks times with kInputHelperLookIntervalMs after each miss.
InputHelperSearchResult SearchInputHelper(const InputHelperSearchPorts& ports);

// The last activity time moves only when at least 5 ms have passed since it
// was stored; the tick count wraps after 49.7 days, so the difference is unsigned.
inline constexpr std::uint32_t kActivityTickStepMs = 5;
constexpr bool ActivityTickDue(std::uint32_t now, std::uint32_t last) {
  return static_cast<std::uint32_t>(now - last) >= kActivityTickStepMs;
}

}  // namespace snibbet
