#pragma once
// What the keyboard hook and the executor reach in parts of the program that
// are built elsewhere: the settings' sounds, the template pop-up and the
// template editor. Each has a stand-in until its owner wires the real one.
#include <functional>

namespace snibbet {

struct KeyboardSeams {
  // A sound slot of the settings, played without waiting; stand-in: silence.
  std::function<void(int slot)> playSound;
  // Opens the template pop-up at the caret; stand-in: only logs
  // "ShowTemplateView" to the debug log.
  std::function<void()> showTemplateView;
  // Brings an open template editor to the front; false when none is open.
  std::function<bool()> bringTemplateEditorToFront;
  // A key press for the open pop-up (only while it says it is open).
  std::function<void(int code)> queueTemplateKey;
  // Kind 8 parameter 4; the keyboard window is never offered.
  std::function<void()> toggleKeyboardWindow;
};

KeyboardSeams& KeyboardSeamsOfProgram();
void ResetKeyboardSeams();

}  // namespace snibbet
