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
// When the block ends the swallowed keys are typed again, nothing lost and
// nothing twice, in the order they happened: the releases of keys that were
// down before the block (their presses passed before it) among the keys
// pressed during it, each such release alone and followed by kReplayPauseMs,
// the keys between them in one go.
// Auto-repeats are not kept: the down-state of every key is tracked from all
// physical events, blocking or not, and only a press of a key that was up
// counts. At most kQueueLimit events are kept; beyond that the oldest press
// goes, its release with it, so a release is never typed without its press.
//
// Until the last held-back key is typed again, new physical keys are held back
// too and typed after it; a block that starts meanwhile keeps the rest for its
// own end, so no user key lands between the main program's own keys.
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
  // Blocking off, then the held-back keys typed again.
  void Stop();
  // Everything known about keys: a newly installed hook has seen none of them.
  void ForgetKeys();
  Verdict OnKey(const KeyEvent& event);
  // The main-window check of a running block.
  void OnTimer();

  // A block is on, or its held-back keys are still being typed again.
  bool Blocking() const { return blocking_ || replaying_; }
  // The held-back release of a key that was down before the block.
  Mark NotedRelease(std::uint32_t vk) const;

 private:
  // Where the press of a key that is down now went during the block.
  enum class Press : std::uint8_t { Passed = 0, Queued, Dropped };
  struct HeldKey {
    KeyStroke key;
    bool pressedBefore = false;  // a release whose press passed before the block
  };

  static bool IsKeyCode(std::uint32_t vk) { return vk >= 1 && vk <= 255; }
  void HoldBack(const KeyEvent& event, bool wasDown);
  void Enqueue(const HeldKey& held);
  void DropOldestPress();
  bool MainWindowGone();
  void ReplayHeldKeys();
  void TypeNextHeldKeys();

  const Clock& clock_;
  KeyInjector& injector_;
  MainWindowPort& mainWindow_;
  Timer& timer_;
  bool blocking_ = false;
  bool replaying_ = false;  // our sends are under way further up this thread's stack
  Tick blockStart_ = 0;
  WindowRef main_ = 0;              // 0: none found at the start, only the time-out applies
  std::array<bool, 256> down_{};    // physically held, by key code 1..255; entry 0 unused
  std::array<Press, 256> press_{};  // for keys down now, by key code
  std::vector<HeldKey> queue_;      // held back, in the order they happened
};

}  // namespace snibbet::helper
