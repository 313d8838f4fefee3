#include "helper/key_blocker.h"

namespace snibbet::helper {

KeyBlocker::KeyBlocker(const Clock& clock, KeyInjector& injector) : clock_(clock), injector_(injector) {}

void KeyBlocker::Start() {
  blocking_ = true;
  blockStart_ = clock_.Now();
}

void KeyBlocker::Stop() {
  blocking_ = false;  // first, so our own hook lets the replay through
  ReplayReleases();
}

void KeyBlocker::ForgetReleases() { released_.fill(Mark::None); }

KeyBlocker::Mark KeyBlocker::NotedRelease(std::uint32_t vk) const {
  return IsKeyCode(vk) ? released_[vk] : Mark::None;
}

Verdict KeyBlocker::OnKey(const KeyEvent& event) {
  if (!blocking_) return Verdict::Pass;
  if (event.injected) {
    // The main program's own typing keeps the block alive.
    blockStart_ = clock_.Now();
    return Verdict::Pass;
  }
  if (event.release && IsKeyCode(event.vk)) released_[event.vk] = event.extended ? Mark::Extended : Mark::Plain;
  if (static_cast<Tick>(clock_.Now() - blockStart_) > kSafetyTimeoutMs) Stop();
  return Verdict::Swallow;
}

void KeyBlocker::ReplayReleases() {
  for (std::uint32_t vk = 1; vk <= 255; ++vk) {
    const Mark mark = released_[vk];
    if (mark == Mark::None) continue;
    // Cleared before sending: sending may run nested hook calls that note the key anew.
    released_[vk] = Mark::None;
    injector_.SendKeyRelease(static_cast<int>(vk), mark == Mark::Extended);
    injector_.Pause(kReplayPauseMs);
  }
}

}  // namespace snibbet::helper
