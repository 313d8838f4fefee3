#pragma once
// What the template pop-up asks of the parts below it: the keys as the system
// and the key-state model see them, the word typed before it opened, and the
// paste of the chosen template. ProgramPopupSystem does all of it for the
// program; a test hands the pop-up its own.
#include <cstdint>
#include <string>

#include "templates/popup_program_parts.h"
#include "templates/template_paste_win.h"

namespace snibbet {

class PopupSystem {
 public:
  virtual ~PopupSystem() = default;
  virtual std::wstring KeyText(std::uint8_t vk) = 0;  // "" for a key without a character
  // Ctrl is held and makes the key a shortcut (CtrlShortcutHeld, keyboard/key_history.h).
  virtual bool CtrlShortcutHeld(std::uint8_t vk) = 0;
  virtual void Resend(std::uint8_t vk) = 0;           // the key-down typed into the target
  // The key-down typed into the target once the pop-up hid, as the user's
  // typing: the key history counts it into the next typed word.
  virtual void ResendAsTyping(std::uint8_t vk) = 0;
  // The word typed just before the pop-up opened; the key history is reset.
  virtual std::wstring TypedWord() = 0;
  // The paste of the chosen template, called once the pop-up has hidden, with
  // input blocked.
  virtual void PasteTemplate(const PopupPaste& paste) = 0;
};

class ProgramPopupSystem : public PopupSystem {
 public:
  // The parts outlive the system.
  explicit ProgramPopupSystem(const PopupProgramParts& program) : program_(program) {}

  // Through the key-state model when it exists: its key states and layout are
  // what the user typed into the target. Without it, the system's.
  std::wstring KeyText(std::uint8_t vk) override;
  bool CtrlShortcutHeld(std::uint8_t vk) override;
  void Resend(std::uint8_t vk) override;
  void ResendAsTyping(std::uint8_t vk) override;
  // Rebuilt from the key history through the key-state model (empty without one).
  std::wstring TypedWord() override;
  // The template paste on the real system.
  void PasteTemplate(const PopupPaste& paste) override;

 private:
  PopupProgramParts program_;
};

// The keyboard hook's bracket around the pop-up's own work: physical input
// held back from construction to destruction, whatever happens in between.
class PopupInputBlock {
 public:
  PopupInputBlock();
  ~PopupInputBlock();
  PopupInputBlock(const PopupInputBlock&) = delete;
  PopupInputBlock& operator=(const PopupInputBlock&) = delete;
};

}  // namespace snibbet
