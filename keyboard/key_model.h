#pragma once
// The key-state model: which keys exist, which are held, the modifier sets
// and lock states that follow from them, and what each key types in the
// current keyboard layout. The keyboard hook feeds it; the binding list, the
// executor, the template pop-up and the hotkey capture read it; the keyboard
// view draws it. Window-free: the system sits behind KeyboardLayoutService
// and KeyInputPort, the picture behind KeyboardView.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "keyboard/char_tables.h"
#include "core/control_set.h"
#include "core/key_classes.h"
#include "core/keyboard_layout_service.h"
#include "keyboard/layout_file.h"

namespace snibbet {

class TQvKeyboard;
class TQvIcons;

// What the model tells the picture. Called only while painting is on.
class KeyboardView {
 public:
  virtual ~KeyboardView() = default;
  virtual void DrawKey(int code) = 0;  // one key changed its look
  virtual void Redraw() = 0;           // everything (modifiers and lock keys change every key)
  virtual void Present() = 0;          // bring the picture to the screen
};

// One key of the model.
class TQvBtn {
 public:
  TQvBtn(TQvKeyboard& keyboard, std::uint8_t code, KeyShape points);
  TQvBtn(const TQvBtn&) = delete;
  TQvBtn& operator=(const TQvBtn&) = delete;

  std::uint8_t Code() const { return code_; }
  bool Pressed() const { return pressed_; }
  // Updates the state bytes, the pressed count and the modifier sets; nothing when unchanged.
  void SetPressed(bool pressed);
  bool Highlighted() const { return highlighted_; }
  void SetHighlighted(bool highlighted);
  // The key the US English layout puts on the same physical key (itself
  // unless a layout moved it); none while another key took its place.
  TQvBtn* Linked() const { return linked_; }
  // Also records in the keyboard's linked-key map which key now sits on `linked`.
  void SetLinked(TQvBtn* linked);
  bool Extended() const { return extended_; }
  void SetExtended(bool extended) { extended_ = extended; }
  const KeyShape& Points() const { return points_; }
  bool IsModifier() const { return IsModifierKey(code_); }
  bool IsPrintable() const { return IsPrintableKey(code_); }
  TQvKeyboard& Keyboard() const { return keyboard_; }

 private:
  friend class TQvKeyboard;
  TQvKeyboard& keyboard_;
  std::uint8_t code_;
  bool pressed_ = false;
  bool highlighted_ = false;
  TQvBtn* linked_;
  bool extended_;
  KeyShape points_;
};

struct PressedShortcut {
  std::uint8_t key = 0;
  ControlSet set = 0;
  std::wstring text;
};

class TQvKeyboard {
 public:
  // Display name of a code as the settings show it (before any "R").
  using KeyNameSource = std::function<std::wstring(int code)>;
  // A language text by number, with its English fallback.
  using TextSource = std::function<std::wstring(int number, const std::wstring& fallback)>;

  // The current layout starts as the foreground window's. `tables` is the
  // process-wide cache unless given.
  TQvKeyboard(KeyboardLayoutService& layouts, KeyInputPort& input, CharTableCache* tables = nullptr);
  TQvKeyboard(const TQvKeyboard&) = delete;
  TQvKeyboard& operator=(const TQvKeyboard&) = delete;

  void SetKeyNameSource(KeyNameSource source) { keyNames_ = std::move(source); }
  void SetTextSource(TextSource source) { texts_ = std::move(source); }

  // Keys: a key for every code the layout gives a shape and every other code
  // with a name in the key-name table. Replaces all keys (nothing is held
  // afterwards), relinks them and builds the character table.
  void ApplyLayout(const KeyboardLayoutFile& layout, std::wstring layoutName);
  void ClearLayout();
  // The key of a code; null for codes without a key and outside 1..255.
  TQvBtn* Button(int code) const;
  const std::wstring& LayoutName() const { return layoutName_; }
  const KeyboardLayoutFile& Layout() const { return layoutFile_; }

  bool Active() const { return active_; }
  // Turning on resynchronises with the system: every key up, modifiers held
  // in the system released there, lock states read.
  void SetActive(bool active);

  // Painting is off at start: the view is hidden until a window shows it.
  // Turning it on redraws everything.
  bool Painting() const { return painting_; }
  void SetPainting(bool painting);
  void SetView(KeyboardView* view) { view_ = view; }
  KeyboardView* View() const { return view_; }
  // The icon set of the application in front, which the view draws on the
  // keys; none: null. Not owned. A change redraws the view.
  void SetAppIcons(const TQvIcons* set);
  const TQvIcons* AppIcons() const { return appIcons_; }

  LayoutHandle CurrentLayout() const { return layout_; }
  // Handles of 0xFFFF and below are not layouts and are ignored.
  void SetLayout(LayoutHandle layout);
  void RemapKeysForLayout();
  void BuildCharTable();
  // The character key `code` gives under the model's Shift, Ctrl, Alt and CapsLock.
  wchar_t CharOfKey(int code) const;
  // The same with Ctrl left out (the view's lone-Ctrl rule).
  wchar_t CharOfKeyWithoutCtrl(int code) const;

  void SetKeyPressed(int code, bool pressed);
  bool IsKeyPressed(int code) const;
  void ReleaseAllKeys();
  void UpdateControlSet();
  bool AnyModifierPressed() const;
  // The hook's auto-repeat filter undone: a lock key's toggle flipped back.
  void FlipLockState(int code);

  PressedShortcut GetPressedShortcut() const;
  std::wstring ShortcutToText(std::uint8_t key, ControlSet set) const;
  // The name of the key on the US-layout position the key sits on; "R" before
  // right Shift and right Ctrl.
  std::wstring KeyName(int code) const;
  // The name of exactly this code, as the settings give it (the key-name table when they give none).
  std::wstring NameOfCode(int code) const;

  // Around the program's own typing. Keys held at the save go down again at
  // the restore unless the user let go of them in between, which the hook
  // tells with NoteUserRelease (our own key-ups do not count).
  void SaveHeldKeys();
  void ReleaseHeldKeys();
  void RestoreHeldKeys(bool modifiersOnly);
  void BeginOwnInput();
  void EndOwnInput();
  bool OwnInput() const { return ownInputDepth_ > 0; }
  void NoteUserRelease(int code) {
    if (IsKeyCode(code)) releasedByUser_[code] = true;
  }
  // A key the template pop-up held back goes to the target after all; its
  // release too when the model shows the user let go of it meanwhile.
  void ResendKey(int code);

  int PressedCount() const { return pressedCount_; }
  ControlSet GetControlSet() const { return controlSet_; }
  ControlSet SideLessSet() const { return sideLessSet_; }
  const KeyStateBytes& KeyState() const { return keyState_; }
  // For a US-layout code, the code of the key that now sits there.
  std::uint8_t LinkedKeyMap(int code) const { return IsKeyCode(code) ? linkedKeyMap_[code] : 0; }
  bool HeldSnapshot(int code) const { return IsKeyCode(code) && heldSnapshot_[code]; }
  KeyboardLayoutService& LayoutService() const { return layouts_; }
  KeyInputPort& Input() const { return input_; }

  // Present the picture (after the hook handled an event).
  void Present();
  void Redraw();

 private:
  friend class TQvBtn;
  void KeyPressedChanged(TQvBtn& key);
  std::unique_ptr<TQvBtn>& Slot(int code) { return buttons_[static_cast<std::size_t>(code)]; }
  void RelinkLettersTo(LayoutHandle usLayout);

  KeyboardLayoutService& layouts_;
  KeyInputPort& input_;
  CharTableCache& tables_;
  KeyboardView* view_ = nullptr;
  const TQvIcons* appIcons_ = nullptr;
  KeyNameSource keyNames_;
  TextSource texts_;

  bool active_ = false;
  bool painting_ = false;
  LayoutHandle layout_ = 0;
  const CharTable* charTable_ = nullptr;
  int pressedCount_ = 0;
  std::array<bool, 256> heldSnapshot_{};
  std::array<bool, 256> releasedByUser_{};  // since the last SaveHeldKeys
  bool savedPainting_ = false;
  int ownInputDepth_ = 0;
  std::array<std::unique_ptr<TQvBtn>, 256> buttons_;
  std::array<std::uint8_t, 256> linkedKeyMap_{};
  ControlSet sideLessSet_ = 0;
  ControlSet controlSet_ = 0;
  KeyStateBytes keyState_{};
  std::wstring layoutName_;
  KeyboardLayoutFile layoutFile_;
};

// Reads the calling thread's keyboard state into `state`, and releases in the
// system every side-specific modifier it shows down; the modifier bytes (and
// the generic Shift, Ctrl, Alt bytes) come back 0, lock toggles as read.
void ReadKeyboardStateReleasingModifiers(KeyInputPort& input, KeyStateBytes& state);

}  // namespace snibbet
