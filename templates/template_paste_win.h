#pragma once
// The template paste on the real system: the key-state model, the pop-up's
// previews and synthetic keys; the clipboard steps through the monitor. GUI thread only.
#include <string>

#include "templates/template_paste.h"

namespace snibbet {

class WindowsPasteSystem final : public PasteSystem {
 public:
  // The clipboard steps of the tag paste.
  explicit WindowsPasteSystem(ClipboardPasteSteps& clipboard) : clipboard_(clipboard) {}

  void BeginOwnInput() override;
  void EndOwnInput() override;
  void ResetKeyHistory() override;
  bool TargetInFront() override;
  void TypeKey(std::uint8_t virtualKey) override;
  void Beep() override;
  void ExpandAndPaste(std::string_view templateText) override;
  std::wstring RichPreviewText() override;
  bool PutRichText(std::wstring_view plain, std::string_view rtf) override;
  void PlaceCaretAtMarker(std::wstring_view text, bool isRichText) override;
  bool WizardIsForeground() override;
  bool PutPicture() override;

 private:
  ClipboardPasteSteps& clipboard_;
};

// The pop-up's paste of its current template.
void PasteTemplateFromPopup(const TemplateRecord& record, const std::wstring& searchText);

}  // namespace snibbet
