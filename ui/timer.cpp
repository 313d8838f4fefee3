#include "ui/timer.h"

#include <algorithm>
#include <vector>

#include "ui/exceptions.h"

namespace ui {
namespace {
// Running timers by id. Few timers run at once, so a linear search beats a map.
std::vector<Timer*> g_running;
}  // namespace

Timer::Timer(Form* owner, std::wstring name, UINT intervalMs, std::function<void()> onTimer)
    : Component(owner, std::move(name)), interval_(intervalMs), onTimer_(std::move(onTimer)) {}

Timer::~Timer() { SetEnabled(false); }

void Timer::SetEnabled(bool enabled) {
  if (enabled == Enabled()) return;
  if (enabled) {
    id_ = SetTimer(nullptr, 0, interval_, &Timer::Tick);
    if (id_) g_running.push_back(this);
  } else {
    KillTimer(nullptr, id_);
    g_running.erase(std::remove(g_running.begin(), g_running.end(), this), g_running.end());
    id_ = 0;
  }
}

void Timer::SetInterval(UINT intervalMs) {
  interval_ = intervalMs;
  if (Enabled()) {
    SetEnabled(false);
    SetEnabled(true);
  }
}

void CALLBACK Timer::Tick(HWND, UINT, UINT_PTR id, DWORD) {
  for (Timer* timer : g_running) {
    if (timer->id_ == id) {
      // A callback may stop or restart its own timer; it must not destroy it
      // (free forms with Release(), which waits for the loop).
      if (timer->onTimer_) Guarded([timer] { timer->onTimer_(); });
      return;
    }
  }
}

}  // namespace ui
