#pragma once
// The hook and the hub over the program's process-wide records, as the
// program's start hands them in.
#include "core/foreground_state.h"
#include "keyboard/actions.h"
#include "keyboard/input_records.h"
#include "keyboard/key_history.h"
#include "keyboard/key_model.h"
#include "keyboard/keyboard_runtime.h"

namespace snibbet::testing {

inline InputRecords ProcessInputRecords() {
  return {.bindings = QvActions(), .keyHistory = KeyHistory(), .foreground = Foreground()};
}

// A keyboard runtime whose model the parts not handed it read, as at the
// program's start; the model clears the pointer when it goes.
class ProgramKeyboardRuntime : public KeyboardRuntime {
 public:
  ProgramKeyboardRuntime() : KeyboardRuntime(ProcessInputRecords()) { SetQvKeyboard(&Model()); }
  explicit ProgramKeyboardRuntime(ProgramWindowsPort& windows) : KeyboardRuntime(ProcessInputRecords(), windows) {
    SetQvKeyboard(&Model());
  }
};

}  // namespace snibbet::testing
