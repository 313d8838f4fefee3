#pragma once
// The key model's view of the real system: keyboard layouts through the
// user32 layout functions, key events through SendInput.
#include "core/keyboard_layout_service.h"

namespace snibbet {

class SystemKeyboardLayouts : public KeyboardLayoutService {
 public:
  std::vector<LayoutHandle> InstalledLayouts() override;
  LayoutHandle LoadLayout(std::wstring_view name) override;
  void UnloadLayout(LayoutHandle layout) override;
  LayoutHandle ForegroundLayout() override;
  unsigned VirtualKeyToScanCode(unsigned code, LayoutHandle layout) override;
  unsigned ScanCodeToVirtualKey(unsigned scanCode, LayoutHandle layout) override;
  // Blanks are characters here (Space must count as a word break); control
  // characters are not. A dead key gives "" and leaves no dead-key state behind.
  std::wstring KeyText(unsigned code, const KeyStateBytes& state, LayoutHandle layout) override;
  wchar_t KeyChar(unsigned code, const KeyStateBytes& state, LayoutHandle layout) override;
  // The system's name of the language (locale information item 2).
  std::wstring LanguageName(std::uint16_t languageId) override;
};

class SystemKeyInput : public KeyInputPort {
 public:
  void SendKey(std::uint8_t code, bool keyUp, bool extended) override;
  void ReleaseEscKey() override;
  void ReadKeyboardState(KeyStateBytes& state) override;
  bool SystemHoldsKey(std::uint8_t code) override;
};

}  // namespace snibbet
