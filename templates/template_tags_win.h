#pragma once
// Template tags on the real system: clipboard, synthetic keys, the user's
// locale and files. GUI thread only; the waits process messages.
#include <windows.h>

#include <functional>
#include <string_view>

#include "templates/tag_random.h"
#include "templates/template_tags.h"

namespace snibbet {

// Pieces of the paste that other parts of the program own: the clipboard
// monitor's change flag and wait, the paste keystroke with its idle waits,
// the key-state model and the first-run wizard. An unset one falls back to
// plain platform behaviour: the clipboard's sequence number, Ctrl+V, and
// "no" for the two questions.
struct TagPasteHooks {
  std::function<void()> resetClipboardChanged;
  std::function<void()> waitForClipboardChange;
  std::function<void()> sendPasteKeys;
  std::function<bool()> onlyCtrlAndAltHeld;
  std::function<bool()> wizardIsForeground;
};

// The hooks that ExpandAndPaste and PlaceCaretAtMarker below use.
void SetTagPasteHooks(TagPasteHooks hooks);

class WindowsTagEnvironment final : public TagEnvironment {
 public:
  explicit WindowsTagEnvironment(TagPasteHooks hooks = {}, RandomSource& random = ProgramRandom())
      : hooks_(std::move(hooks)), random_(random) {}

  int RandomBelow(int count) override { return random_.RandomBelow(count); }
  std::optional<std::wstring> ReadTagFile(std::wstring_view path, std::size_t maxChars) override;

  std::wstring ClipboardText() override;
  bool PutClipboardText(std::wstring_view text) override;
  void ClearClipboard() override;
  std::uint32_t ClipboardSequence() override;
  void ResetClipboardChanged() override;
  void WaitForClipboardChange() override;

  void SendKey(std::uint8_t virtualKey, bool keyUp, bool extended) override;
  void SendCtrlChord(char letter) override;
  void SendPasteKeys() override;
  bool OnlyCtrlAndAltHeld() override;
  bool WizardIsForeground() override;

  void Sleep(unsigned ms) override;
  void ProcessMessagesFor(unsigned ms) override;
  std::uint32_t TickCount() override;
  void Beep() override;
  DateTimeContext CurrentDateTime() override;

 private:
  TagPasteHooks hooks_;
  RandomSource& random_;
  DWORD sequenceAtReset_ = 0;
};

// Expands a text template's tags and pastes it into the focused application.
void ExpandAndPaste(std::wstring_view text);

// Moves the caret of the focused application back to the marker after a paste
// that ended in the end probe (text and rich-text templates).
void PlaceCaretAtMarker(std::wstring_view text, bool isRichText);

}  // namespace snibbet
