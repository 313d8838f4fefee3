#include "keyboard/key_history.h"

#include "keyboard/key_model.h"

namespace snibbet {
namespace {

constexpr wchar_t kSubstitute = 0x1A;  // what Ctrl+Z types

// The generic Shift, Ctrl and Alt bytes follow their two sides.
void FollowSides(KeyStateBytes& state, int code) {
  static constexpr int kPairs[][3] = {{kVkLeftShift, kVkRightShift, kVkShift},
                                      {kVkLeftCtrl, kVkRightCtrl, kVkControl},
                                      {kVkLeftAlt, kVkRightAlt, kVkMenu}};
  for (const auto& [left, right, generic] : kPairs) {
    if (code == left || code == right) state[generic] = (state[left] || state[right]) ? kKeyDown : 0;
  }
}

}  // namespace

bool TypesWithAltGr(const TQvKeyboard& model, int code) {
  const ControlSet held = model.SideLessSet() & (kAnyCtrlBit | kAnyAltBit | kAnyWinBit);
  if (held != (kAnyCtrlBit | kAnyAltBit)) return false;
  return !model.LayoutService().KeyText(static_cast<unsigned>(code), model.KeyState(), model.CurrentLayout()).empty();
}

bool CtrlShortcutHeld(const TQvKeyboard& model, int code) {
  return (model.SideLessSet() & kAnyCtrlBit) != 0 && !TypesWithAltGr(model, code);
}

void TKeyHistory::Reset() {
  if (locked_) return;
  count_ = 0;
  typedChars_ = 0;
  typedInto_ = 0;
  beginningNoted_ = false;
  active_ = false;
}

void TKeyHistory::NoteBeginning(std::uintptr_t foreground, std::uint32_t time) {
  typedInto_ = foreground;
  begunAt_ = time;
  beginningNoted_ = true;
}

void TKeyHistory::ResetForForeground(std::uintptr_t foreground) {
  if (count_ > 0 && typedInto_ != 0 && typedInto_ == foreground) return;
  Reset();
}

void TKeyHistory::ResetForClickAt(std::uint32_t time) {
  // Tick counts wrap: the signed difference orders them.
  if (count_ > 0 && beginningNoted_ && static_cast<std::int32_t>(begunAt_ - time) > 0) return;
  Reset();
}

bool TKeyHistory::Append(const TQvKeyboard& model, int code, bool keyUp) {
  const TQvBtn* key = model.Button(code);
  if (!key || count_ >= kCapacity) return false;
  const TQvBtn* physical = key->Linked() ? key->Linked() : key;
  records_[static_cast<std::size_t>(count_++)] = {static_cast<std::uint8_t>(keyUp ? 1 : 0),
                                                   static_cast<std::uint8_t>(physical->Extended() ? 1 : 0),
                                                   physical->Code()};
  return true;
}

// The modifiers already held belong to the first character.
void TKeyHistory::Start(const TQvKeyboard& model) {
  count_ = 0;
  typedChars_ = 0;
  typedInto_ = 0;
  beginningNoted_ = false;
  active_ = true;
  for (int code = kFirstKeyCode; code <= kLastKeyCode; ++code) {
    if (IsModifierKey(code) && model.IsKeyPressed(code)) Append(model, code, false);
  }
}

void TKeyHistory::Record(const TQvKeyboard& model, int code, bool keyUp, bool sysKeyUp) {
  if (locked_ || !model.Button(code)) return;
  const bool printable = IsPrintableKey(code);
  const bool modifier = IsModifierKey(code);
  if (!active_) {
    if (!printable || keyUp) {
      if (!printable && !modifier) count_ = typedChars_ = 0;
      return;
    }
    Start(model);
  }
  // A key pressed with Ctrl, Alt or Win held is a shortcut (Ctrl+C, Alt+X), not text,
  // unless it is a character of AltGr.
  const bool shortcutHeld = (model.SideLessSet() & (kAnyCtrlBit | kAnyAltBit | kAnyWinBit)) != 0;
  if (printable && !keyUp && shortcutHeld && !TypesWithAltGr(model, code)) return Reset();
  if (!printable && !modifier && code != kVkBack) return Reset();
  if (count_ >= kCapacity || sysKeyUp) return Reset();
  Append(model, code, keyUp);
  if (keyUp) return;
  if (code == kVkBack) {
    if (typedChars_ > 0) --typedChars_;
  } else if (printable) {
    ++typedChars_;
  }
}

void TKeyHistory::CloseWithReleases(const TQvKeyboard& model) {
  if (!active_) return;
  active_ = false;
  for (int code = kFirstKeyCode; code <= kLastKeyCode; ++code) {
    if (model.IsKeyPressed(code) && !Append(model, code, true)) return;
  }
}

TKeyHistory& KeyHistory() {
  static TKeyHistory history;
  return history;
}

void ResetKeyHistory() { KeyHistory().Reset(); }

bool IsWordChar(std::wstring_view ch, std::wstring_view breaks) {
  return ch.empty() || breaks.find(ch.front()) == std::wstring_view::npos;
}

std::wstring RebuildTypedWord(const TKeyHistory& history, const TQvKeyboard& model, std::wstring_view breaks) {
  KeyStateBytes state = model.KeyState();
  std::wstring word;
  int erased = 0;
  for (int i = history.Count() - 1; i >= 0; --i) {
    const KeyHistoryRecord& record = history.At(i);
    const int code = model.LinkedKeyMap(record.code);
    if (code == 0) continue;
    if (record.keyUp) {
      state[code] = record.extended ? kKeyDown : 0x01;  // held before its release
    } else if (code == kVkBack) {
      ++erased;
    } else if (erased > 0) {
      --erased;
    } else {
      const std::wstring ch = model.LayoutService().KeyText(static_cast<unsigned>(code), state, model.CurrentLayout());
      if (!IsWordChar(ch, breaks) || ch == std::wstring(1, kSubstitute)) break;
      word.insert(0, ch);
      state[code] = 0;
    }
    FollowSides(state, code);
  }
  return word;
}

}  // namespace snibbet
