#pragma once
// The template pop-up: a topmost tool window, never activated, that lists the
// templates whose names begin with the typed search and previews the chosen
// one. The focus stays in the target application: every key reaches the
// pop-up through the program's keyboard hook, which hands each key-down to
// QueuePopupKey while TemplateViewActive is set.
#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/qv_form.h"
#include "templates/popup_keys.h"
#include "templates/popup_layout.h"
#include "templates/popup_preview.h"
#include "templates/popup_program_parts.h"
#include "templates/popup_system.h"
#include "templates/template_editor_port.h"
#include "templates/template_table.h"
#include "templates/wizard_window_port.h"
#include "ui/list_view.h"
#include "ui/paint_box.h"
#include "keyboard/keyboard_runtime.h"
#include "ui/drawn_parts.h"
#include "ui/timer.h"

namespace snibbet {

// TemplateViewActive() (keyboard/keyboard_runtime.h) is set while the pop-up
// shows; the keyboard hook and the message dispatch read it.

class TTemplateViewForm : public TQvForm, private PopupKeyTarget, private TemplateTableLink {
 public:
  // The program's own keys, typed word and paste over its parts, which
  // outlive the form; without an editor port the Edit button opens nothing.
  explicit TTemplateViewForm(const PopupProgramParts& program);
  // With the first-run wizard, over which the pop-up shows without taking the front.
  TTemplateViewForm(const PopupProgramParts& program, TemplateEditorPort& editor, WizardWindowPort& wizard);
  // Keys, typed word and paste of the given system.
  TTemplateViewForm(PopupSystem& system, const PopupProgramParts& program, TemplateEditorPort& editor);
  ~TTemplateViewForm() override;

  // The template dataset, shared with the editor and the settings window.
  TemplateTable& Templates() { return mdTemplates_; }

  // Opens the pop-up for the focused application: under its caret, else
  // centred on the monitor; the search pre-filled from the typed word. A
  // single match is pasted at once without the pop-up being seen.
  void ShowTemplateView();
  void HideView();
  // The hook's hand-off of a key-down: queued for the 10 ms timer. False (not
  // taken) while the pop-up does not show.
  bool QueuePopupKey(std::uint8_t vk);
  const std::wstring& Search() const { return searchText_; }
  // Lower-cases the text and filters the list by it.
  void SetSearch(std::wstring text);
  // Hides the pop-up and hands the current template to the paste.
  void PasteSelectedTemplate();
  // The Edit button, also the settings window's way to the editor: hides the
  // pop-up and opens the template editor on the current template.
  void btnEditClick();

  ui::ListView& Grid() { return gridTemplates_; }
  // Made on the first rich-text template: the rich edit library stays unloaded until then.
  PreviewRichEdit& RichPreview();
  PreviewMemo& TextPreview() { return memoTemplate_; }
  const PreviewPicture& Picture() const { return picture_; }
  // The buttons, the splitter and the size grip are drawn by the pop-up
  // itself: it shows in one frame with fewer windows to paint.
  const ui::DragArea& ListSplitter() const { return spltLeft_; }
  const ui::DragArea& Grip() const { return imgGrip_; }

  void ApplyLanguage() override;

 protected:
  void OnCreate() override;
  void OnDestroy() override;
  void OnSize(int clientWidth, int clientHeight) override;
  void OnHide() override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  TTemplateViewForm(std::unique_ptr<PopupSystem> own, PopupSystem* given, const PopupProgramParts& program,
                    TemplateEditorPort& editor, WizardWindowPort& wizard);

  // PopupKeyTarget
  std::wstring KeyText(std::uint8_t vk) override;
  bool CtrlShortcutHeld(std::uint8_t vk) override;
  void Resend(std::uint8_t vk) override;
  void ResendAsTyping(std::uint8_t vk) override;
  bool IsWordChar(std::wstring_view ch) override;
  bool Shown() override;
  const std::wstring& SearchText() override { return searchText_; }
  void SetSearchText(std::wstring text) override { SetSearch(std::move(text)); }
  void Hide() override { HideView(); }
  void Paste() override { PasteSelectedTemplate(); }
  void Move(PopupMove move) override;

  // TemplateTableLink
  void TableChanged() override;
  void CurrentRowChanged() override;

  // Unseen: shown above the screen for a paste at once, so nothing is painted.
  void ShowView(bool seen);
  void tmrFixTimer();
  void PasteWithInputBlocked();
  void RunQueuedKeys();
  void RefreshPreview();
  void ShowOnlyPreview(ui::Control& shown);
  std::vector<ui::Control*> PreviewViews();
  void PlaceInPreviewPanel(ui::Control& view);
  void SyncSelection();
  LRESULT DrawRow(NMLVCUSTOMDRAW& draw);
  void PaintPanels(HDC dc);
  std::array<ui::DrawnPart*, 5> DrawnParts();

  std::unique_ptr<PopupSystem> ownSystem_;  // the program's, unless one was given
  PopupSystem& system_;
  const PopupProgramParts program_;
  TemplateEditorPort& templateEditor_;
  WizardWindowPort& wizard_;
  TemplateTable mdTemplates_;
  ui::ListView gridTemplates_;
  PreviewMemo memoTemplate_;
  std::unique_ptr<PreviewRichEdit> editor_;
  ui::PaintBox imgPicture_;
  PreviewPicture picture_;
  ui::DrawnButton btnOk_;
  ui::DrawnButton btnClose_;
  ui::DrawnButton btnEdit_;
  ui::DragArea spltLeft_;
  ui::DragArea imgGrip_;
  ui::Timer tmrAction_;
  // Once the pop-up hid behind the wizard, the wizard's caret is shown again.
  ui::Timer tmrFix_;

  PopupKeyQueue queue_;
  std::wstring searchText_;
  std::wstring rowText_;  // the text handed to the list for one cell
  COLORREF selectionColor_ = 0;
  bool wheelCaptured_ = false;
  bool wizardInFront_ = false;  // shown while the wizard was in front
  int listWidth_ = 148;  // as the user left it; the layout may show it narrower
  int dragStartListWidth_ = 0;
  SIZE dragStartSize_{};
  PopupLayout layout_{};
};

}  // namespace snibbet
