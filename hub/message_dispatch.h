#pragma once
// The hub's application events: every queued message of the thread passes
// here first (the hook library's layout and activation reports, the input
// helper's clicks and wheel turns, a second start, F1), and the system's
// deactivation, setting change and end of the session.
#include <windows.h>

#include "ui/application.h"

namespace snibbet {

class DataModuleParts;
class ForegroundWatch;
class KeyboardLook;
class ProgramTray;
class TPreset;
class TQvClipboardMonitor;
class TrayPort;

// Posted by a second start of the program to the running one's main form.
inline constexpr UINT kSecondInstanceMessage = 1215;

class MessageDispatch : public ui::ApplicationEvents {
 public:
  // The caption setting is given again on a system setting change; no
  // settings: nothing is given.
  MessageDispatch(DataModuleParts& parts, ForegroundWatch& watch, ProgramTray& tray, TrayPort& port,
                  KeyboardLook& keyboardLook, TPreset* settings);
  MessageDispatch(const MessageDispatch&) = delete;
  MessageDispatch& operator=(const MessageDispatch&) = delete;

  // Only F1 is marked handled; every other message is dispatched as usual
  // afterwards.
  bool OnMessage(MSG& msg) override;
  // The program lost activation: an open hotkey capture dialog closes.
  void OnDeactivate() override;
  // The monitor whose watchdog a new window in front restarts; none until
  // connected, and disconnected before it goes.
  void ConnectClipboardMonitor(TQvClipboardMonitor* monitor) { monitor_ = monitor; }
  void OnSettingChange(WPARAM flag, LPARAM section) override;
  // The session ends: the open windows are asked as by the tray's Exit.
  bool OnQueryEndSession() override;
  void aeMainMessage(const MSG& msg);
  void aeMainSettingChange();
  // SnibbetCm saw a mouse button go down (1187).
  void HelperMouseDown(const MSG& msg);

 private:
  DataModuleParts& parts_;
  ForegroundWatch& watch_;
  ProgramTray& tray_;
  TrayPort& port_;
  KeyboardLook& keyboardLook_;
  TPreset* settings_;
  TQvClipboardMonitor* monitor_ = nullptr;
};

}  // namespace snibbet
