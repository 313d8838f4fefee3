#pragma once
// What the key model asks of the system: keyboard layouts and the characters
// keys give in them, and key events sent into the focused window. Both sit
// behind small interfaces so the model can run over fakes (a test cannot make
// the system load an arbitrary layout). Window-free.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/key_classes.h"

namespace snibbet {

// A keyboard-layout handle as a number; 0 is none.
using LayoutHandle = std::uintptr_t;

inline constexpr LayoutHandle kUsEnglishLayout = 0x04090409;
inline constexpr std::wstring_view kUsEnglishLayoutName = L"04090409";

class KeyboardLayoutService {
 public:
  virtual ~KeyboardLayoutService() = default;

  // The installed layouts, at most 40.
  virtual std::vector<LayoutHandle> InstalledLayouts() = 0;
  // Loads a layout by its name ("04090409") without activating it; 0 on failure.
  virtual LayoutHandle LoadLayout(std::wstring_view name) = 0;
  virtual void UnloadLayout(LayoutHandle layout) = 0;
  // The layout of the foreground window's thread.
  virtual LayoutHandle ForegroundLayout() = 0;

  // The scan code of a key code in `layout`; 0 when it has none.
  virtual unsigned VirtualKeyToScanCode(unsigned code, LayoutHandle layout) = 0;
  // The key code of a scan code in `layout`, telling left and right apart; 0 when none.
  virtual unsigned ScanCodeToVirtualKey(unsigned scanCode, LayoutHandle layout) = 0;

  // The text a key types under `state`: one character, or "" when none.
  virtual std::wstring KeyText(unsigned code, const KeyStateBytes& state, LayoutHandle layout) = 0;
  // Like KeyText, but a blank when none; a dead key gives its own character.
  virtual wchar_t KeyChar(unsigned code, const KeyStateBytes& state, LayoutHandle layout) = 0;

  // The name of a layout's language (its language id); "" unless the system knows it.
  virtual std::wstring LanguageName(std::uint16_t) { return {}; }
};

class KeyInputPort {
 public:
  virtual ~KeyInputPort() = default;

  // One key event into the focused window.
  virtual void SendKey(std::uint8_t code, bool keyUp, bool extended) = 0;
  // An Esc key-up and a short pause, so a Win or Alt tap opens no menu.
  virtual void ReleaseEscKey() = 0;
  // The calling thread's keyboard state.
  virtual void ReadKeyboardState(KeyStateBytes& state) = 0;
  // Whether the system shows the key down now, whoever pressed it.
  virtual bool SystemHoldsKey(std::uint8_t code) = 0;
};

}  // namespace snibbet
