#pragma once
// Holds back the user's physical key events while the main program types.
#include <array>
#include <cstdint>

#include "helper/helper_ports.h"

namespace snibbet::helper {

struct KeyEvent {
  std::uint32_t vk = 0;
  bool release = false;   // key-up or system key-up
  bool extended = false;  // the extended-key flag
  bool injected = false;  // synthetic (SendInput), not from a device
};

enum class Verdict { Pass, Swallow };

// While blocking, physical key events are swallowed and injected ones pass.
// Releases swallowed meanwhile are noted and replayed when the block ends,
// because their presses passed before it: dropping them would leave keys held.
// A block with no injected key for kSafetyTimeoutMs ends at the next physical
// key, so a main program that stopped responding cannot leave the keyboard dead.
class KeyBlocker {
 public:
  static constexpr Tick kSafetyTimeoutMs = 10000;
  static constexpr unsigned kReplayPauseMs = 10;
  enum class Mark : std::uint8_t { None = 0, Plain = 1, Extended = 2 };

  KeyBlocker(const Clock& clock, KeyInjector& injector);

  void Start();
  // Blocking off, then the noted releases replayed in ascending key order.
  void Stop();
  void ForgetReleases();
  Verdict OnKey(const KeyEvent& event);

  bool Blocking() const { return blocking_; }
  Mark NotedRelease(std::uint32_t vk) const;

 private:
  static bool IsKeyCode(std::uint32_t vk) { return vk >= 1 && vk <= 255; }
  void ReplayReleases();

  const Clock& clock_;
  KeyInjector& injector_;
  bool blocking_ = false;
  Tick blockStart_ = 0;
  std::array<Mark, 256> released_{};  // by key code 1..255; entry 0 unused
};

}  // namespace snibbet::helper
