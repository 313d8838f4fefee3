#pragma once
// The settings window: a tree of pages on the left, the chosen page under a
// coloured header and an info box on the right, and a row of buttons.
//
// Every change the user makes goes at once to the setting's setter, which
// applies it to the running program, and enables Apply. The settings store is
// the undo point: saved when the window shows, after each Apply and after
// Default; closing without Apply loads it back through the setters. Apply
// also runs the options program for start-with-Windows and the shell
// extension, which live in machine-wide parts of the registry.
//
// Created when opened and freed when closed; at most one exists.
#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "clipboard/history_index.h"
#include "core/control_set.h"
#include "core/info_frame.h"
#include "core/message_boxes.h"
#include "core/qv_form.h"
#include "dialogs/dialog_parts.h"
#include "dialogs/options_program.h"
#include "dialogs/settings_page_host.h"
#include "dialogs/sounds_page.h"
#include "keyboard/actions.h"
#include "ui/button.h"
#include "ui/check_box.h"
#include "ui/check_list_box.h"
#include "ui/combo_box.h"
#include "ui/edit.h"
#include "ui/gdi.h"
#include "ui/gradient_header.h"
#include "ui/image_combo_box.h"
#include "ui/label.h"
#include "ui/list_box.h"
#include "ui/list_view.h"
#include "ui/paint_box.h"
#include "ui/spin_edit.h"
#include "ui/tool_tips.h"
#include "ui/track_bar.h"
#include "ui/tree_view.h"
#include "ui/window_subclass.h"

namespace ui {
class ImageList;
}

namespace snibbet {

class TemplateTable;
class TPreset;

// What the window asks of the program around it (the hub fills it).
class SettingsWindowPort {
 public:
  virtual ~SettingsWindowPort() = default;
  // The tray's settings and binding-setup items, disabled while the window exists.
  virtual void EnableSettingsMenuItems(bool enabled) = 0;
  // An apply changed what the bindings may depend on.
  virtual void BindingsChanged() = 0;
  // The flag pictures of the language list; null: none.
  virtual const ui::ImageList* LanguageFlags() = 0;
  // The pictures beside the Sounds page's events; null: none.
  virtual const ui::ImageList* EventPictures() = 0;
  // The template pop-up's templates, which the template sets go into; null: none.
  virtual TemplateTable* Templates() = 0;
  // The template editor, opened as the pop-up's Edit button opens it.
  virtual void OpenTemplateEditor() = 0;
  // The first-run wizard: whether it is open, bringing it to the top, and
  // creating and showing it (false when the program has none).
  virtual bool WizardOpen() = 0;
  virtual void BringWizardToFront() = 0;
  virtual bool OpenWizard() = 0;
};

// The window on its own, with none of the program's parts behind it (the
// look program and the benchmark).
class NoProgramParts final : public SettingsWindowPort {
 public:
  void EnableSettingsMenuItems(bool) override {}
  void BindingsChanged() override {}
  const ui::ImageList* LanguageFlags() override { return nullptr; }
  const ui::ImageList* EventPictures() override { return nullptr; }
  TemplateTable* Templates() override { return nullptr; }
  void OpenTemplateEditor() override {}
  bool WizardOpen() override { return false; }
  void BringWizardToFront() override {}
  bool OpenWizard() override { return false; }
};

// What the window asks of the system: the questions and error boxes, the
// hotkey capture, and the options program with the states it reads back.
class SettingsFormSystem : public OptionsProgramSystem {
 public:
  virtual bool AskYesNo(const std::wstring& text) = 0;
  virtual Answer AskSaveChangesOnClose() = 0;
  virtual void ShowError(const std::wstring& text) = 0;
  virtual bool QueryShortcutKey(std::uint8_t& key, ControlSet& set) = 0;
};

// The real one: the program's message boxes, the hotkey capture dialog on
// the parts' key-state model, RunElevated, the registry and PumpMessagesFor.
class ProgramSettingsFormSystem final : public SettingsFormSystem {
 public:
  explicit ProgramSettingsFormSystem(const DialogParts& parts) : parts_(parts) {}

  void RunElevated(const std::wstring& file, const std::wstring& parameters) override;
  OptionsStates ReadOptionsStates() override;
  bool Wait(DWORD ms) override;
  bool AskYesNo(const std::wstring& text) override;
  Answer AskSaveChangesOnClose() override;
  void ShowError(const std::wstring& text) override;
  bool QueryShortcutKey(std::uint8_t& key, ControlSet& set) override;

 private:
  const DialogParts& parts_;
};

// The names of the five template sets and the four binding sets, by list index.
std::wstring TemplateSetName(int index);  // "" outside the sets
std::wstring ActionSetName(int index);

// A keyboard layout as the layout lists show it: its language's name, then
// the handle as eight upper-case hexadecimal digits in brackets.
std::wstring KeyboardLayoutItemText(const std::wstring& languageName, HKL layout);

class TMainForm : public TQvForm, public SettingsPageHost {
 public:
  static constexpr const wchar_t* kClassName = L"TMainForm";
  static constexpr int kPageCount = 16;
  static constexpr int kNodeCount = 12;
  // Pages by their index; a node's image index names the page it shows.
  enum Page {
    tsMain, tsTheme, tsShortcuts, tsKeyboard, tsClipboard, tsTaskSwitch, tsProcessHistory, tsTemplates,
    tsLang, tsIcons, tsSounds, tsOther, tsSCKeyboard, tsSCTemplates, tsSCClipboard, tsSCSwitcher
  };
  // Where the pages lie, in the form's client area at 96 DPI.
  static constexpr RECT kPageArea{178, 84, 623, 387};
  static constexpr int kMaxKeyboardLayouts = 10;

  // The parts' binding list is the one the binding sets are added to and
  // removed from; the window names itself in their open windows while it exists.
  TMainForm(SettingsWindowPort& program, const DialogParts& parts, SettingsFormSystem& system);
  ~TMainForm() override;

  void ApplyLanguage() override;

  // SettingsPageHost: the fill's flag, and a change by the user.
  bool Loading() const override { return loading_; }
  void OptionsChanged() override;

  // The first node whose fixed identity is `identity`; null when it is gone.
  ui::TreeView::Node FindPageNode(int identity) const;
  void UpdatePageHeader();
  void LoadSettingsToControls();
  void ShowShortcutTexts();
  // Stores the settings and runs the options program when its boxes changed;
  // false, with the error shown, when either fails. Nothing while one runs.
  bool ApplySettings();
  bool Applying() const { return applying_; }
  bool OptionsProgramDue() const { return optionsProgramDue_; }
  bool PageVisible(int page) const { return pageVisible_[static_cast<std::size_t>(page)]; }
  const std::vector<HKL>& KeyboardLayouts() const { return keyboardLayouts_; }

  // The installed keyboard layouts (at most ten) as the layout lists show
  // them; KeyboardLayouts() takes their handles.
  std::vector<std::wstring> FillKeyboardLayoutList();
  std::wstring TemplateSetFileName() const;
  std::wstring ActionSetFileName() const;
  void StartOptionsProgram();

  // --- handlers ---
  void tvListChange(ui::TreeView::Node node);
  void btnOkClick();
  void btnApplyClick();
  void btnCloseClick();
  void btnSetDefaultClick();
  void btnHelpClick();
  void cbLanguageChange();
  void lblLocalizationClick();
  void chkStartWithWindowsClick();
  void edtSCShowTemplatesButtonClick();
  void btnTemplateAddClick();
  void btnTemplateRemoveClick();
  void btnTemplateSetupClick();
  void btnWizardClick();

  // --- the frame ---
  ui::TreeView tvList{*this, {.name = L"tvList", .left = 9, .top = 9, .width = 159, .height = 378,
                              .style = TVS_FULLROWSELECT | TVS_TRACKSELECT | TVS_SHOWSELALWAYS}};
  ui::GradientHeader pnlInfo{*this, {.name = L"pnlInfo", .left = 178, .top = 9, .width = 445, .height = 25}};
  TInfoFrame frmInfo{*this, {.name = L"frmInfo", .left = 178, .top = 35, .width = 445, .height = 49}};
  ui::Button btnSetDefault{*this, {.name = L"btnSetDefault", .left = 8, .top = 397, .width = 161, .height = 25}};
  ui::Button btnOk{*this, {.name = L"btnOk", .id = IDOK, .left = 306, .top = 397, .width = 75, .height = 25}, 0, true};
  ui::Button btnClose{*this, {.name = L"btnClose", .id = IDCANCEL, .left = 387, .top = 397, .width = 75, .height = 25}};
  ui::Button btnApply{*this, {.name = L"btnApply", .left = 468, .top = 397, .width = 75, .height = 25}};
  ui::Button btnHelp{*this, {.name = L"btnHelp", .left = 549, .top = 397, .width = 75, .height = 25}};

  // --- Main settings ---
  ui::Label lblLanguage{*this, {.name = L"lblLanguage", .left = 188, .top = 94, .width = 220, .height = 15}};
  ui::ImageComboBox cbLanguage{*this, {.name = L"cbLanguage", .left = 188, .top = 112, .width = 220, .height = 260}};
  ui::Label lblLocalization{*this, {.name = L"lblLocalization", .left = 420, .top = 115, .width = 195, .height = 15,
                                    .style = SS_NOTIFY}};
  ui::PaintBox imgSecurity1{*this, {.name = L"imgSecurity1", .left = 188, .top = 148, .width = 16, .height = 16}};
  ui::CheckBox chkStartWithWindows{*this, {.name = L"chkStartWithWindows", .left = 210, .top = 146, .width = 405,
                                           .height = 19}};
  ui::PaintBox imgSecurity2{*this, {.name = L"imgSecurity2", .left = 188, .top = 172, .width = 16, .height = 16}};
  ui::CheckBox chkShowInWindowsContextMenu{*this, {.name = L"chkShowInWindowsContextMenu", .left = 210, .top = 170,
                                                   .width = 405, .height = 19}};
  ui::CheckBox chkHighPriority{*this, {.name = L"chkHighPriority", .left = 188, .top = 172, .width = 427, .height = 19}};
  ui::CheckBox chkHideTrayIcon{*this, {.name = L"chkHideTrayIcon", .left = 188, .top = 198, .width = 427, .height = 19}};

  // --- Hotkeys (the template hotkey) and the hidden hotkey pages ---
  ui::Label lblSCShowTemplates{*this, {.name = L"lblSCShowTemplates", .left = 188, .top = 94, .width = 300, .height = 15}};
  ui::Edit edtSCShowTemplates{*this, {.name = L"edtSCShowTemplates", .left = 188, .top = 112, .width = 250,
                                      .height = 21, .style = ES_READONLY}};
  ui::Button btnSCShowTemplates{*this, {.name = L"btnSCShowTemplates", .left = 441, .top = 111, .width = 25,
                                        .height = 23, .text = L"..."}};
  ui::Label lblSCShowKeyboard{*this, {.name = L"lblSCShowKeyboard", .left = 188, .top = 94, .width = 300, .height = 15}};
  ui::Edit edtSCShowKeyboard{*this, {.name = L"edtSCShowKeyboard", .left = 188, .top = 112, .width = 250,
                                     .height = 21, .style = ES_READONLY}};
  ui::Button btnSCShowKeyboard{*this, {.name = L"btnSCShowKeyboard", .left = 441, .top = 111, .width = 25,
                                       .height = 23, .text = L"..."}};
  ui::Label lblSCShowClipboard{*this, {.name = L"lblSCShowClipboard", .left = 188, .top = 94, .width = 300, .height = 15}};
  ui::Edit edtSCShowClipboard{*this, {.name = L"edtSCShowClipboard", .left = 188, .top = 112, .width = 250,
                                      .height = 21, .style = ES_READONLY}};
  ui::Button btnSCShowClipboard{*this, {.name = L"btnSCShowClipboard", .left = 441, .top = 111, .width = 25,
                                        .height = 23, .text = L"..."}};

  // --- Input templates ---
  ui::Label lblTemplatesBreaks{*this, {.name = L"lblTemplatesBreaks", .left = 188, .top = 94, .width = 427, .height = 15}};
  ui::Edit edtTemplatesBreaks{*this, {.name = L"edtTemplatesBreaks", .left = 188, .top = 112, .width = 427, .height = 21}};
  ui::Label lblStandardTemplates{*this, {.name = L"lblStandardTemplates", .left = 188, .top = 146, .width = 427,
                                         .height = 15}};
  ui::ListBox lbStandardTemplates{*this, {.name = L"lbStandardTemplates", .left = 188, .top = 164, .width = 260,
                                          .height = 110}};
  ui::Button btnTemplateAdd{*this, {.name = L"btnTemplateAdd", .left = 458, .top = 164, .width = 157, .height = 25}};
  ui::Button btnTemplateRemove{*this, {.name = L"btnTemplateRemove", .left = 458, .top = 195, .width = 157, .height = 25}};
  ui::Button btnTemplateSetup{*this, {.name = L"btnTemplateSetup", .left = 188, .top = 290, .width = 260, .height = 25}};

  // --- Other (its Num Lock and hidden-window controls are hidden) ---
  ui::Button btnWizard{*this, {.name = L"btnWizard", .left = 188, .top = 94, .width = 260, .height = 25}};
  ui::Label lblNumLockStatus{*this, {.name = L"lblNumLockStatus", .left = 188, .top = 134, .width = 260, .height = 15}};
  ui::ComboBox cbNumLockStatus{*this, {.name = L"cbNumLockStatus", .left = 188, .top = 152, .width = 260, .height = 120}};
  ui::CheckBox chkNumAlwaysFigure{*this, {.name = L"chkNumAlwaysFigure", .left = 188, .top = 182, .width = 427,
                                          .height = 19}};
  ui::Label lblMaxHiddenWindows{*this, {.name = L"lblMaxHiddenWindows", .left = 188, .top = 210, .width = 260,
                                        .height = 15}};
  ui::SpinEdit edtMaxHiddenWindows{*this, {.name = L"edtMaxHiddenWindows", .left = 188, .top = 228, .width = 80,
                                           .height = 21}, 0, 100};

  // --- hidden pages: appearance ---
  ui::Label lblThemeAlphaBlend{*this, {.name = L"lblThemeAlphaBlend", .left = 188, .top = 94, .width = 300, .height = 15}};
  ui::TrackBar tbThemeAlphaBlend{*this, {.name = L"tbThemeAlphaBlend", .left = 188, .top = 110, .width = 300,
                                         .height = 28}, 0, 255};
  ui::Label lblThemeAlphaBlendOpaque{*this, {.name = L"lblThemeAlphaBlendOpaque", .left = 495, .top = 114,
                                             .width = 120, .height = 15}};
  ui::Label lblThemeCommonAlphaBlend{*this, {.name = L"lblThemeCommonAlphaBlend", .left = 188, .top = 142,
                                             .width = 300, .height = 15}};
  ui::TrackBar tbThemeCommonAlphaBlend{*this, {.name = L"tbThemeCommonAlphaBlend", .left = 188, .top = 158,
                                               .width = 300, .height = 28}, 0, 255};
  ui::Label lblThemeCommonAlphaBlendOpaque{*this, {.name = L"lblThemeCommonAlphaBlendOpaque", .left = 495, .top = 162,
                                                   .width = 120, .height = 15}};
  ui::Label lblColors{*this, {.name = L"lblColors", .left = 188, .top = 192, .width = 200, .height = 15}};
  ui::ComboBox cbColors{*this, {.name = L"cbColors", .left = 188, .top = 210, .width = 200, .height = 200}};
  ui::Label lblThemeFont{*this, {.name = L"lblThemeFont", .left = 188, .top = 238, .width = 200, .height = 15}};
  ui::Edit edtThemeFont{*this, {.name = L"edtThemeFont", .left = 188, .top = 256, .width = 180, .height = 21,
                                .style = ES_READONLY}};
  ui::Button btnThemeFont{*this, {.name = L"btnThemeFont", .left = 370, .top = 255, .width = 25, .height = 23,
                                  .text = L"..."}};
  ui::Label lblThemeInfoFont{*this, {.name = L"lblThemeInfoFont", .left = 410, .top = 238, .width = 200, .height = 15}};
  ui::Edit edtThemeInfoFont{*this, {.name = L"edtThemeInfoFont", .left = 410, .top = 256, .width = 180, .height = 21,
                                    .style = ES_READONLY}};
  ui::Button btnThemeInfoFont{*this, {.name = L"btnThemeInfoFont", .left = 592, .top = 255, .width = 25, .height = 23,
                                      .text = L"..."}};
  ui::Label lblBackgroundPicture{*this, {.name = L"lblBackgroundPicture", .left = 188, .top = 284, .width = 300,
                                         .height = 15}};
  ui::Edit edtBackgroundPicture{*this, {.name = L"edtBackgroundPicture", .left = 188, .top = 302, .width = 400,
                                        .height = 21}};
  ui::Button btnBackgroundPicture{*this, {.name = L"btnBackgroundPicture", .left = 590, .top = 301, .width = 25,
                                          .height = 23, .text = L"..."}};
  ui::CheckBox chkKeyboardShowCaption{*this, {.name = L"chkKeyboardShowCaption", .left = 188, .top = 332, .width = 427,
                                              .height = 19}};

  // --- hidden pages: binding sets ---
  ui::Label lblStandartActions{*this, {.name = L"lblStandartActions", .left = 188, .top = 94, .width = 427, .height = 15}};
  ui::ListBox lbStandartActions{*this, {.name = L"lbStandartActions", .left = 188, .top = 112, .width = 260,
                                        .height = 110}};
  ui::Button btnActionsAdd{*this, {.name = L"btnActionsAdd", .left = 458, .top = 112, .width = 157, .height = 25}};
  ui::Button btnActionsRemove{*this, {.name = L"btnActionsRemove", .left = 458, .top = 143, .width = 157, .height = 25}};

  // --- hidden pages: keyboard ---
  ui::Label lblKeyboardName{*this, {.name = L"lblKeyboardName", .left = 188, .top = 94, .width = 200, .height = 15}};
  ui::Edit edtKeyboardName{*this, {.name = L"edtKeyboardName", .left = 188, .top = 112, .width = 180, .height = 21,
                                   .style = ES_READONLY}};
  ui::Button btnKeyboardName{*this, {.name = L"btnKeyboardName", .left = 370, .top = 111, .width = 25, .height = 23,
                                     .text = L"..."}};
  ui::CheckBox chkKeyboardShowLabels{*this, {.name = L"chkKeyboardShowLabels", .left = 410, .top = 94, .width = 205,
                                             .height = 19}};
  ui::ComboBox cbKeyboardLang{*this, {.name = L"cbKeyboardLang", .left = 410, .top = 112, .width = 205, .height = 200}};
  ui::Label lblKeyboardShowDelay{*this, {.name = L"lblKeyboardShowDelay", .left = 188, .top = 142, .width = 200,
                                         .height = 15}};
  ui::SpinEdit edtKeyboardShowDelay{*this, {.name = L"edtKeyboardShowDelay", .left = 188, .top = 160, .width = 80,
                                            .height = 21}, 0, 60000};
  ui::Label lblKeyboardHideDelay{*this, {.name = L"lblKeyboardHideDelay", .left = 410, .top = 142, .width = 200,
                                         .height = 15}};
  ui::SpinEdit edtKeyboardHideDelay{*this, {.name = L"edtKeyboardHideDelay", .left = 410, .top = 160, .width = 80,
                                            .height = 21}, 0, 60000};
  ui::CheckBox chkKeyboardAutoHide{*this, {.name = L"chkKeyboardAutoHide", .left = 188, .top = 188, .width = 427,
                                           .height = 19}};
  ui::Label lblShowModifiers{*this, {.name = L"lblShowModifiers", .left = 188, .top = 212, .width = 427, .height = 15}};
  ui::CheckBox chkskShift{*this, {.name = L"chkskShift", .left = 188, .top = 230, .width = 100, .height = 19}};
  ui::CheckBox chkskCtrl{*this, {.name = L"chkskCtrl", .left = 295, .top = 230, .width = 100, .height = 19}};
  ui::CheckBox chkskAlt{*this, {.name = L"chkskAlt", .left = 402, .top = 230, .width = 100, .height = 19}};
  ui::CheckBox chkskWin{*this, {.name = L"chkskWin", .left = 509, .top = 230, .width = 100, .height = 19}};
  ui::CheckBox chkShowKeyboardZone{*this, {.name = L"chkShowKeyboardZone", .left = 188, .top = 254, .width = 427,
                                           .height = 19}};
  ui::CheckBox chkShowCharCtrl{*this, {.name = L"chkShowCharCtrl", .left = 188, .top = 276, .width = 427, .height = 19}};
  ui::CheckBox chkUseGestures{*this, {.name = L"chkUseGestures", .left = 188, .top = 298, .width = 200, .height = 19}};
  ui::Label lblGestures{*this, {.name = L"lblGestures", .left = 390, .top = 300, .width = 225, .height = 15}};
  ui::Label lblSensitivityGestures{*this, {.name = L"lblSensitivityGestures", .left = 188, .top = 322, .width = 200,
                                           .height = 15}};
  ui::TrackBar tbSensitivityGestures{*this, {.name = L"tbSensitivityGestures", .left = 250, .top = 338, .width = 250,
                                             .height = 28, .style = TBS_TOOLTIPS}, 0, 30};
  ui::Label lblSensitivityLow{*this, {.name = L"lblSensitivityLow", .left = 188, .top = 342, .width = 60, .height = 15}};
  ui::Label lblSensitivityHigh{*this, {.name = L"lblSensitivityHigh", .left = 505, .top = 342, .width = 60,
                                       .height = 15}};
  ui::Button btnKeyboardSetup{*this, {.name = L"btnKeyboardSetup", .left = 458, .top = 360, .width = 157, .height = 25}};

  // --- hidden pages: clipboard, task switch, process history ---
  ui::Label lblClipboardPreviewFont{*this, {.name = L"lblClipboardPreviewFont", .left = 188, .top = 94, .width = 200,
                                            .height = 15}};
  ui::Edit edtClipboardPreviewFont{*this, {.name = L"edtClipboardPreviewFont", .left = 188, .top = 112, .width = 180,
                                           .height = 21, .style = ES_READONLY}};
  ui::Button btnClipboardPreviewFont{*this, {.name = L"btnClipboardPreviewFont", .left = 370, .top = 111, .width = 25,
                                             .height = 23, .text = L"..."}};
  ui::Label lblMaxClipboardHistory{*this, {.name = L"lblMaxClipboardHistory", .left = 188, .top = 142, .width = 200,
                                           .height = 15}};
  ui::SpinEdit edtMaxClipboardHistory{*this, {.name = L"edtMaxClipboardHistory", .left = 188, .top = 160, .width = 80,
                                              .height = 21}, 0, kMostHistoryItems};
  ui::CheckBox chkUniqueClipboard{*this, {.name = L"chkUniqueClipboard", .left = 188, .top = 188, .width = 427,
                                          .height = 19}};
  ui::CheckBox chkClipboardIsActive{*this, {.name = L"chkClipboardIsActive", .left = 188, .top = 210, .width = 427,
                                            .height = 19}};
  ui::CheckBox chkTaskSwitchSmallIcon{*this, {.name = L"chkTaskSwitchSmallIcon", .left = 188, .top = 94, .width = 427,
                                              .height = 19}};
  ui::CheckBox chkTaskSwitchShowHidden{*this, {.name = L"chkTaskSwitchShowHidden", .left = 188, .top = 116,
                                               .width = 427, .height = 19}};
  ui::Label lblMaxProcessHistory{*this, {.name = L"lblMaxProcessHistory", .left = 188, .top = 94, .width = 200,
                                         .height = 15}};
  ui::SpinEdit edtMaxProcessHistory{*this, {.name = L"edtMaxProcessHistory", .left = 188, .top = 112, .width = 80,
                                            .height = 21}, 0, 1000};
  ui::CheckBox chkUniqueProcessHistory{*this, {.name = L"chkUniqueProcessHistory", .left = 188, .top = 140,
                                               .width = 427, .height = 19}};

  // --- hidden pages: languages ---
  ui::Label lblEnabledLanguages{*this, {.name = L"lblEnabledLanguages", .left = 188, .top = 94, .width = 260,
                                        .height = 15}};
  ui::CheckListBox clbEnabledLanguages{*this, {.name = L"clbEnabledLanguages", .left = 188, .top = 112, .width = 260,
                                               .height = 100}};
  ui::CheckBox chkShowLangIcon{*this, {.name = L"chkShowLangIcon", .left = 188, .top = 218, .width = 427, .height = 19}};
  ui::CheckBox chkShowCaretFlag{*this, {.name = L"chkShowCaretFlag", .left = 188, .top = 240, .width = 427,
                                        .height = 19}};
  ui::CheckBox chkShowCaretFlagOnChange{*this, {.name = L"chkShowCaretFlagOnChange", .left = 206, .top = 262,
                                                .width = 409, .height = 19}};
  ui::CheckBox chkFastCaretFlag{*this, {.name = L"chkFastCaretFlag", .left = 206, .top = 284, .width = 409,
                                        .height = 19}};
  ui::Label lblCaretFlagAlphaBlend{*this, {.name = L"lblCaretFlagAlphaBlend", .left = 188, .top = 308, .width = 300,
                                           .height = 15}};
  ui::TrackBar tbCaretFlagAlphaBlend{*this, {.name = L"tbCaretFlagAlphaBlend", .left = 188, .top = 324, .width = 300,
                                             .height = 28}, 0, 255};
  ui::Label lblCaretFlagAlphaBlendOpaque{*this, {.name = L"lblCaretFlagAlphaBlendOpaque", .left = 495, .top = 328,
                                                 .width = 120, .height = 15}};
  ui::ListView lvLangShortcuts{*this, {.name = L"lvLangShortcuts", .left = 458, .top = 112, .width = 157,
                                       .height = 70, .style = LVS_REPORT}};
  ui::Button btnSetLangShortcut{*this, {.name = L"btnSetLangShortcut", .left = 458, .top = 186, .width = 157,
                                        .height = 25}};

  // --- hidden pages: icons ---
  ui::CheckBox chkShowIconWindows{*this, {.name = L"chkShowIconWindows", .left = 188, .top = 94, .width = 427,
                                          .height = 19}};
  ui::CheckBox chkShowIconApp{*this, {.name = L"chkShowIconApp", .left = 188, .top = 116, .width = 427, .height = 19}};
  ui::CheckBox chkShowIconZqkeys{*this, {.name = L"chkShowIconZqkeys", .left = 188, .top = 138, .width = 427,
                                         .height = 19}};
  ui::CheckBox chkShowIconHints{*this, {.name = L"chkShowIconHints", .left = 188, .top = 160, .width = 427,
                                        .height = 19}};
  ui::CheckBox chkShowHotkeySquare{*this, {.name = L"chkShowHotkeySquare", .left = 188, .top = 182, .width = 427,
                                           .height = 19}};
  ui::Button btnIconSetup{*this, {.name = L"btnIconSetup", .left = 458, .top = 210, .width = 157, .height = 25}};

 protected:
  void OnCreate() override;
  void OnShow() override;
  bool CanClose() override;
  void OnClose(ui::CloseAction& action) override;
  void OnDestroy() override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  struct FontField;
  void WireHandlers();
  void WireHiddenPageHandlers();
  void AssignPages();
  void ApplyHiddenPageTexts();
  void ApplyVisiblePageTexts();
  void ShowPage(int page, bool visible);
  // The live-edit rule: nothing while filling; else the change, then Apply enabled.
  template <class Change>
  void LiveEdit(Change change) {
    if (loading_) return;
    change();
    OptionsChanged();
  }
  void FillLanguageList();
  void UpdateCaretFlagEnabling();
  void ReadOptionsStatesIntoBoxes();
  void ChooseFont(ui::Edit& field, int which);
  void ShowFontField(ui::Edit& field, int which);
  void QueryHiddenHotkey(std::int32_t value, void (TPreset::*store)(std::int32_t));
  void AskAndChangeBindingSet(bool add);
  void PaintFrame(HDC dc);
  void ApplyFrameColours();
  HBRUSH LabelColours(HDC dc, HWND label);
  void SetLinkColour(COLORREF colour);

  SettingsWindowPort& program_;
  const DialogParts& parts_;
  TPreset& preset_;
  TQvActions& bindings_;
  SettingsFormSystem& system_;
  SoundsPage soundsPage_{*this, *this, preset_, program_.EventPictures()};
  bool loading_ = true;
  bool optionsProgramDue_ = false;  // a machine-wide box changed since the last fill or apply
  bool settingsEdited_ = false;     // a setting changed since the last fill or store
  bool applying_ = false;
  std::vector<HKL> keyboardLayouts_;
  std::array<std::vector<ui::Control*>, kPageCount> pages_{};
  std::array<bool, kPageCount> pageVisible_{};
  std::wstring pictureFolder_;
  std::wstring pictureFilter_;
  COLORREF linkColour_ = 0xFF0000;
  ui::Font linkFont_;
  std::array<ui::Font, 3> fieldFonts_{};
  ui::Brush faceBrush_;
  ui::ToolTips hints_;
  ui::WindowSubclass linkMouse_;
  bool linkHot_ = false;
};

// Brings the open settings window (the parts' open windows name it) to the
// front, or creates and shows it.
TMainForm& OpenSettingsWindow(SettingsWindowPort& program, const DialogParts& parts, SettingsFormSystem& system);

}  // namespace snibbet
