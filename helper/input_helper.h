#pragma once
// The helper's behaviour without any window or hook: the main program's
// commands, the hook switch, the key block and the mouse relay.
#include <string_view>

#include "helper/helper_ports.h"
#include "helper/key_blocker.h"
#include "helper/mouse_relay.h"

namespace snibbet::helper {

class InputHelper {
 public:
  InputHelper(const Clock& clock, KeyInjector& injector, HookInstaller& hooks, MainWindowPort& mainWindow,
              Timer& timer);

  // Carries out one of the main program's commands (helper_protocol.h);
  // false when `message` is none of them.
  bool OnCommand(unsigned message);

  void InstallHooks();
  // Ends a running block with its held-back keys replayed, then removes the hooks.
  void RemoveHooks();

  Verdict OnKey(const KeyEvent& event) { return blocker_.OnKey(event); }
  Verdict OnMouse(const MouseEvent& event) { return relay_.OnMouse(event); }
  void OnTimer() { blocker_.OnTimer(); }

  const KeyBlocker& Blocker() const { return blocker_; }
  const MouseRelay& Relay() const { return relay_; }

 private:
  HookInstaller& hooks_;
  KeyBlocker blocker_;
  MouseRelay relay_;
};

// The text of the box that tells the user about a hook failure.
std::wstring_view HookFailureText(HookFailure failure);
inline constexpr wchar_t kHookFailureCaption[] = L"SnibbetCm";

}  // namespace snibbet::helper
