#pragma once
// A timer like the class library's: interval, enabled, a callback. It runs on
// the thread's message loop (a thread timer, no window needed), so forms and
// window-less modules alike can own one. Off until enabled.
#include <windows.h>

#include <functional>
#include <string>

#include "ui/component.h"

namespace ui {

class Timer : public Component {
 public:
  Timer(Form* owner, std::wstring name, UINT intervalMs, std::function<void()> onTimer = {});
  explicit Timer(UINT intervalMs, std::function<void()> onTimer = {})
      : Timer(nullptr, std::wstring(), intervalMs, std::move(onTimer)) {}
  ~Timer() override;

  void SetOnTimer(std::function<void()> onTimer) { onTimer_ = std::move(onTimer); }
  bool Enabled() const { return id_ != 0; }
  void SetEnabled(bool enabled);
  void Start() { SetEnabled(true); }
  void Stop() { SetEnabled(false); }
  UINT Interval() const { return interval_; }
  void SetInterval(UINT intervalMs);  // restarts the count when enabled
  UINT_PTR Id() const { return id_; }  // the system's timer id while enabled

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD);

  UINT interval_;
  UINT_PTR id_ = 0;
  std::function<void()> onTimer_;
};

}  // namespace ui
