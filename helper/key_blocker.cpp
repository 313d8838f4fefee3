#include "helper/key_blocker.h"

#include <algorithm>

#include "helper/helper_protocol.h"

namespace snibbet::helper {

KeyBlocker::KeyBlocker(const Clock& clock, KeyInjector& injector, MainWindowPort& mainWindow, Timer& timer)
    : clock_(clock), injector_(injector), mainWindow_(mainWindow), timer_(timer) {}

void KeyBlocker::Start() {
  blocking_ = true;
  ++blockCount_;
  blockStart_ = clock_.Now();
  main_ = mainWindow_.FindMainWindow();
  if (main_ != 0) timer_.Start(kMainWindowCheckMs);
  else timer_.Stop();  // a repeated start may no longer find the window the first one checks
}

void KeyBlocker::Stop() {
  if (main_ != 0) timer_.Stop();
  main_ = 0;
  // Still blocking while we type the keys again (our replays pass by their
  // marker): a key the user types meanwhile, which nested hook calls deliver
  // during our sends, is held back too and typed after them instead of
  // overtaking the keys typed before it. A block started by a command
  // processed during our sends is the next one; its keys stay for it.
  const unsigned block = blockCount_;
  while (blockCount_ == block) {
    std::vector<KeyStroke> typed;
    typed.swap(queue_);
    const bool releasesNoted = std::any_of(released_.begin(), released_.end(), [](Mark m) { return m != Mark::None; });
    if (typed.empty() && !releasesNoted) break;
    press_.fill(Press::Passed);
    ReplayReleases();
    if (!typed.empty()) injector_.SendKeys(typed);
  }
  if (blockCount_ == block) {
    blocking_ = false;
    press_.fill(Press::Passed);
  }
}

void KeyBlocker::ForgetKeys() {
  released_.fill(Mark::None);
  down_.fill(false);
  press_.fill(Press::Passed);
  queue_.clear();
}

KeyBlocker::Mark KeyBlocker::NotedRelease(std::uint32_t vk) const {
  return IsKeyCode(vk) ? released_[vk] : Mark::None;
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
  if (!blocking_) return Verdict::Pass;
  HoldBack(event, wasDown);
  if (static_cast<Tick>(clock_.Now() - blockStart_) > kSafetyTimeoutMs || MainWindowGone()) Stop();
  return Verdict::Swallow;
}

void KeyBlocker::OnTimer() {
  if (blocking_ && MainWindowGone()) Stop();
}

void KeyBlocker::HoldBack(const KeyEvent& event, bool wasDown) {
  if (!IsKeyCode(event.vk)) return;
  Press& press = press_[event.vk];
  if (!event.release) {
    if (wasDown) return;  // an auto-repeat, or a key held from before the block
    Enqueue(event);
    press = Press::Queued;
    return;
  }
  switch (press) {
    case Press::Queued: Enqueue(event); break;  // unless that drops its own press
    case Press::Dropped: break;
    case Press::Passed: released_[event.vk] = event.extended ? Mark::Extended : Mark::Plain; break;
  }
  press = Press::Passed;
}

void KeyBlocker::Enqueue(const KeyEvent& event) {
  if (queue_.size() >= kQueueLimit) DropOldestPress();
  if (event.release && press_[event.vk] == Press::Dropped) return;
  queue_.push_back({event.vk, event.release, event.extended});
}

void KeyBlocker::DropOldestPress() {
  // A queued release always follows its press, so the front is a press.
  const std::uint32_t vk = queue_.front().vk;
  queue_.erase(queue_.begin());
  const auto release =
      std::find_if(queue_.begin(), queue_.end(), [vk](const KeyStroke& key) { return key.vk == vk && key.release; });
  if (release != queue_.end()) queue_.erase(release);
  else press_[vk] = Press::Dropped;  // its release, still to come, goes too
}

bool KeyBlocker::MainWindowGone() { return main_ != 0 && !mainWindow_.WindowExists(main_); }

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
