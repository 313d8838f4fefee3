#pragma once
// The first-run wizard: a list of steps on the left, one page per step under
// a coloured header on the right, and a row of buttons. It lets a new user
// choose the interface language and start-with-Windows, try the template
// hotkey in a text box of its own, and leads to the settings window.
//
// Every choice takes effect at once through the settings object, as in the
// settings window; there is no cancel. It has its own taskbar button, is
// freed when closed, and at most one exists (OpenWindows::Wizard()).
#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "core/qv_form.h"
#include "dialogs/settings_form.h"
#include "dialogs/wizard_logic.h"
#include "ui/application.h"
#include "ui/button.h"
#include "ui/check_box.h"
#include "ui/combo_box.h"
#include "ui/gdi.h"
#include "ui/gradient_header.h"
#include "ui/image_combo_box.h"
#include "ui/image_list.h"
#include "ui/label.h"
#include "ui/paint_box.h"
#include "ui/rich_edit.h"
#include "ui/tree_view.h"

namespace snibbet {

class TemplateTable;

// What the wizard asks of the program around it (the hub fills it).
class WizardPort {
 public:
  virtual ~WizardPort() = default;
  // The tray's settings and binding-setup items, enabled again when the wizard goes.
  virtual void EnableSettingsMenuItems(bool enabled) = 0;
  // What depends on the bindings must be rebuilt.
  virtual void BindingsChanged() = 0;
  // The flag pictures of the language list; null: none.
  virtual const ui::ImageList* LanguageFlags() = 0;
  // The template pop-up's templates, which the samples go into; null: none.
  virtual TemplateTable* Templates() = 0;
  // The tray's settings command.
  virtual void OpenSettings() = 0;
  // The manual check for a newer version, with its messages.
  virtual void CheckNewVersion() = 0;
};

class TWizardForm : public TQvForm, private ui::MessageWatcher {
 public:
  static constexpr const wchar_t* kClassName = L"TWizardForm";
  static constexpr int kHelpContext = 20;
  // The offered steps, by their place in the step list.
  enum Step { kWelcome, kTemplatesDemo, kFinish, kStepCount };

  // The system's side (questions, error boxes, the options program) is the
  // settings window's; the proposals and the demo texts read the parts'
  // bindings, and the wizard names itself in their open windows while it exists.
  TWizardForm(WizardPort& program, const DialogParts& parts, SettingsFormSystem& system);
  ~TWizardForm() override;

  void ApplyLanguage() override;

  // The step shown; -1 while none is selected.
  int CurrentStep() const;
  // Each step's picture in list order (WizardStepImage).
  std::vector<int> StepImages() const;
  bool StartWithWindowsRunning() const { return optionsRunning_; }
  const std::vector<WizardProposal>& Proposals() const { return proposals_; }

  // --- handlers ---
  bool tvListChanging(ui::TreeView::Node node);
  void tvListChange(ui::TreeView::Node node);
  void btnNextClick();
  void btnPriorClick();
  void btnCloseClick();
  void btnSettingsClick();
  void btnHelpClick();
  void cbLanguageChange();
  void chkStartWithWindowsClick();
  void btnCheckNewVersionClick();

  // --- the frame ---
  ui::TreeView tvList{*this, {.name = L"tvList", .left = 8, .top = 8, .width = 145, .height = 372,
                              .style = TVS_FULLROWSELECT | TVS_TRACKSELECT | TVS_SHOWSELALWAYS}};
  ui::GradientHeader pnlInfo{*this, {.name = L"pnlInfo", .left = 169, .top = 8, .width = 443, .height = 25}};
  ui::Button btnSettings{*this, {.name = L"btnSettings", .left = 8, .top = 397, .width = 145, .height = 25}};
  ui::Button btnPrior{*this, {.name = L"btnPrior", .left = 294, .top = 397, .width = 75, .height = 25}};
  // Enter presses Next, Esc Close.
  ui::Button btnNext{*this, {.name = L"btnNext", .id = IDOK, .left = 375, .top = 397, .width = 75, .height = 25}, 0,
                     true};
  ui::Button btnClose{*this, {.name = L"btnClose", .id = IDCANCEL, .left = 456, .top = 397, .width = 75,
                              .height = 25}};
  ui::Button btnHelp{*this, {.name = L"btnHelp", .left = 537, .top = 397, .width = 75, .height = 25}};

  // --- Welcome ---
  ui::PaintBox imgLogo{*this, {.name = L"imgLogo", .left = 169, .top = 33, .width = 443, .height = 64}};
  ui::Label memoInfoStart{*this, {.name = L"memoInfoStart", .left = 181, .top = 107, .width = 419, .height = 96,
                                  .style = SS_NOPREFIX}};
  ui::Label lblLanguage{*this, {.name = L"lblLanguage", .left = 181, .top = 212, .width = 419, .height = 15}};
  ui::ImageComboBox cbLanguage{*this, {.name = L"cbLanguage", .left = 181, .top = 230, .width = 250, .height = 260}};
  ui::PaintBox imgSecurity1{*this, {.name = L"imgSecurity1", .left = 181, .top = 270, .width = 16, .height = 16}};
  ui::CheckBox chkStartWithWindows{*this, {.name = L"chkStartWithWindows", .left = 203, .top = 268, .width = 397,
                                           .height = 19}};
  ui::Button btnCheckNewVersion{*this, {.name = L"btnCheckNewVersion", .left = 181, .top = 304, .width = 220,
                                        .height = 25}};

  // --- Templates demo ---
  ui::Label memoInfoTemplates{*this, {.name = L"memoInfoTemplates", .left = 181, .top = 45, .width = 419,
                                      .height = 105, .style = SS_NOPREFIX}};
  ui::RichEdit rtfTemplates{*this, {.name = L"rtfTemplates", .left = 181, .top = 158, .width = 419, .height = 210,
                                    .style = WS_VSCROLL | ES_WANTRETURN}};

  // --- Finish ---
  ui::Label memoInfoFinish{*this, {.name = L"memoInfoFinish", .left = 181, .top = 45, .width = 419, .height = 320,
                                   .style = SS_NOPREFIX}};

  // --- the steps that are not offered: what the texts and settings still reach ---
  ui::Label memoInfoSwitcher{*this, {.name = L"memoInfoSwitcher", .visible = false}};
  ui::Label memoInfoClipboard{*this, {.name = L"memoInfoClipboard", .visible = false}};
  ui::Label memoFullScreen{*this, {.name = L"memoFullScreen", .visible = false}};
  ui::Label lblName{*this, {.name = L"lblName", .visible = false}};
  ui::Label lblKeyboardDescription{*this, {.name = L"lblKeyboardDescription", .visible = false}};
  ui::ComboBox cbColors{*this, {.name = L"cbColors", .width = 200, .height = 200, .visible = false}};
  ui::CheckBox chkKeyboardAutoHide{*this, {.name = L"chkKeyboardAutoHide", .visible = false}};
  ui::Button btnSelectActionsAll{*this, {.name = L"btnSelectActionsAll", .visible = false}};
  ui::Button btnPrint{*this, {.name = L"btnPrint", .visible = false}};

 protected:
  void OnCreate() override;
  void OnShow() override;
  bool CanClose() override;
  void OnClose(ui::CloseAction& action) override;
  void OnDestroy() override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // Every mouse button going down anywhere in the program starts a new typed word.
  void WatchMessage(const MSG& msg) override;

  void LoadStartPage();
  void UpdateStepHeader();
  void FillDemoTexts();
  void FillProposals(bool selectAll);
  void ShowStepPage(int step);
  int StepOf(ui::TreeView::Node node) const;
  ui::TreeView::Node NodeAt(int step) const;
  void ApplyFrameColours();
  void PaintFrame(HDC dc);
  void PaintLogo(HDC dc, const RECT& client) const;

  WizardPort& program_;
  const DialogParts& parts_;
  TPreset& preset_;
  TQvActions& bindings_;
  SettingsFormSystem& system_;
  ui::MessageWatch watch_{*this};
  bool loading_ = false;
  bool optionsRunning_ = false;  // the options program runs and is waited for
  std::array<std::vector<ui::Control*>, kStepCount> pages_{};
  std::vector<WizardProposal> proposals_;
  ui::ImageList stepImages_;
  ui::Bitmap banner_;
  ui::Brush faceBrush_;
};

// Brings the open wizard (the parts' open windows name it) to the top, or
// creates and shows it.
TWizardForm& ShowWizard(WizardPort& program, const DialogParts& parts, SettingsFormSystem& system);

}  // namespace snibbet
