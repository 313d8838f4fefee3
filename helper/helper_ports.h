#pragma once
// What the helper's window-free logic needs from the system. The program
// implements these over Win32; tests implement them with fakes.
#include <cstdint>
#include <span>

namespace snibbet::helper {

using Tick = std::uint32_t;          // milliseconds, wraps like the system tick count
using WindowRef = std::uintptr_t;    // a window handle; 0 for none

class Clock {
 public:
  virtual ~Clock() = default;
  virtual Tick Now() const = 0;
};

// One key event to type.
struct KeyStroke {
  std::uint32_t vk = 0;
  bool release = false;
  bool extended = false;
};

// Types the user's held-back keys again. Every event it types carries
// kHelperReplayMarker, so both hooks know it for the user's own key.
class KeyInjector {
 public:
  virtual ~KeyInjector() = default;
  virtual void SendKeyRelease(int vk, bool extended) = 0;
  // All in one go, so that nothing typed meanwhile lands between them.
  virtual void SendKeys(std::span<const KeyStroke> keys) = 0;
  virtual void Pause(unsigned ms) = 0;
};

// A repeating timer of the helper's thread; its ticks reach
// InputHelper::OnTimer from the message loop.
class Timer {
 public:
  virtual ~Timer() = default;
  // Restarts it when it runs already.
  virtual void Start(unsigned intervalMs) = 0;
  virtual void Stop() = 0;
};

enum class HookKind { Keyboard, Mouse };
enum class HookFailure { KeyboardInstall, MouseInstall, KeyboardRemove, MouseRemove };

class HookInstaller {
 public:
  virtual ~HookInstaller() = default;
  virtual bool IsInstalled(HookKind kind) const = 0;
  // False when installation failed; the hook then stays not installed.
  virtual bool Install(HookKind kind) = 0;
  // False when removal failed; the hook counts as not installed either way.
  virtual bool Remove(HookKind kind) = 0;
  // Tells the user later, never inside the call: the caller may be answering a
  // message the main program waits on.
  virtual void ReportFailure(HookFailure failure) = 0;
};

// The main program's hidden window, which receives the mouse relays and
// whose end tells that the main program is gone.
class MainWindowPort {
 public:
  virtual ~MainWindowPort() = default;
  virtual WindowRef FindMainWindow() = 0;
  virtual bool WindowExists(WindowRef window) = 0;
  virtual WindowRef OwnerOf(WindowRef window) = 0;
  virtual void Post(WindowRef window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
};

}  // namespace snibbet::helper
