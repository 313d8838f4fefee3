#pragma once
// What the user has just typed: the key history that pre-fills the template
// search and that the retype-last-word action replays. A typing stretch
// starts with a printable key and ends at any key that is not part of typing
// (navigation, Enter, a shortcut with Ctrl, Alt or Win, ...; a character of
// AltGr, which reaches the system as Ctrl+Alt, is typing). Records hold the
// US-layout code of the physical key, so a layout switch does not garble them.
// Window-free.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace snibbet {

class TQvKeyboard;

struct KeyHistoryRecord {
  std::uint8_t keyUp = 0;     // 1 for a release
  std::uint8_t extended = 0;  // the extended flag of the linked key
  std::uint8_t code = 0;      // the code of the linked key
  friend bool operator==(const KeyHistoryRecord&, const KeyHistoryRecord&) = default;
};

class TKeyHistory {
 public:
  static constexpr int kCapacity = 1024;

  int Count() const { return count_; }
  // Printable presses since the stretch began, less Backspaces; never below 0.
  int TypedChars() const { return typedChars_; }
  bool Active() const { return active_; }
  // While locked, resets are ignored (the executor replays the history).
  bool Locked() const { return locked_; }
  void SetLocked(bool locked) { locked_ = locked; }
  // Oldest first; `index` in 0..Count()-1.
  const KeyHistoryRecord& At(int index) const { return records_[static_cast<std::size_t>(index)]; }

  // Empties the history unless it is locked.
  void Reset();
  // Where and when the stretch began: the window in front then (0: none) and
  // its first key's time. The hook notes them at a stretch's first key.
  bool BeginningNoted() const { return beginningNoted_; }
  void NoteBeginning(std::uintptr_t foreground, std::uint32_t time);
  std::uintptr_t TypedInto() const { return typedInto_; }
  // The reports of a new window in front and of a click can come after keys
  // the user typed after them (the program busy meanwhile): they end the word
  // unless it was typed into that very window, or begun after that click.
  void ResetForForeground(std::uintptr_t foreground);
  void ResetForClickAt(std::uint32_t time);

  // The hook's update for a key event that changed `model` (already applied
  // to it). `sysKeyUp`: the event was WM_SYSKEYUP. Nothing while locked.
  void Record(const TQvKeyboard& model, int code, bool keyUp, bool sysKeyUp);

  // Closes an active stretch with a release record for every key `model`
  // shows pressed, as far as room is left. The next printable key starts a
  // new stretch; the records stay until then.
  void CloseWithReleases(const TQvKeyboard& model);

 private:
  bool Append(const TQvKeyboard& model, int code, bool keyUp);
  void Start(const TQvKeyboard& model);

  std::array<KeyHistoryRecord, kCapacity> records_{};
  int count_ = 0;
  int typedChars_ = 0;
  std::uintptr_t typedInto_ = 0;
  std::uint32_t begunAt_ = 0;
  bool beginningNoted_ = false;
  bool active_ = false;
  bool locked_ = false;
};

// The process-wide history of the program's keyboard hook.
TKeyHistory& KeyHistory();
void ResetKeyHistory();

// AltGr reaches the system as Ctrl+Alt: a key that types a character with
// both held (and no Win) is text, such as '@' on a German layout.
bool TypesWithAltGr(const TQvKeyboard& model, int code);
// Ctrl is held and the key types no character of AltGr: Ctrl+C, or Ctrl+Alt
// on a key without such a character.
bool CtrlShortcutHeld(const TQvKeyboard& model, int code);

// Whether `ch` (one character, or empty) belongs to a word: it is not one of `breaks`.
bool IsWordChar(std::wstring_view ch, std::wstring_view breaks);

// The word typed just before now, rebuilt from the newest records backwards
// with the current layout's characters: Backspaces erase, the Shift and
// CapsLock states of the time are undone record by record, and the walk stops
// at the first character that is not a word character.
std::wstring RebuildTypedWord(const TKeyHistory& history, const TQvKeyboard& model, std::wstring_view breaks);

}  // namespace snibbet
