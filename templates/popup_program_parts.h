#pragma once
// The running program's parts that the pop-up reads and its paste works with,
// handed in by the composition root. A pop-up without the keyboard runtime
// (in a test) takes the system's keys, finds no typed word and brackets no
// typing; without the settings their defaults hold and it writes back no
// placement; without the settings store it reads none either.
#include "keyboard/keyboard_runtime.h"

namespace snibbet {

class ClipboardMonitorRecord;
class ForegroundState;
class TAppIni;
class TPreset;

struct PopupProgramParts {
  KeyboardRuntime* keyboard = nullptr;  // the key-state model, the hook and its key history
  ForegroundState& foreground;          // where the window the pop-up opened over is kept
  const TPreset* settings = nullptr;
  TAppIni* store = nullptr;  // its placement and list width
  // Where the paste finds the clipboard monitor; none: the paste keeps no clipboard.
  const ClipboardMonitorRecord* clipboardMonitor = nullptr;

  TQvKeyboard* KeyModel() const { return keyboard ? &keyboard->Model() : nullptr; }
};

}  // namespace snibbet
