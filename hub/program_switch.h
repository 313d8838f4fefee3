#pragma once
// Switches the program between active (hook library bound, own keyboard hook,
// key-state model and clipboard monitor running, foreground poll on) and
// inactive, in a fixed order of steps; the tray shows the state. Its end ends
// the input helper.
#include <windows.h>

#include <string>

#include "hub/hook_library.h"

namespace snibbet {

class ForegroundWatch;
class ProgramTray;
class TQvClipboardMonitor;

class ProgramSwitch {
 public:
  // `hookLibrary` is loaded by name. The tray is only reached from Start and
  // Stop, so it may be made after the switch.
  ProgramSwitch(std::wstring hookLibrary, ProgramTray& tray, ForegroundWatch& watch);
  // Ends the input helper (WM_DESTROY, if it is still the helper).
  ~ProgramSwitch();
  ProgramSwitch(const ProgramSwitch&) = delete;
  ProgramSwitch& operator=(const ProgramSwitch&) = delete;

  // Switches on: binds the hook library and starts the own keyboard hook and
  // the clipboard monitor. False, with its message shown, when that fails or
  // when already active.
  bool Start();
  // Switches off; false when not active or when the library lacks "UnHook"
  // (then the program stays active).
  bool Stop();
  bool SetActive(bool value);
  bool Active() const { return active_; }

  const HookLibrary& HookLib() const { return hookLibrary_; }
  // The monitor that runs while the program is on; none until connected, and
  // disconnected before it goes.
  void ConnectClipboardMonitor(TQvClipboardMonitor* monitor) { monitor_ = monitor; }

 private:
  // Steps of Start and Stop, in the order they run.
  void InstallKeyboardHook();  // the own hook; it also tells SnibbetCm (1206)
  void RemoveKeyboardHook();   // likewise (1207)
  void ApplyForegroundLayout();  // the foreground thread's keyboard layout
  void SetKeyStateModelActive(bool active);
  void RegisterClipboardMonitor();  // and the present content handled as a change
  void UnregisterClipboardMonitor();

  HookLibrary hookLibrary_;
  ProgramTray& tray_;
  ForegroundWatch& watch_;
  TQvClipboardMonitor* monitor_ = nullptr;
  bool active_ = false;
};

}  // namespace snibbet
