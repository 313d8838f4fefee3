#pragma once
// Fakes of the helper's system ports. They write what happens to one shared
// log so tests can check the order across ports.
#include <functional>
#include <string>
#include <vector>

#include "helper/helper_ports.h"

namespace snibbet::helper::testing {

using Log = std::vector<std::string>;

struct FakeClock final : Clock {
  Tick now = 100000;
  Tick Now() const override { return now; }
};

struct FakeInjector final : KeyInjector {
  explicit FakeInjector(Log& log) : log(log) {}
  void SendKeyRelease(int vk, bool extended) override {
    log.push_back("release " + std::to_string(vk) + (extended ? " ext" : ""));
    if (onSend) onSend(vk);
  }
  // One entry per call: "keys +65 -65 +39x" (+ press, - release, x extended).
  void SendKeys(std::span<const KeyStroke> keys) override {
    std::string entry = "keys";
    for (const KeyStroke& key : keys) {
      entry += (key.release ? " -" : " +") + std::to_string(key.vk) + (key.extended ? "x" : "");
    }
    log.push_back(entry);
    for (const KeyStroke& key : keys) {
      if (onSend) onSend(static_cast<int>(key.vk));
    }
  }
  void Pause(unsigned ms) override { log.push_back("pause " + std::to_string(ms)); }
  Log& log;
  std::function<void(int)> onSend;  // runs inside the send, like nested hook calls do
};

struct FakeTimer final : Timer {
  void Start(unsigned ms) override {
    running = true;
    intervalMs = ms;
  }
  void Stop() override { running = false; }
  bool running = false;
  unsigned intervalMs = 0;
};

struct FakeHooks final : HookInstaller {
  explicit FakeHooks(Log& log) : log(log) {}
  static const char* Name(HookKind kind) { return kind == HookKind::Keyboard ? "keyboard" : "mouse"; }
  bool IsInstalled(HookKind kind) const override { return installed[Index(kind)]; }
  bool Install(HookKind kind) override {
    log.push_back(std::string("install ") + Name(kind));
    installed[Index(kind)] = !failInstall[Index(kind)];
    return installed[Index(kind)];
  }
  bool Remove(HookKind kind) override {
    log.push_back(std::string("remove ") + Name(kind));
    installed[Index(kind)] = false;
    return !failRemove[Index(kind)];
  }
  void ReportFailure(HookFailure failure) override { failures.push_back(failure); }
  static int Index(HookKind kind) { return kind == HookKind::Keyboard ? 0 : 1; }

  Log& log;
  bool installed[2] = {false, false};
  bool failInstall[2] = {false, false};
  bool failRemove[2] = {false, false};
  std::vector<HookFailure> failures;
};

struct FakeMainWindow final : MainWindowPort {
  struct Posted {
    WindowRef window;
    unsigned message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
  };
  WindowRef FindMainWindow() override {
    ++lookups;
    return window;
  }
  // A window is gone once `window` no longer names it.
  bool WindowExists(WindowRef w) override { return w != 0 && w == window; }
  WindowRef OwnerOf(WindowRef w) override { return w == window ? owner : 0; }
  void Post(WindowRef w, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override {
    posted.push_back({w, message, wParam, lParam});
  }
  WindowRef window = 0x1000;
  WindowRef owner = 0x2000;
  int lookups = 0;
  std::vector<Posted> posted;
};

}  // namespace snibbet::helper::testing
