#pragma once
// The template paste on the real system: the clipboard monitor, the
// key-state model, the pop-up's previews and synthetic keys. GUI thread only.
#include <string>

#include "templates/template_paste.h"

namespace snibbet {

class WindowsPasteSystem final : public PasteSystem {
 public:
  bool ClipboardHasData() override;
  bool SaveBeforePaste() override;
  void RestoreAfterPaste() override;
  void SetMonitoring(bool on) override;
  void ResetClipboardChanged() override;
  void WaitForClipboardChange() override;
  void SendPasteKeys() override;
  void BeginOwnInput() override;
  void EndOwnInput() override;
  void ResetKeyHistory() override;
  void TypeKey(std::uint8_t virtualKey) override;
  void Beep() override;
  void ExpandAndPaste(std::string_view templateText) override;
  std::wstring RichPreviewText() override;
  bool PutRichText(std::wstring_view plain, std::string_view rtf) override;
  void PlaceCaretAtMarker(std::wstring_view text, bool isRichText) override;
  bool WizardIsForeground() override;
  bool PutPicture() override;
};

// The pop-up's paste of its current template.
void PasteTemplateFromPopup(const TemplateRecord& record, const std::wstring& searchText);

// The tag paste reaches the clipboard monitor and the key-state model.
void WireTagPasteHooks();

}  // namespace snibbet
