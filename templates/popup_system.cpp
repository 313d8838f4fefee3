#include "templates/popup_system.h"

#include <windows.h>

#include <array>

#include "core/preset.h"
#include "core/synthetic_input.h"
#include "core/key_classes.h"
#include "keyboard/key_history.h"
#include "keyboard/key_model.h"
#include "keyboard/keyboard_runtime.h"

namespace snibbet {

std::wstring ProgramPopupSystem::KeyText(std::uint8_t vk) {
  if (const TQvKeyboard* model = program_.KeyModel())
    return model->LayoutService().KeyText(vk, model->KeyState(), model->CurrentLayout());
  std::array<BYTE, 256> state{};
  for (int key : {VK_SHIFT, VK_CONTROL, VK_MENU})
    if (GetAsyncKeyState(key) < 0) state[static_cast<std::size_t>(key)] = 0x80;
  state[VK_CAPITAL] = static_cast<BYTE>(GetKeyState(VK_CAPITAL) & 1);
  const DWORD thread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
  return KeyToUnicodeString(vk, state, GetKeyboardLayout(thread));
}

bool ProgramPopupSystem::CtrlShortcutHeld(std::uint8_t vk) {
  if (const TQvKeyboard* model = program_.KeyModel()) return snibbet::CtrlShortcutHeld(*model, vk);
  return GetAsyncKeyState(VK_CONTROL) < 0;
}

void ProgramPopupSystem::Resend(std::uint8_t vk) {
  if (TQvKeyboard* model = program_.KeyModel()) {
    model->ResendKey(vk);
  } else {
    SendKey(vk, false, IsExtendedKey(vk));
  }
}

void ProgramPopupSystem::ResendAsTyping(std::uint8_t vk) {
  if (program_.keyboard) {
    program_.keyboard->Hook().TypeHeldBackKey(vk);
  } else {
    SendKey(vk, false, IsExtendedKey(vk));
  }
}

std::wstring ProgramPopupSystem::TypedWord() {
  if (!program_.keyboard) return {};
  TKeyHistory& history = program_.keyboard->Hook().History();
  const TPreset* preset = program_.settings;
  std::wstring word =
      RebuildTypedWord(history, program_.keyboard->Model(), preset ? preset->TemplatesBreaks() : std::wstring());
  history.Reset();
  return word;
}

void ProgramPopupSystem::PasteTemplate(const PopupPaste& paste) { PasteTemplateFromPopup(paste, program_); }

// The hook's own bracket: it also lets the program's own keys pass the hook.
PopupInputBlock::PopupInputBlock() { BeginInputBlock(); }

PopupInputBlock::~PopupInputBlock() {
  try {
    EndInputBlock();
  } catch (...) {
    // A destructor must not throw; the helper's own time-out ends a lost block.
  }
}

}  // namespace snibbet
