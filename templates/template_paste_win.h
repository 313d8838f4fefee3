#pragma once
// The template paste on the real system: the key-state model, the pop-up's
// picture and synthetic keys; the clipboard steps through the monitor. GUI thread only.
#include <string>

#include "templates/popup_program_parts.h"
#include "templates/template_paste.h"
#include "templates/wizard_window_port.h"

namespace snibbet {

class PreviewPicture;

// What the pop-up hands the paste: its choice, and the picture its preview
// loaded and the wizard it shows over, both alive for the paste.
struct PopupPaste {
  PasteRequest request;
  const PreviewPicture& picture;
  WizardWindowPort& wizard;
};

class WindowsPasteSystem final : public PasteSystem {
 public:
  // The clipboard steps of the tag paste; the picture, the wizard and the
  // program's parts outlive the system.
  WindowsPasteSystem(ClipboardPasteSteps& clipboard, const PreviewPicture& picture, WizardWindowPort& wizard,
                     const PopupProgramParts& program)
      : clipboard_(clipboard), picture_(picture), wizard_(wizard), program_(program) {}

  void BeginOwnInput() override;
  void EndOwnInput() override;
  void ResetKeyHistory() override;
  bool TargetInFront() override;
  void TypeKey(std::uint8_t virtualKey) override;
  void Beep() override;
  void ExpandAndPaste(std::string_view templateText) override;
  bool PutRichText(std::wstring_view plain, std::string_view rtf) override;
  void PlaceCaretAtMarker(std::wstring_view text, bool isRichText) override;
  bool WizardIsForeground() override;
  bool PutPicture() override;

 private:
  ClipboardPasteSteps& clipboard_;
  const PreviewPicture& picture_;
  WizardWindowPort& wizard_;
  PopupProgramParts program_;
};

// The pop-up's paste of its current template.
void PasteTemplateFromPopup(const PopupPaste& paste, const PopupProgramParts& program);

}  // namespace snibbet
