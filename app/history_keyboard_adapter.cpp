#include "app/history_keyboard_adapter.h"

#include "keyboard/key_model.h"
#include "keyboard/keyboard_runtime.h"

namespace snibbet {

void HistoryKeyboardAdapter::BeginInputBlock() { snibbet::BeginInputBlock(); }
void HistoryKeyboardAdapter::EndInputBlock() { snibbet::EndInputBlock(); }

bool HistoryKeyboardAdapter::KeyboardQuiet() {
  const TQvKeyboard* model = QvKeyboard();
  return (!model || model->PressedCount() == 0) && HookNestingDepth() == 0 && !OwnInputActive();
}

}  // namespace snibbet
