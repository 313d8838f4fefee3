#include "app/history_keyboard_adapter.h"

#include "keyboard/key_model.h"
#include "keyboard/keyboard_runtime.h"

namespace snibbet {

void HistoryKeyboardAdapter::BeginInputBlock() { snibbet::BeginInputBlock(); }
void HistoryKeyboardAdapter::EndInputBlock() { snibbet::EndInputBlock(); }

bool HistoryKeyboardAdapter::KeyboardQuiet() {
  return (!model_ || model_->PressedCount() == 0) && HookNestingDepth() == 0 && !OwnInputActive();
}

}  // namespace snibbet
