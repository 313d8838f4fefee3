#include "templates/template_tags.h"

#include <vector>

#include "templates/tag_keys.h"
#include "templates/tag_text.h"

namespace snibbet {
namespace {

constexpr std::uint8_t kBackKey = 8;
constexpr std::uint8_t kSpaceKey = 32;
constexpr std::size_t kShortestTaggedText = 5;

// Clears the inserts however the paste ends.
class ScopedInserts {
 public:
  ScopedInserts(std::optional<TagInserts>& slot, TagInserts inserts) : slot_(slot) { slot_ = std::move(inserts); }
  ~ScopedInserts() { slot_.reset(); }
  ScopedInserts(const ScopedInserts&) = delete;
  ScopedInserts& operator=(const ScopedInserts&) = delete;

 private:
  std::optional<TagInserts>& slot_;
};

}  // namespace

std::wstring ExpandTextTags(std::wstring text, TagEnvironment& env) {
  while (ExpandSomeOfTag(text, env)) {
  }
  if (HoldsTagWord(text, kDateTimeTag)) {
    const DateTimeContext now = env.CurrentDateTime();
    std::size_t from = 0;
    while (ExpandDateTimeTag(text, now, from)) {
    }
  }
  FileExpansionBudget budget;
  while (ExpandFileTag(text, env, budget)) {
  }
  return text;
}

std::wstring InsertClipboardAndSelection(std::wstring_view text, const TagInserts& inserts) {
  std::wstring out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    if (TagWordAt(text, i, kSelectionTag)) {
      out += inserts.selection;
      i += kSelectionTag.size();
    } else if (TagWordAt(text, i, kClipboardTag)) {
      out += inserts.clipboard;
      i += kClipboardTag.size();
    } else {
      out += text[i++];
    }
  }
  return out;
}

void TagExpander::ExpandAndPaste(std::wstring_view text) {
  TagInserts inserts;
  // A file tag may bring a clipboard tag, so the clipboard is read for it too,
  // while it still holds the user's content.
  if (HoldsTagWord(text, kClipboardTag) || HoldsTagWord(text, kFileTag)) inserts.clipboard = clipboard_.Text();
  if (HoldsTagWord(text, kSelectionTag)) inserts.selection = CutSelection();
  if (text.find(kCaretMarker) != std::wstring_view::npos) {
    Press(kSpaceKey, false);  // replaces a selection, which would take the caret walk astray
    Press(kBackKey, false);
  }
  if (text.size() < kShortestTaggedText) return PasteText(text, true);

  const ScopedInserts scope(inserts_, std::move(inserts));
  const std::wstring expanded = ExpandTextTags(std::wstring(text), env_);
  if (HoldsTagWord(expanded, kKeyTag)) ProcessKeyTags(expanded);
  else PastePiece(expanded, true);
}

std::wstring TagExpander::CutSelection() {
  clipboard_.Clear();
  clipboard_.ResetClipboardChanged();
  env_.SendCtrlChord('X');
  clipboard_.WaitForClipboardChange();
  return clipboard_.Text();
}

void TagExpander::ProcessKeyTags(std::wstring_view text) {
  while (true) {
    const std::size_t open = FindTagWord(text, kKeyTag);
    if (open == std::wstring_view::npos) break;
    const std::size_t close = text.find(L'>', open);
    if (close == std::wstring_view::npos) break;
    const std::size_t listBegin = open + kKeyTag.size();
    PastePiece(text.substr(0, open), false);  // even when empty
    TypeKeys(text.substr(listBegin, close - listBegin));
    text.remove_prefix(close + 1);
  }
  PastePiece(text, true);
}

// The keys go down in the list's order and come up in the same order.
// Typed after Ctrl+V, they are behind it in the target's input, and a target
// that reads the clipboard while it handles Ctrl+V takes them after the text
// however late it is. They wait for the read all the same: one that reads
// after its Ctrl+V handling (on another thread, say) would get them first.
// The wait costs no time overall, since the next piece waits for that read.
void TagExpander::TypeKeys(std::wstring_view list) {
  clipboard_.WaitForPasteTaken();
  const std::vector<std::uint8_t> keys = ParseKeyList(list);
  for (const std::uint8_t key : keys) env_.SendKey(key, false, false);
  for (const std::uint8_t key : keys) env_.SendKey(key, true, false);
}

void TagExpander::PasteText(std::wstring_view text, bool moveCaret) {
  const std::size_t bar = moveCaret ? text.find(kCaretMarker) : std::wstring_view::npos;
  if (bar == std::wstring_view::npos) return PasteMarked(std::wstring(text), std::nullopt);
  std::wstring withoutBar(text.substr(0, bar));
  withoutBar.append(text.substr(bar + 1));
  PasteMarked(withoutBar, bar);
}

// A piece of the expanded template: its clipboard and selection tags are
// filled in only now, so that their texts cannot act as tags or markers.
void TagExpander::PastePiece(std::wstring_view piece, bool moveCaret) {
  if (!inserts_) return PasteText(piece, moveCaret);
  const std::size_t bar = moveCaret ? piece.find(kCaretMarker) : std::wstring_view::npos;
  if (bar == std::wstring_view::npos) return PasteMarked(InsertClipboardAndSelection(piece, *inserts_), std::nullopt);
  std::wstring text = InsertClipboardAndSelection(piece.substr(0, bar), *inserts_);
  const std::size_t marker = text.size();
  text += InsertClipboardAndSelection(piece.substr(bar + 1), *inserts_);
  PasteMarked(text, marker);
}

void TagExpander::PasteMarked(const std::wstring& text, std::optional<std::size_t> marker) {
  clipboard_.ResetClipboardChanged();
  const bool put = clipboard_.PutText(marker ? text + kEndProbe : text);
  clipboard_.WaitForClipboardChange();
  if (!put) {
    env_.Beep();  // Ctrl+V now would paste whatever the clipboard holds
    return;
  }
  clipboard_.ResetClipboardChanged();
  clipboard_.SendPasteKeys();
  // The wizard's own text box takes the paste only through our message loop.
  if (env_.WizardIsForeground()) clipboard_.WaitForClipboardChange();
  if (marker) PlaceCaretBehind(std::wstring_view(text).substr(*marker), false);
}

void TagExpander::Press(std::uint8_t virtualKey, bool extended) {
  env_.SendKey(virtualKey, false, extended);
  env_.SendKey(virtualKey, true, extended);
}

}  // namespace snibbet
