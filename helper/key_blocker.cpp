#include "helper/key_blocker.h"

#include <algorithm>

#include "helper/helper_protocol.h"

namespace snibbet::helper {

KeyBlocker::KeyBlocker(const Clock& clock, KeyInjector& injector, MainWindowPort& mainWindow, Timer& timer)
    : clock_(clock), injector_(injector), mainWindow_(mainWindow), timer_(timer) {}

void KeyBlocker::Start() {
  blocking_ = true;
  blockStart_ = clock_.Now();
  main_ = mainWindow_.FindMainWindow();
  if (main_ != 0) timer_.Start(kMainWindowCheckMs);
  else timer_.Stop();  // a repeated start may no longer find the window the first one checks
}

void KeyBlocker::Stop() {
  blocking_ = false;
  if (main_ != 0) timer_.Stop();
  main_ = 0;
  // Reached from inside our own sends (a command or a time-out taken while
  // they run): the replay under way types the rest. Typed from here too, the
  // keys it has taken out would come after ones typed later, or twice.
  if (replaying_) return;
  ReplayHeldKeys();
}

void KeyBlocker::ReplayHeldKeys() {
  // Physical keys that nested hook calls deliver during our sends are held
  // back too and typed after ours. A block started meanwhile keeps the rest
  // for its own end: the main program types as soon as it has started.
  replaying_ = true;
  while (!blocking_ && !queue_.empty()) TypeNextHeldKeys();
  replaying_ = false;
}

void KeyBlocker::TypeNextHeldKeys() {
  // Each key leaves the queue before it is sent, so whatever runs nested in
  // the send finds only the keys still to come.
  if (queue_.front().pressedBefore) {
    const KeyStroke key = queue_.front().key;
    queue_.erase(queue_.begin());
    injector_.SendKeyRelease(static_cast<int>(key.vk), key.extended);
    injector_.Pause(kReplayPauseMs);
    return;
  }
  const auto end = std::find_if(queue_.begin(), queue_.end(), [](const HeldKey& held) { return held.pressedBefore; });
  std::vector<KeyStroke> keys;
  for (auto it = queue_.begin(); it != end; ++it) keys.push_back(it->key);
  queue_.erase(queue_.begin(), end);
  // A key typed down now and released later: its release is one of a key
  // that was down before, unless a later press of it still waits.
  for (const KeyStroke& key : keys) {
    if (key.release || press_[key.vk] != Press::Queued) continue;
    const bool laterPress = std::any_of(queue_.begin(), queue_.end(), [&key](const HeldKey& held) {
      return held.key.vk == key.vk && !held.key.release;
    });
    if (!laterPress) press_[key.vk] = Press::Passed;
  }
  injector_.SendKeys(keys);
}

void KeyBlocker::ForgetKeys() {
  down_.fill(false);
  press_.fill(Press::Passed);
  queue_.clear();
}

KeyBlocker::Mark KeyBlocker::NotedRelease(std::uint32_t vk) const {
  const auto held = std::find_if(queue_.begin(), queue_.end(), [vk](const HeldKey& h) {
    return h.pressedBefore && h.key.vk == vk;
  });
  if (held == queue_.end()) return Mark::None;
  return held->key.extended ? Mark::Extended : Mark::Plain;
}

Verdict KeyBlocker::OnKey(const KeyEvent& event) {
  if (event.extraInfo == kSnibbetInputMarker) {
    // Only the main program's own typing keeps the block alive.
    if (blocking_) blockStart_ = clock_.Now();
    return Verdict::Pass;
  }
  if (event.extraInfo == kHelperReplayMarker || event.injected) return Verdict::Pass;

  bool wasDown = false;
  if (IsKeyCode(event.vk)) {
    wasDown = down_[event.vk];
    down_[event.vk] = !event.release;
  }
  if (!Blocking()) return Verdict::Pass;
  HoldBack(event, wasDown);
  if (blocking_ && (static_cast<Tick>(clock_.Now() - blockStart_) > kSafetyTimeoutMs || MainWindowGone())) Stop();
  return Verdict::Swallow;
}

void KeyBlocker::OnTimer() {
  if (blocking_ && MainWindowGone()) Stop();
}

void KeyBlocker::HoldBack(const KeyEvent& event, bool wasDown) {
  if (!IsKeyCode(event.vk)) return;
  const KeyStroke key{event.vk, event.release, event.extended};
  Press& press = press_[event.vk];
  if (!event.release) {
    if (wasDown) return;  // an auto-repeat, or a key held from before the block
    Enqueue({key, false});
    press = Press::Queued;
    return;
  }
  switch (press) {
    case Press::Queued: Enqueue({key, false}); break;  // unless that drops its own press
    case Press::Dropped: break;
    case Press::Passed: {
      // Released twice without a press between: the later release decides the flag.
      const auto noted = std::find_if(queue_.begin(), queue_.end(), [&key](const HeldKey& held) {
        return held.pressedBefore && held.key.vk == key.vk;
      });
      if (noted != queue_.end()) noted->key.extended = key.extended;
      else Enqueue({key, true});
      break;
    }
  }
  press = Press::Passed;
}

void KeyBlocker::Enqueue(const HeldKey& held) {
  if (queue_.size() >= kQueueLimit) DropOldestPress();
  if (held.key.release && !held.pressedBefore && press_[held.key.vk] == Press::Dropped) return;
  queue_.push_back(held);
}

void KeyBlocker::DropOldestPress() {
  // The releases of keys down before the block are never dropped: those keys
  // would stay down. There are at most 255 of them, so a press is there.
  const auto press = std::find_if(queue_.begin(), queue_.end(), [](const HeldKey& held) { return !held.key.release; });
  if (press == queue_.end()) return;
  const std::uint32_t vk = press->key.vk;
  const auto next = queue_.erase(press);
  const auto release = std::find_if(next, queue_.end(), [vk](const HeldKey& held) {
    return held.key.vk == vk && held.key.release;
  });
  if (release != queue_.end()) queue_.erase(release);
  else press_[vk] = Press::Dropped;  // its release, still to come, goes too
}

bool KeyBlocker::MainWindowGone() { return main_ != 0 && !mainWindow_.WindowExists(main_); }

}  // namespace snibbet::helper
