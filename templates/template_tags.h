#pragma once
// Expansion of a text template's tags and its paste into the focused
// application: the clipboard's text, the selected text, key presses, the date
// and time, a file's text, a random choice, and the caret marker "|" that says
// where the caret stands after the paste. Window-free: the clipboard steps go
// through ClipboardPasteSteps, everything else it does to the system through
// TagEnvironment.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "clipboard/paste_steps.h"
#include "templates/tag_date_format.h"
#include "templates/tag_file.h"
#include "templates/tag_some_of.h"

namespace snibbet {

class TagEnvironment : public RandomSource, public TagFileSource {
 public:
  // A number that changes whenever the clipboard's content does.
  virtual std::uint32_t ClipboardSequence() = 0;

  // Keys typed into the focused application.
  virtual void SendKey(std::uint8_t virtualKey, bool keyUp, bool extended) = 0;
  virtual void SendCtrlChord(char letter) = 0;  // 'X', 'C' or 'Z', with the usual pauses
  // Exactly Ctrl and Alt held, as the program's key-state model shows them.
  virtual bool OnlyCtrlAndAltHeld() = 0;
  // The program's own first-run wizard is the foreground window.
  virtual bool WizardIsForeground() = 0;

  virtual void Sleep(unsigned ms) = 0;
  virtual void ProcessMessagesFor(unsigned ms) = 0;
  virtual std::uint32_t TickCount() = 0;
  virtual void Beep() = 0;
  virtual DateTimeContext CurrentDateTime() = 0;
};

inline constexpr unsigned kCaretWalkLimitMs = 5000;
inline constexpr wchar_t kEndProbe = L'_';

// Random choices, then date tags, then file tags, each repeated while it finds
// one. A file's text is searched for further file tags (within the budget of
// tag_file.h) but not for random choices or dates.
std::wstring ExpandTextTags(std::wstring text, TagEnvironment& env);

// What "<CLIPBOARD>" and "<SELECTION>" stand for during one paste.
struct TagInserts {
  std::wstring clipboard;
  std::wstring selection;
};

// Every "<SELECTION>" and "<CLIPBOARD>" replaced in one pass; the inserted
// texts are not searched again.
std::wstring InsertClipboardAndSelection(std::wstring_view text, const TagInserts& inserts);

class TagExpander {
 public:
  TagExpander(TagEnvironment& env, ClipboardPasteSteps& clipboard) : env_(env), clipboard_(clipboard) {}

  // Expands the tags of a text template and pastes the result. The clipboard's
  // and the selection's texts are pasted as they are: a "|" or a key tag in
  // them is plain text.
  void ExpandAndPaste(std::wstring_view text);

  // Puts the text on the clipboard and types the paste; with moveCaret the
  // first "|" is the caret marker (left out of the paste).
  void PasteText(std::wstring_view text, bool moveCaret);

  // Pastes the text piece by piece around its key tags and types the keys.
  void ProcessKeyTags(std::wstring_view text);

  // After a paste that ended in the end probe "_": removes the probe and walks
  // the caret back to where the first "|" of `text` stood. With isRichText the
  // bar itself was pasted and is deleted too.
  void PlaceCaretAtMarker(std::wstring_view text, bool isRichText);

 private:
  void PastePiece(std::wstring_view piece, bool moveCaret);
  void PasteMarked(const std::wstring& text, std::optional<std::size_t> marker);
  void PlaceCaretBehind(std::wstring_view tail, bool isRichText);
  void RemoveProbeOneFurtherLeft();
  bool WalkCaretBack(std::wstring_view tail);
  void TypeKeys(std::wstring_view list);
  void Press(std::uint8_t virtualKey, bool extended);
  std::wstring CutSelection();

  TagEnvironment& env_;
  ClipboardPasteSteps& clipboard_;
  std::optional<TagInserts> inserts_;  // set while ExpandAndPaste runs
};

}  // namespace snibbet
