#pragma once
// Template tags on the real system: synthetic keys, the key-state model, the
// user's locale and files; the clipboard steps go through the monitor. GUI
// thread only; the waits process messages.
#include <windows.h>

#include <string_view>

#include "templates/tag_random.h"
#include "templates/template_tags.h"
#include "templates/wizard_window_port.h"

namespace snibbet {

class TQvKeyboard;

class WindowsTagEnvironment : public TagEnvironment {
 public:
  // `wizard` (may be null: none) is the first-run wizard, whose own text box
  // takes a paste only through the program's message loop; `model` (may be
  // null: none) the key-state model, which tells the modifiers held.
  explicit WindowsTagEnvironment(RandomSource& random = ProgramRandom(), WizardWindowPort* wizard = nullptr,
                                 const TQvKeyboard* model = nullptr)
      : random_(random), wizard_(wizard), model_(model) {}

  int RandomBelow(int count) override { return random_.RandomBelow(count); }
  std::optional<std::wstring> ReadTagFile(std::wstring_view path, std::size_t maxChars) override;

  std::uint32_t ClipboardSequence() override;

  void SendKey(std::uint8_t virtualKey, bool keyUp, bool extended) override;
  void SendCtrlChord(char letter) override;
  bool OnlyCtrlAndAltHeld() override;
  bool WizardIsForeground() override;

  void Sleep(unsigned ms) override;
  void ProcessMessagesFor(unsigned ms) override;
  std::uint32_t TickCount() override;
  void Beep() override;
  DateTimeContext CurrentDateTime() override;

 private:
  RandomSource& random_;
  WizardWindowPort* wizard_;
  const TQvKeyboard* model_;
};

// Expands a text template's tags and pastes it into the focused application.
void ExpandAndPaste(std::wstring_view text, ClipboardPasteSteps& clipboard, WizardWindowPort* wizard,
                    const TQvKeyboard* model);

// Moves the caret of the focused application back to the marker after a paste
// that ended in the end probe (text and rich-text templates).
void PlaceCaretAtMarker(std::wstring_view text, bool isRichText, ClipboardPasteSteps& clipboard,
                        const TQvKeyboard* model);

}  // namespace snibbet
