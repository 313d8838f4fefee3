#include "keyboard/key_model.h"

#include <algorithm>

#include "core/key_names.h"
#include "core/lang_table.h"

namespace snibbet {
namespace {

// Each side-specific modifier and the generic byte it shares with its other side.
struct ModifierPair {
  int left, right, generic;
};
constexpr ModifierPair kModifierPairs[] = {
    {kVkLeftShift, kVkRightShift, kVkShift},
    {kVkLeftCtrl, kVkRightCtrl, kVkControl},
    {kVkLeftAlt, kVkRightAlt, kVkMenu},
};

// A press toggles a lock key: the toggle bit flips, the down bit is dropped.
std::uint8_t Toggled(std::uint8_t lockByte) { return (lockByte & 0x01) ? 0 : 1; }

std::wstring Widened(std::string_view text) { return std::wstring(text.begin(), text.end()); }

// Holds a keyboard layout loaded only for one operation.
class TemporaryLayout {
 public:
  TemporaryLayout(KeyboardLayoutService& layouts, std::wstring_view name)
      : layouts_(layouts), layout_(layouts.LoadLayout(name)) {}
  ~TemporaryLayout() {
    if (layout_) layouts_.UnloadLayout(layout_);
  }
  TemporaryLayout(const TemporaryLayout&) = delete;
  TemporaryLayout& operator=(const TemporaryLayout&) = delete;
  LayoutHandle Get() const { return layout_; }

 private:
  KeyboardLayoutService& layouts_;
  LayoutHandle layout_;
};

}  // namespace

// ---- TQvBtn ----

TQvBtn::TQvBtn(TQvKeyboard& keyboard, std::uint8_t code, KeyShape points)
    : keyboard_(keyboard), code_(code), linked_(this), extended_(IsExtendedKey(code)), points_(std::move(points)) {}

void TQvBtn::SetPressed(bool pressed) {
  if (pressed == pressed_) return;
  pressed_ = pressed;
  keyboard_.KeyPressedChanged(*this);
}

void TQvBtn::SetHighlighted(bool highlighted) {
  if (highlighted == highlighted_) return;
  highlighted_ = highlighted;
  if (keyboard_.painting_ && keyboard_.view_) keyboard_.view_->DrawKey(code_);
}

void TQvBtn::SetLinked(TQvBtn* linked) {
  linked_ = linked;
  if (linked) keyboard_.linkedKeyMap_[linked->code_] = code_;
}

// ---- TQvKeyboard: keys and state ----

TQvKeyboard::TQvKeyboard(KeyboardLayoutService& layouts, KeyInputPort& input, CharTableCache* tables)
    : layouts_(layouts), input_(input), tables_(tables ? *tables : CharTables()) {
  for (int code = kFirstKeyCode; code <= kLastKeyCode; ++code) linkedKeyMap_[code] = static_cast<std::uint8_t>(code);
  SetLayout(layouts_.ForegroundLayout());
}

void TQvKeyboard::ClearLayout() {
  // Released first, so no state byte or count outlives its key.
  for (int code = kFirstKeyCode; code <= kLastKeyCode; ++code) {
    if (TQvBtn* key = Button(code)) key->SetPressed(false);
  }
  for (auto& key : buttons_) key.reset();
  for (int code = kFirstKeyCode; code <= kLastKeyCode; ++code) linkedKeyMap_[code] = static_cast<std::uint8_t>(code);
  layoutName_.clear();
  layoutFile_ = KeyboardLayoutFile{};
}

void TQvKeyboard::ApplyLayout(const KeyboardLayoutFile& layout, std::wstring layoutName) {
  ClearLayout();
  layoutFile_ = layout;
  layoutName_ = std::move(layoutName);
  for (int code = kFirstKeyCode; code <= kLastKeyCode; ++code) {
    const KeyShape& shape = layout.shapes[static_cast<std::size_t>(code)];
    if (shape.empty() && VirtualKeyName(code).empty()) continue;
    Slot(code) = std::make_unique<TQvBtn>(*this, static_cast<std::uint8_t>(code), shape);
  }
  RemapKeysForLayout();
  BuildCharTable();
  Redraw();
}

TQvBtn* TQvKeyboard::Button(int code) const {
  return IsKeyCode(code) ? buttons_[static_cast<std::size_t>(code)].get() : nullptr;
}

void TQvKeyboard::KeyPressedChanged(TQvBtn& key) {
  const int code = key.Code();
  const bool pressed = key.Pressed();
  if (IsLockKey(code)) {
    if (pressed) keyState_[code] = Toggled(keyState_[code]);
  } else {
    keyState_[code] = pressed ? kKeyDown : 0;
    for (const auto& pair : kModifierPairs) {
      if (code == pair.left || code == pair.right)
        keyState_[pair.generic] = (keyState_[pair.left] || keyState_[pair.right]) ? kKeyDown : 0;
    }
  }
  pressedCount_ = pressed ? pressedCount_ + 1 : std::max(pressedCount_ - 1, 0);
  if (IsModifierKey(code)) UpdateControlSet();
  if (!painting_ || !view_) return;
  if (IsLockOrModifierKey(code)) {
    view_->Redraw();
  } else {
    view_->DrawKey(code);
  }
}

void TQvKeyboard::SetActive(bool active) {
  if (active == active_) return;
  active_ = active;
  if (!active) return;
  ReleaseAllKeys();
  ReadKeyboardStateReleasingModifiers(input_, keyState_);
  // No key is shown held after this, so only the lock toggles stay.
  for (int code = 0; code < 256; ++code) {
    keyState_[code] = IsLockKey(code) ? (keyState_[code] & 0x01) : 0;
  }
  sideLessSet_ = controlSet_ = 0;
  pressedCount_ = 0;
  for (auto& key : buttons_) {
    if (key) key->highlighted_ = false;
  }
  Redraw();
}

void TQvKeyboard::SetPainting(bool painting) {
  painting_ = painting;
  if (painting) Redraw();
}

void TQvKeyboard::SetAppIcons(const TQvIcons* set) {
  if (set == appIcons_) return;
  appIcons_ = set;
  Redraw();
}

void TQvKeyboard::SetKeyPressed(int code, bool pressed) {
  if (TQvBtn* key = Button(code)) key->SetPressed(pressed);
}

bool TQvKeyboard::IsKeyPressed(int code) const {
  const TQvBtn* key = Button(code);
  return key && key->Pressed();
}

void TQvKeyboard::ReleaseAllKeys() {
  for (int code = kFirstKeyCode; code <= kLastKeyCode; ++code) SetKeyPressed(code, false);
  Present();
}

void TQvKeyboard::UpdateControlSet() {
  controlSet_ = sideLessSet_ = 0;
  for (int code : {kVkRightShift, kVkLeftShift, kVkRightCtrl, kVkLeftCtrl, kVkRightAlt, kVkLeftAlt, kVkRightWin,
                   kVkLeftWin}) {
    if (!keyState_[code]) continue;
    controlSet_ |= ModifierBit(code);
    sideLessSet_ |= SideLessBit(code);
  }
}

bool TQvKeyboard::AnyModifierPressed() const {
  for (int code = kFirstKeyCode; code <= kLastKeyCode; ++code) {
    if (IsModifierKey(code) && IsKeyPressed(code)) return true;
  }
  return false;
}

void TQvKeyboard::FlipLockState(int code) {
  if (!IsLockKey(code)) return;
  keyState_[code] = Toggled(keyState_[code]);
  Redraw();
}

// ---- layouts and characters ----

void TQvKeyboard::SetLayout(LayoutHandle layout) {
  if (layout <= 0xFFFF || layout == layout_) return;
  layout_ = layout;
  RemapKeysForLayout();
  BuildCharTable();
  if (active_) Redraw();
}

void TQvKeyboard::RemapKeysForLayout() {
  // Every layout starts from keys linked to themselves, so links a previous
  // layout moved never linger.
  for (int code = kFirstKeyCode; code <= kLastKeyCode; ++code) {
    linkedKeyMap_[code] = static_cast<std::uint8_t>(code);
    if (TQvBtn* key = Button(code)) key->SetLinked(key);
  }
  if (layout_ == 0) return;
  bool installed = false;
  for (LayoutHandle layout : layouts_.InstalledLayouts()) installed = installed || layout == kUsEnglishLayout;
  if (installed) {
    RelinkLettersTo(kUsEnglishLayout);
    return;
  }
  const TemporaryLayout us(layouts_, kUsEnglishLayoutName);
  if (us.Get()) RelinkLettersTo(us.Get());  // without the US layout the keys stay as they are
}

void TQvKeyboard::RelinkLettersTo(LayoutHandle usLayout) {
  for (int code = kFirstKeyCode; code <= kLastKeyCode; ++code) {
    TQvBtn* key = Button(code);
    if (!key || !IsLetterOrOemKey(code)) continue;
    const unsigned scanCode = layouts_.VirtualKeyToScanCode(static_cast<unsigned>(code), layout_);
    const unsigned usCode = scanCode ? layouts_.ScanCodeToVirtualKey(scanCode, usLayout) : 0;
    TQvBtn* usKey = IsKeyCode(static_cast<int>(usCode)) ? Button(static_cast<int>(usCode)) : nullptr;
    if (!usKey) usKey = key;
    if (usKey->Linked() == usKey) usKey->SetLinked(nullptr);
    key->SetLinked(usKey);
    // A key held across the switch would come up under another code.
    usKey->SetPressed(false);
    key->SetPressed(false);
  }
}

void TQvKeyboard::BuildCharTable() {
  charTable_ = layout_ ? &tables_.Get(layout_, layouts_) : nullptr;
}

wchar_t TQvKeyboard::CharOfKey(int code) const {
  if (!charTable_) return 0;
  return charTable_->At(code, CharSlot(keyState_[kVkShift], keyState_[kVkMenu], keyState_[kVkControl],
                                       keyState_[kVkCapital]));
}

wchar_t TQvKeyboard::CharOfKeyWithoutCtrl(int code) const {
  if (!charTable_) return 0;
  return charTable_->At(code, CharSlot(keyState_[kVkShift], keyState_[kVkMenu], false, keyState_[kVkCapital]));
}

// ---- names and shortcuts ----

PressedShortcut TQvKeyboard::GetPressedShortcut() const {
  PressedShortcut shortcut;
  int lastPressed = 0, pressedKeys = 0;
  for (int code = kFirstKeyCode; code <= kLastKeyCode; ++code) {
    if (!IsKeyPressed(code)) continue;
    lastPressed = code;
    ++pressedKeys;
    if (IsModifierKey(code)) {
      shortcut.set |= ModifierBit(code);
    } else {
      shortcut.key = static_cast<std::uint8_t>(code);
    }
  }
  if (pressedKeys == 1) {  // a lone modifier is a key of its own
    shortcut.key = static_cast<std::uint8_t>(lastPressed);
    shortcut.set = 0;
  }
  shortcut.text = ShortcutToText(shortcut.key, shortcut.set);
  return shortcut;
}

std::wstring TQvKeyboard::ShortcutToText(std::uint8_t key, ControlSet set) const {
  const std::wstring none = texts_ ? texts_(LangId(6), L"No text") : std::wstring(L"No text");
  return snibbet::ShortcutToText(key, set, [this](int code) { return KeyName(code); }, none);
}

std::wstring TQvKeyboard::KeyName(int code) const {
  if (!IsKeyCode(code)) return {};
  const TQvBtn* key = Button(code);
  const int nameCode = key && key->Linked() ? key->Linked()->Code() : code;
  const std::wstring name = NameOfCode(nameCode);
  return code == kVkRightShift || code == kVkRightCtrl ? L"R" + name : name;
}

std::wstring TQvKeyboard::NameOfCode(int code) const {
  if (!IsKeyCode(code)) return {};
  std::wstring name = keyNames_ ? keyNames_(code) : std::wstring();
  return name.empty() ? Widened(VirtualKeyName(code)) : name;
}

// ---- picture ----

void TQvKeyboard::Present() {
  if (painting_ && view_) view_->Present();
}

void TQvKeyboard::Redraw() {
  if (painting_ && view_) view_->Redraw();
}

// ---- free functions ----

void ReadKeyboardStateReleasingModifiers(KeyInputPort& input, KeyStateBytes& state) {
  input.ReadKeyboardState(state);
  auto release = [&](int code) {
    if (state[code] & 0x80) input.SendKey(static_cast<std::uint8_t>(code), true, IsExtendedKey(code));
    state[code] = 0;
  };
  for (const auto& pair : kModifierPairs) {
    state[pair.generic] = 0;
    release(pair.left);
    release(pair.right);
  }
  release(kVkLeftWin);
  release(kVkRightWin);
}

}  // namespace snibbet
