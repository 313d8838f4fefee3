// Moving the caret back to the marker after a paste that ended in the end
// probe "_": select the probe and delete it, then one Left per character that
// followed the marker.
#include "templates/template_tags.h"

#include "templates/tag_text.h"

namespace snibbet {
namespace {

constexpr std::uint8_t kBackKey = 8;
constexpr std::uint8_t kShiftKey = 16;
constexpr std::uint8_t kLeftKey = 37;
constexpr std::uint8_t kRightKey = 39;
constexpr std::uint8_t kDeleteKey = 46;
constexpr unsigned kKeyPauseMs = 10;
constexpr unsigned kClipboardSettleMs = 30;

}  // namespace

void TagExpander::PlaceCaretAtMarker(std::wstring_view text, bool isRichText) {
  const std::size_t bar = text.find(kCaretMarker);
  if (bar == std::wstring_view::npos) return;
  PlaceCaretBehind(text.substr(bar + 1), isRichText);
}

void TagExpander::PlaceCaretBehind(std::wstring_view tail, bool isRichText) {
  // Until the target has read the paste, the probe's copy below would read
  // back the paste itself, and the target's late copy of the probe would
  // then take the place of the user's clipboard.
  clipboard_.WaitForPasteTaken();
  Press(kLeftKey, true);
  env_.Sleep(kKeyPauseMs);
  env_.SendKey(kShiftKey, false, false);
  env_.Sleep(kKeyPauseMs);
  Press(kRightKey, true);
  env_.Sleep(kKeyPauseMs);
  env_.SendKey(kShiftKey, true, false);
  env_.Sleep(kKeyPauseMs);
  env_.SendCtrlChord('C');
  env_.ProcessMessagesFor(kClipboardSettleMs);
  if (clipboard_.Text() == std::wstring(1, kEndProbe)) {
    // Delete with Ctrl and Alt held would be Ctrl+Alt+Delete.
    Press(env_.OnlyCtrlAndAltHeld() ? kBackKey : kDeleteKey, false);
  } else {
    RemoveProbeOneFurtherLeft();
  }
  if (!WalkCaretBack(tail)) return;
  if (isRichText) Press(kBackKey, false);
}

// Some targets leave the caret one character behind the probe.
void TagExpander::RemoveProbeOneFurtherLeft() {
  Press(kLeftKey, false);
  env_.Sleep(kKeyPauseMs);
  Press(kLeftKey, false);
  env_.Sleep(kKeyPauseMs);
  env_.SendKey(kShiftKey, false, false);
  env_.Sleep(kKeyPauseMs);
  Press(kRightKey, false);
  env_.Sleep(kKeyPauseMs);
  env_.SendKey(kShiftKey, true, false);
  env_.Sleep(kKeyPauseMs);
  const std::uint32_t before = env_.ClipboardSequence();
  env_.SendCtrlChord('X');
  env_.ProcessMessagesFor(kClipboardSettleMs);
  // Undo only a cut that took something else than the probe: after a cut that
  // did nothing, Ctrl+Z would undo the whole paste.
  if (env_.ClipboardSequence() != before && clipboard_.Text() != std::wstring(1, kEndProbe)) {
    env_.SendCtrlChord('Z');
  }
}

// One Left per character behind the marker; a CR LF pair is one step. Gives
// up with a beep when the target is too slow.
bool TagExpander::WalkCaretBack(std::wstring_view tail) {
  const std::uint32_t start = env_.TickCount();
  for (std::size_t i = tail.size(); i-- > 0;) {
    if (tail[i] == L'\n') continue;
    if (env_.TickCount() - start > kCaretWalkLimitMs) {
      env_.Beep();
      return false;
    }
    Press(kLeftKey, true);
  }
  return true;
}

}  // namespace snibbet
