#pragma once
// Holds back the user's physical key events while the main program types.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "helper/helper_ports.h"

namespace snibbet::helper {

struct KeyEvent {
  std::uint32_t vk = 0;
  bool release = false;          // key-up or system key-up
  bool extended = false;         // the extended-key flag
  bool injected = false;         // synthetic (SendInput), not from a device
  std::uintptr_t extraInfo = 0;  // dwExtraInfo: tells the two programs' own events apart
};

enum class Verdict { Pass, Swallow };

// While blocking, physical key events are swallowed and injected ones pass.
// When the block ends the swallowed keys are typed again, nothing lost:
// first the releases of keys that were down before the block (their presses
// passed before it; ascending key order, kReplayPauseMs apart), then the keys
// pressed during the block with their releases, in the order typed, in one go.
// Auto-repeats are not kept: the down-state of every key is tracked from all
// physical events, blocking or not, and only a press of a key that was up
// counts. At most kQueueLimit events are kept; beyond that the oldest press
// goes, its release with it, so a release is never typed without its press.
//
// Only the main program's own typing (kSnibbetInputMarker) keeps a block
// alive: after kSafetyTimeoutMs without it the next physical key ends the
// block and is typed last. The block also ends as soon as the main program's
// hidden window, looked up at the start, is gone (checked every
// kMainWindowCheckMs and at every swallowed key): a main program that stopped
// responding or died cannot leave the keyboard dead.
class KeyBlocker {
 public:
  static constexpr Tick kSafetyTimeoutMs = 10000;
  static constexpr unsigned kReplayPauseMs = 10;
  static constexpr unsigned kMainWindowCheckMs = 50;
  static constexpr std::size_t kQueueLimit = 256;
  enum class Mark : std::uint8_t { None = 0, Plain = 1, Extended = 2 };

  KeyBlocker(const Clock& clock, KeyInjector& injector, MainWindowPort& mainWindow, Timer& timer);

  void Start();
  // The held-back keys typed again, then blocking off.
  void Stop();
  // Everything known about keys: a newly installed hook has seen none of them.
  void ForgetKeys();
  Verdict OnKey(const KeyEvent& event);
  // The main-window check of a running block.
  void OnTimer();

  bool Blocking() const { return blocking_; }
  Mark NotedRelease(std::uint32_t vk) const;

 private:
  // Where the press of a key that is down now went during the block.
  enum class Press : std::uint8_t { Passed = 0, Queued, Dropped };

  static bool IsKeyCode(std::uint32_t vk) { return vk >= 1 && vk <= 255; }
  void HoldBack(const KeyEvent& event, bool wasDown);
  void Enqueue(const KeyEvent& event);
  void DropOldestPress();
  bool MainWindowGone();
  void ReplayReleases();

  const Clock& clock_;
  KeyInjector& injector_;
  MainWindowPort& mainWindow_;
  Timer& timer_;
  bool blocking_ = false;
  unsigned blockCount_ = 0;  // blocks started so far
  Tick blockStart_ = 0;
  WindowRef main_ = 0;                // 0: none found at the start, only the time-out applies
  std::array<Mark, 256> released_{};  // by key code 1..255; entry 0 unused
  std::array<bool, 256> down_{};      // physically held, by key code
  std::array<Press, 256> press_{};    // for keys down now, by key code
  std::vector<KeyStroke> queue_;      // pressed during the block, in order
};

}  // namespace snibbet::helper
