#include "keyboard/action_executor.h"

#include <string>

#include "keyboard/actions.h"
#include "core/key_classes.h"
#include "keyboard/key_model.h"

namespace snibbet {

void TQvActionExecute::EnableRunTimer() {
  runTimerOn_ = true;
  ports_.StartRunTimer();
}

void TQvActionExecute::Forget(const TQvAction& binding) {
  if (pending_ == &binding) pending_ = nullptr;
}

void TQvActionExecute::ExecuteAction() {
  runTimerOn_ = false;
  ports_.StopRunTimer();
  TQvAction* binding = pending_;
  if (!binding) return;
  // Off before it runs: a paste in it ends the input block from inside, and
  // the keys SnibbetCm then replays, a hotkey typed meanwhile among them,
  // must find nothing pending, or that hotkey would be swallowed and lost.
  pending_ = nullptr;
  ports_.Log(L"ExecuteAction " + std::to_wstring(binding->Kind()) + L" " + std::to_wstring(binding->Param()));
  // A failing action must neither leave input blocked nor stay pending; it is
  // not reported (the user pressed a key, nothing more).
  try {
    if (bracket_) bracket_->BeginInputBlock();
    ports_.PlaySound(kSoundAction);
    RunBinding(*binding);
  } catch (...) {
  }
  try {
    if (bracket_) bracket_->EndInputBlock();
  } catch (...) {
  }
}

void TQvActionExecute::RunBinding(TQvAction& binding) {
  switch (binding.Kind()) {
    case kKindKey:
      ExecuteKeyAction(binding);
      break;
    case kKindClipboard:
      ports_.RunClipboardAction();
      break;
    case kKindProgram:
      ExecuteProgramAction(binding);
      break;
    case kKindLayout:
      ports_.RunLayoutAction(binding);
      break;
    default:  // kind 7's stub and every other kind do nothing
      break;
  }
}

// The user's held keys come up in the system first, so the key is typed
// alone; the held modifiers go down again afterwards.
void TQvActionExecute::ExecuteKeyAction(const TQvAction& binding) {
  if (!model_) return;
  model_->SaveHeldKeys();
  model_->ReleaseHeldKeys();
  const auto code = binding.Param();
  if (code != 0) {
    model_->Input().SendKey(code, false, IsExtendedKey(code));
    model_->Input().SendKey(code, true, IsExtendedKey(code));
  }
  model_->RestoreHeldKeys(true);
}

void TQvActionExecute::ExecuteProgramAction(const TQvAction& binding) {
  switch (binding.Param()) {
    case kProgramShowTemplates:
      if (!ports_.BringTemplateEditorToFront()) ports_.ShowTemplateView();
      break;
    case kProgramToggleKeyboard:
      ports_.ToggleKeyboardWindow();
      break;
    default:
      break;
  }
}

}  // namespace snibbet
