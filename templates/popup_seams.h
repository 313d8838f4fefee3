#pragma once
// What the template pop-up asks of other parts of the program. Each seam has
// a stand-in, so the pop-up works on its own (and in tests); the program
// wires the real ones at start-up.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "templates/template_record.h"

namespace snibbet {

// The keys as the system and the key-state model see them.
class PopupKeySystem {
 public:
  virtual ~PopupKeySystem() = default;
  virtual std::wstring KeyText(std::uint8_t vk) = 0;  // "" for a key without a character
  virtual bool CtrlHeld() = 0;
  virtual void Resend(std::uint8_t vk) = 0;           // the key-down typed into the target
};

struct TemplateViewSeams {
  // The paste of the chosen template, called once the pop-up has hidden, with
  // input blocked. Stand-in: nothing is pasted.
  std::function<void(const TemplateRecord& record, const std::wstring& searchText)> pasteSelectedTemplate;
  // The word typed just before the pop-up opened. Stand-in: rebuilt from the
  // key history through the key-state model (empty without one); the history
  // is reset either way.
  std::function<std::wstring()> typedWord;
  // Physical input held back around the pop-up's own work. Stand-ins: 1208
  // and 1209 to the input helper.
  std::function<void()> beginInputBlock;
  std::function<void()> endInputBlock;
  // Stand-in: the key-state model when there is one, else the system.
  std::shared_ptr<PopupKeySystem> keys;
};

// The process-wide seams, filled with the stand-ins.
TemplateViewSeams& PopupSeams();
// Puts every stand-in back (tests).
void ResetPopupSeams();

// Ends the input block begun on construction, whatever happens in between.
class PopupInputBlock {
 public:
  PopupInputBlock();
  ~PopupInputBlock();
  PopupInputBlock(const PopupInputBlock&) = delete;
  PopupInputBlock& operator=(const PopupInputBlock&) = delete;
};

}  // namespace snibbet
