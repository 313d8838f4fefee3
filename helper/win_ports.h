#pragma once
// The helper's system ports over Win32: tick count, SendInput, a window timer,
// the two low-level hooks and the main program's hidden window.
#include <windows.h>

#include "helper/helper_ports.h"
#include "helper/input_helper.h"
#include "ui/handles.h"

namespace snibbet::helper {

class WinClock final : public Clock {
 public:
  Tick Now() const override { return GetTickCount(); }
};

class WinKeyInjector final : public KeyInjector {
 public:
  void SendKeyRelease(int vk, bool extended) override;
  void SendKeys(std::span<const KeyStroke> keys) override;
  void Pause(unsigned ms) override { Sleep(ms); }
};

// WM_TIMER with this id on the helper's window, handed to InputHelper::OnTimer.
inline constexpr UINT_PTR kHelperTimerId = 1;

class WinTimer final : public Timer {
 public:
  explicit WinTimer(HWND window) : window_(window) {}
  void Start(unsigned intervalMs) override { SetTimer(window_, kHelperTimerId, intervalMs, nullptr); }
  void Stop() override { KillTimer(window_, kHelperTimerId); }

 private:
  HWND window_;
};

class WinMainWindowPort final : public MainWindowPort {
 public:
  WindowRef FindMainWindow() override;
  bool WindowExists(WindowRef window) override { return IsWindow(reinterpret_cast<HWND>(window)) != FALSE; }
  WindowRef OwnerOf(WindowRef window) override;
  void Post(WindowRef window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
};

// Low-level hooks for the whole desktop whose procedures hand every event to
// the active InputHelper. Failures are posted to `failureWindow` as
// kShowHookFailureMessage (wParam = HookFailure) and shown from there.
class WinHooks final : public HookInstaller {
 public:
  explicit WinHooks(HWND failureWindow) : failureWindow_(failureWindow) {}
  ~WinHooks() override;
  WinHooks(const WinHooks&) = delete;
  WinHooks& operator=(const WinHooks&) = delete;

  bool IsInstalled(HookKind kind) const override;
  bool Install(HookKind kind) override;
  bool Remove(HookKind kind) override;
  void ReportFailure(HookFailure failure) override;

 private:
  ui::HookHandle& Handle(HookKind kind) { return kind == HookKind::Keyboard ? keyboard_ : mouse_; }

  HWND failureWindow_;
  ui::HookHandle keyboard_;
  ui::HookHandle mouse_;
};

inline constexpr UINT kShowHookFailureMessage = WM_APP + 1;

// The helper the hook and window procedures act on, set for the scope's life.
InputHelper* ActiveHelper();
class ActiveHelperScope {
 public:
  explicit ActiveHelperScope(InputHelper& helper);
  ~ActiveHelperScope();
  ActiveHelperScope(const ActiveHelperScope&) = delete;
  ActiveHelperScope& operator=(const ActiveHelperScope&) = delete;
};

}  // namespace snibbet::helper
