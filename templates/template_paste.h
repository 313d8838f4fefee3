#pragma once
// The paste of the template chosen in the pop-up into the focused
// application: the user's clipboard kept, the typed search word erased, the
// template put on the clipboard in its form (text with its tags expanded,
// rich text with its plain text, or a picture), Ctrl+V typed, and the user's
// clipboard put back shortly after. Window-free: the clipboard steps sit
// behind ClipboardPasteSteps, the rest of the system behind PasteSystem.
#include <cstdint>
#include <string>
#include <string_view>

#include "clipboard/paste_steps.h"
#include "templates/template_record.h"

namespace snibbet {

class PasteSystem {
 public:
  virtual ~PasteSystem() = default;

  // The key-state model's bracket around the program's own typing.
  virtual void BeginOwnInput() = 0;
  virtual void EndOwnInput() = 0;
  virtual void ResetKeyHistory() = 0;
  // The window that would take the keys is still the one the pop-up opened
  // over: a target that closed meanwhile has handed the front to a window
  // whose text the Backspaces would erase.
  virtual bool TargetInFront() = 0;
  virtual void TypeKey(std::uint8_t virtualKey) = 0;  // pressed and released
  virtual void Beep() = 0;

  // A text template: its tags expanded and the result pasted.
  virtual void ExpandAndPaste(std::string_view templateText) = 0;
  // The clipboard emptied, then the plain text and the RTF document put
  // together. False when the clipboard did not take both.
  virtual bool PutRichText(std::wstring_view plain, std::string_view rtf) = 0;
  virtual void PlaceCaretAtMarker(std::wstring_view text, bool isRichText) = 0;
  // The first-run wizard, whose own text box takes a paste only through the
  // program's message loop, is the window in front.
  virtual bool WizardIsForeground() = 0;
  // The chosen picture onto the clipboard; false when there is no picture or
  // the clipboard did not take it.
  virtual bool PutPicture() = 0;
};

// The pop-up's choice, as it stood when the pop-up hid.
struct PasteRequest {
  TemplateRecord record;  // a copy: the paste's waits may change the table
  std::wstring searchText;  // typed into the target; as many Backspaces erase it
  std::wstring richText;  // a rich-text template's plain text, as its preview shows it
};

// The RTF document as it goes onto the clipboard: trailing blanks and line
// ends cut, and a final paragraph mark before the closing brace replaced by
// the end probe "_" (withProbe) or nothing, so the paste adds no line break.
std::string PasteRtf(std::string_view rtf, bool withProbe);

// Pastes one template (the pop-up has hidden already). The user's clipboard
// comes back after any outcome, an error included; a template that could not
// be put on the clipboard is not pasted (a beep instead of Ctrl+V). When the
// user's clipboard could not be kept nothing at all is done but a beep: the
// target and the clipboard stay as they are. When the target is no longer in
// front, up to the first Backspace, nothing is typed or pasted.
void PasteTemplate(const PasteRequest& request, ClipboardPasteSteps& clipboard, PasteSystem& system);

}  // namespace snibbet
