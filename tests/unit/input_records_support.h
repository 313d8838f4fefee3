#pragma once
// The hook and the hub over the program's process-wide records, as the
// program's start hands them in.
#include "core/foreground_state.h"
#include "core/preset.h"
#include "keyboard/actions.h"
#include "keyboard/input_records.h"
#include "keyboard/key_history.h"
#include "keyboard/key_model.h"
#include "keyboard/keyboard_runtime.h"

namespace snibbet::testing {

inline InputRecords ProcessInputRecords() {
  return {.bindings = QvActions(), .keyHistory = KeyHistory(), .foreground = Foreground()};
}

// A keyboard runtime on the process-wide records and the settings object of
// the moment (none: the defaults), which outlives it.
class ProgramKeyboardRuntime : public KeyboardRuntime {
 public:
  ProgramKeyboardRuntime() : KeyboardRuntime(ProcessInputRecords(), PresetOrNull()) {}
  explicit ProgramKeyboardRuntime(ProgramWindowsPort& windows)
      : KeyboardRuntime(ProcessInputRecords(), PresetOrNull(), windows) {}
};

}  // namespace snibbet::testing
