// The actions that go through the clipboard: putting the user's clipboard
// back, and converting the selected text of the foreground window by cutting
// it, converting it and pasting it over itself.
#include "keyboard/action_layout.h"

#include "keyboard/key_history.h"
#include "keyboard/key_model.h"
#include "keyboard/scope_exit.h"

namespace snibbet {

void LayoutActions::ExecuteClipboardAction() {
  if (!clipboard_.MonitorPresent()) return;
  const bool held = clipboard_.HoldsAnything();
  clipboard_.SaveBeforePaste();
  const ScopeExit monitorOn([this] { clipboard_.SetMonitoring(true); });
  clipboard_.SetMonitoring(false);
  model_.BeginOwnInput();
  const ScopeExit ownInputEnd([this] { model_.EndOwnInput(); });
  if (held) clipboard_.RestoreAfterPaste();
}

void LayoutActions::ConvertSelectedText(int mode) {
  // Without the monitor the user's clipboard could not come back.
  if (!clipboard_.MonitorPresent()) return;
  const bool held = clipboard_.HoldsAnything();
  clipboard_.SaveBeforePaste();
  // Emptying the clipboard now would lose what the monitor could not keep.
  if (held && !clipboard_.UserClipboardKept()) return;
  const bool painting = model_.Painting();
  model_.SetPainting(false);
  clipboard_.SetMonitoring(false);
  model_.SaveHeldKeys();
  const ScopeExit restore([&] {
    if (held) clipboard_.RestoreAfterPaste();
    model_.RestoreHeldKeys(true);
    clipboard_.SetMonitoring(true);
    model_.SetPainting(painting);
    history_.Reset();
  });

  // Left uncleared, the user's own text would be read as the selection.
  if (!clipboard_.Clear()) return;
  model_.Input().ReleaseEscKey();
  model_.ReleaseHeldKeys();
  model_.Input().ReleaseEscKey();

  clipboard_.ResetClipboardChanged();
  cutter_.CutSelection();
  clipboard_.WaitForClipboardChange();
  const std::wstring selected = clipboard_.Text();
  if (!selected.empty()) {
    PasteConverted(selected, mode);
  } else if (clipboard_.HoldsAnything()) {
    // The cut took something that is not text: it goes back where it was.
    clipboard_.SendPasteKeys();
  }
}

// The selection is cut already: whatever happens, the target must get text back.
void LayoutActions::PasteConverted(const std::wstring& selected, int mode) {
  std::wstring converted;
  try {
    converted = Convert(selected, mode);
  } catch (...) {
    converted = selected;  // a failed conversion still puts the cut text back
  }
  if (PutAndWait(converted)) {
    clipboard_.SendPasteKeys();
    return;
  }
  // The converted text did not reach the clipboard: the cut is undone with
  // the cut text itself, or nothing is pasted at all.
  if (clipboard_.Text() == selected || PutAndWait(selected)) clipboard_.SendPasteKeys();
}

bool LayoutActions::PutAndWait(const std::wstring& text) {
  clipboard_.ResetClipboardChanged();
  if (!clipboard_.PutText(text)) return false;
  clipboard_.WaitForClipboardChange();
  return true;
}

std::wstring LayoutActions::Convert(const std::wstring& text, int mode) {
  if (mode == kLayoutRemapSelection) return RemapLayoutText(text);
  return ConvertTextCase(text, mode, caseMapping_);
}

}  // namespace snibbet
