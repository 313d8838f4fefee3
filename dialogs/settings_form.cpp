#include "dialogs/settings_form.h"

#include <shellapi.h>

#include <cwchar>
#include <exception>
#include <system_error>

#include "core/app_ini.h"
#include "core/busy_cursor.h"
#include "core/elevated_launch.h"
#include "core/form_help.h"
#include "core/lang_list.h"
#include "core/lang_table.h"
#include "core/message_pump.h"
#include "core/paths.h"
#include "core/preset.h"
#include "core/preset_system.h"
#include "core/product_name.h"
#include "core/program_folder.h"
#include "core/shortcut.h"
#include "core/text_utils.h"
#include "core/utf8.h"
#include "core/version_info.h"
#include "core/wait_form.h"
#include "core/window_helpers.h"
#include "dialogs/language_combo.h"
#include "dialogs/settings_form_texts.h"
#include "dialogs/shortcut_key_form.h"
#include "templates/template_files.h"
#include "ui/application.h"
#include "ui/monitor.h"
#include "visual/office11_colors.h"
#include "visual/picture_files.h"

namespace snibbet {
namespace {

// The maker's page for further translations.
constexpr wchar_t kLocalizationAddress[] = L"http://www.orvanesoftware.com/localization/";

constexpr COLORREF kLinkColour = 0xFF0000;     // blue
constexpr COLORREF kLinkHotColour = 0x000080;  // dark red while the pointer is on it

// The gestures label takes the header's dark end.
constexpr int kGesturesLabelEntry = kOffice11HeaderEndEntry;

// Info text, whether the product's name goes into it, and help context, by page.
struct PageInfo {
  int text;
  bool withProductName;
  int helpContext;
};
constexpr PageInfo kPageInfo[TMainForm::kPageCount] = {
    {LangId(83), true, 80},   {LangId(85), true, 450},  {LangId(86), false, 460},  {LangId(87), false, 470},
    {LangId(88), false, 480}, {LangId(89), false, 490}, {LangId(90), true, 500},   {LangId(91), false, 560},
    {LangId(92), false, 510}, {LangId(93), false, 520}, {LangId(565), false, 70},  {LangId(94), true, 530},
    {LangId(549), false, 460}, {LangId(549), false, 460}, {LangId(549), false, 460}, {LangId(549), false, 460}};

// The tree's nodes by their fixed identity.
constexpr int kNodeTexts[TMainForm::kNodeCount] = {LangId(325), LangId(326), LangId(548), LangId(36),
                                                   LangId(328), LangId(329), LangId(330), LangId(331),
                                                   LangId(332), LangId(333), LangId(564), LangId(334)};

constexpr const wchar_t* kTemplateSetNames[] = {L"Greetings", L"Smiles", L"HTML", L"SQL", L"Pascal"};
constexpr const wchar_t* kActionSetNames[] = {L"Standard", L"ExtChars", L"Media", L"AlphabeticalEn"};

// The three font fields, by the `which` of ChooseFont.
enum FontFieldKind { kThemeFont, kThemeInfoFont, kClipboardPreviewFont };

}  // namespace

void ProgramSettingsFormSystem::RunElevated(const std::wstring& file, const std::wstring& parameters) {
  snibbet::RunElevated(nullptr, file, parameters);
}

OptionsStates ProgramSettingsFormSystem::ReadOptionsStates() {
  return {parts_.preset.IsAutoRun(), IsShellExtensionRegistered()};
}

bool ProgramSettingsFormSystem::Wait(DWORD ms) { return PumpMessagesFor(ms); }

bool ProgramSettingsFormSystem::AskYesNo(const std::wstring& text) { return snibbet::AskYesNo(text); }

Answer ProgramSettingsFormSystem::AskSaveChangesOnClose() { return snibbet::AskSaveChangesOnClose(); }

void ProgramSettingsFormSystem::ShowError(const std::wstring& text) { ShowErrorMessage(text); }

bool ProgramSettingsFormSystem::QueryShortcutKey(std::uint8_t& key, ControlSet& set) {
  return snibbet::QueryShortcutKey(parts_.keyModel, parts_.bindings, parts_.keyboardWindow, key, set);
}

std::wstring TemplateSetName(int index) {
  if (index < 0 || index >= static_cast<int>(std::size(kTemplateSetNames))) return {};
  return kTemplateSetNames[index];
}

std::wstring ActionSetName(int index) {
  if (index < 0 || index >= static_cast<int>(std::size(kActionSetNames))) return {};
  return kActionSetNames[index];
}

std::wstring KeyboardLayoutItemText(const std::wstring& languageName, HKL layout) {
  wchar_t handle[16] = {};
  std::swprintf(handle, std::size(handle), L"%08X",
                static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(layout) & 0xFFFFFFFFu));
  return languageName + L" (" + handle + L")";
}

TMainForm& OpenSettingsWindow(SettingsWindowPort& program, const DialogParts& parts, SettingsFormSystem& system) {
  TMainForm* form = parts.openWindows.SettingsWindow();
  if (!form) form = &ui::Application::Get().CreateForm<TMainForm>(program, parts, system);
  if (!form->IsVisible()) form->Show();
  form->Restore();
  ForceForegroundWindow(form->Handle(), true);
  return *form;
}

// --- creation and the frame ------------------------------------------------

TMainForm::TMainForm(SettingsWindowPort& program, const DialogParts& parts, SettingsFormSystem& system)
    : TQvForm({.className = kClassName,
               .border = ui::BorderStyle::Dialog,
               .borderIcons = ui::border_icon::kSystemMenu | ui::border_icon::kMinimize,
               .position = ui::PositionRule::MonitorCenter,
               .clientWidth = 632,
               .clientHeight = 430,
               .owner = ui::FormOwner::None,
               .appWindow = true,
               .keyboardNavigation = true,
               .fontFace = L"Tahoma",
               .fontPointSize = 8}),
      program_(program),
      parts_(parts),
      preset_(parts.preset),
      bindings_(parts.bindings),
      system_(system) {
  // The frame and the header take their colours from the Office colour table.
  Office11ColorsAddRef();
  WireHandlers();
  WireHiddenPageHandlers();
}

TMainForm::~TMainForm() {
  linkMouse_.Detach();
  parts_.openWindows.Leave(*this);
  Office11ColorsRelease();
}

void TMainForm::WireHandlers() {
  tvList.onChange = [this](ui::TreeView::Node node) { tvListChange(node); };
  tvList.rightClickSelects = true;
  btnOk.onClick = [this] { btnOkClick(); };
  btnClose.onClick = [this] { btnCloseClick(); };
  btnApply.onClick = [this] { btnApplyClick(); };
  btnHelp.onClick = [this] { btnHelpClick(); };
  btnSetDefault.onClick = [this] { btnSetDefaultClick(); };
  cbLanguage.onChange = [this] { cbLanguageChange(); };
  lblLocalization.onClick = [this] { lblLocalizationClick(); };
  chkStartWithWindows.onClick = [this] { chkStartWithWindowsClick(); };
  chkShowInWindowsContextMenu.onClick = [this] { chkStartWithWindowsClick(); };
  chkHighPriority.onClick = [this] { LiveEdit([this] { preset_.SetHighPriority(chkHighPriority.Checked()); }); };
  chkHideTrayIcon.onClick = [this] { LiveEdit([this] { preset_.SetHideTrayIcon(chkHideTrayIcon.Checked()); }); };
  btnSCShowTemplates.onClick = [this] { edtSCShowTemplatesButtonClick(); };
  edtTemplatesBreaks.onChange = [this] {
    LiveEdit([this] { preset_.SetTemplatesBreaks(edtTemplatesBreaks.Text()); });
  };
  btnTemplateAdd.onClick = [this] { btnTemplateAddClick(); };
  btnTemplateRemove.onClick = [this] { btnTemplateRemoveClick(); };
  btnTemplateSetup.onClick = [this] { btnTemplateSetupClick(); };
  btnWizard.onClick = [this] { btnWizardClick(); };
  imgSecurity1.onPaint = [](HDC dc, const RECT& client) {
    if (HICON shield = LoadIconW(nullptr, IDI_SHIELD))
      DrawIconEx(dc, 0, 0, shield, client.right, client.bottom, 0, nullptr, DI_NORMAL);
  };
  imgSecurity2.onPaint = imgSecurity1.onPaint;
}

void TMainForm::AssignPages() {
  pages_[tsMain] = {&lblLanguage, &cbLanguage, &lblLocalization, &imgSecurity1, &chkStartWithWindows,
                    &imgSecurity2, &chkShowInWindowsContextMenu, &chkHighPriority, &chkHideTrayIcon};
  pages_[tsTheme] = {&lblThemeAlphaBlend, &tbThemeAlphaBlend, &lblThemeAlphaBlendOpaque, &lblThemeCommonAlphaBlend,
                     &tbThemeCommonAlphaBlend, &lblThemeCommonAlphaBlendOpaque, &lblColors, &cbColors, &lblThemeFont,
                     &edtThemeFont, &btnThemeFont, &lblThemeInfoFont, &edtThemeInfoFont, &btnThemeInfoFont,
                     &lblBackgroundPicture, &edtBackgroundPicture, &btnBackgroundPicture, &chkKeyboardShowCaption};
  pages_[tsShortcuts] = {&lblStandartActions, &lbStandartActions, &btnActionsAdd, &btnActionsRemove};
  pages_[tsKeyboard] = {&lblKeyboardName, &edtKeyboardName, &btnKeyboardName, &chkKeyboardShowLabels,
                        &cbKeyboardLang, &lblKeyboardShowDelay, &edtKeyboardShowDelay, &lblKeyboardHideDelay,
                        &edtKeyboardHideDelay, &chkKeyboardAutoHide, &lblShowModifiers, &chkskShift, &chkskCtrl,
                        &chkskAlt, &chkskWin, &chkShowKeyboardZone, &chkShowCharCtrl, &chkUseGestures, &lblGestures,
                        &lblSensitivityGestures, &tbSensitivityGestures, &lblSensitivityLow, &lblSensitivityHigh,
                        &btnKeyboardSetup};
  pages_[tsClipboard] = {&lblClipboardPreviewFont, &edtClipboardPreviewFont, &btnClipboardPreviewFont,
                         &lblMaxClipboardHistory, &edtMaxClipboardHistory, &chkUniqueClipboard, &chkClipboardIsActive};
  pages_[tsTaskSwitch] = {&chkTaskSwitchSmallIcon, &chkTaskSwitchShowHidden};
  pages_[tsProcessHistory] = {&lblMaxProcessHistory, &edtMaxProcessHistory, &chkUniqueProcessHistory};
  pages_[tsTemplates] = {&lblTemplatesBreaks, &edtTemplatesBreaks, &lblStandardTemplates, &lbStandardTemplates,
                         &btnTemplateAdd, &btnTemplateRemove, &btnTemplateSetup};
  pages_[tsLang] = {&lblEnabledLanguages, &clbEnabledLanguages, &chkShowLangIcon, &chkShowCaretFlag,
                    &chkShowCaretFlagOnChange, &chkFastCaretFlag, &lblCaretFlagAlphaBlend, &tbCaretFlagAlphaBlend,
                    &lblCaretFlagAlphaBlendOpaque, &lvLangShortcuts, &btnSetLangShortcut};
  pages_[tsIcons] = {&chkShowIconWindows, &chkShowIconApp, &chkShowIconZqkeys, &chkShowIconHints,
                     &chkShowHotkeySquare, &btnIconSetup};
  pages_[tsOther] = {&btnWizard, &lblNumLockStatus, &cbNumLockStatus, &chkNumAlwaysFigure, &lblMaxHiddenWindows,
                     &edtMaxHiddenWindows};
  pages_[tsSCKeyboard] = {&lblSCShowKeyboard, &edtSCShowKeyboard, &btnSCShowKeyboard};
  pages_[tsSCTemplates] = {&lblSCShowTemplates, &edtSCShowTemplates, &btnSCShowTemplates};
  pages_[tsSCClipboard] = {&lblSCShowClipboard, &edtSCShowClipboard, &btnSCShowClipboard};
}

void TMainForm::OnCreate() {
  parts_.openWindows.Enter(*this);
  program_.EnableSettingsMenuItems(false);
  loading_ = true;
  faceBrush_ = ui::Brush(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
  tvList.SetIndent(19);
  for (int node = 0; node < kNodeCount; ++node) tvList.AddNode(nullptr, Lang().GetText(kNodeTexts[node], kNoText), node, node);
  AssignPages();
  // Placed as the other pages' controls are: at their design place, scaled.
  soundsPage_.Layout(RECT{ui::ScaleToDpi(kPageArea.left), ui::ScaleToDpi(kPageArea.top),
                          ui::ScaleToDpi(kPageArea.right), ui::ScaleToDpi(kPageArea.bottom)});
  for (int page = 0; page < kPageCount; ++page) ShowPage(page, false);
  pictureFolder_ = JoinPath(ProgramFolder(), L"Background");

  // The pages the program does not offer lose their nodes; their controls stay filled.
  for (int node : {5, 6})
    if (ui::TreeView::Node found = FindPageNode(node)) tvList.DeleteNode(found);
  for (ui::Control* control : {static_cast<ui::Control*>(&imgSecurity2), static_cast<ui::Control*>(&chkShowInWindowsContextMenu),
                               static_cast<ui::Control*>(&lblNumLockStatus), static_cast<ui::Control*>(&cbNumLockStatus),
                               static_cast<ui::Control*>(&chkNumAlwaysFigure), static_cast<ui::Control*>(&lblMaxHiddenWindows),
                               static_cast<ui::Control*>(&edtMaxHiddenWindows)}) {
    for (auto& page : pages_) std::erase(page, control);
    control->SetVisible(false);
  }
  for (int node : {1, 3, 9, 4, 8})
    if (ui::TreeView::Node found = FindPageNode(node)) tvList.DeleteNode(found);
  if (ui::TreeView::Node hotkeys = FindPageNode(2)) tvList.SetNodeImages(hotkeys, tsSCTemplates, 2);

  lvLangShortcuts.AddColumn(L"", 80);
  lvLangShortcuts.AddColumn(L"", 70);
  lblLocalization.SetText(L"");
  linkMouse_.Attach(lblLocalization.Handle(), [this](UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    switch (message) {
      case WM_SETCURSOR:
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      case WM_MOUSEMOVE:
        if (!linkHot_) {
          linkHot_ = true;
          TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, lblLocalization.Handle(), 0};
          TrackMouseEvent(&track);
          SetLinkColour(kLinkHotColour);
        }
        break;
      case WM_MOUSELEAVE:
        linkHot_ = false;
        SetLinkColour(kLinkColour);
        break;
      default:
        break;
    }
    return std::nullopt;
  });
  hints_.SetHint(*this, lblLocalization, kLocalizationAddress);
  ApplyFrameColours();
}

void TMainForm::OnShow() {
  // The picture formats the program opens now (PNG once GDI+ runs).
  pictureFilter_ = PictureOpenFilter();
  // The point a close without Apply returns to.
  preset_.Save();
  LoadSettingsToControls();
  // Opening shows the first page: the tree takes the focus and its first node.
  if (!tvList.Selected()) tvList.Select(tvList.FirstNode());
  tvList.Focus();
}

void TMainForm::ShowPage(int page, bool visible) {
  pageVisible_[static_cast<std::size_t>(page)] = visible;
  for (ui::Control* control : pages_[static_cast<std::size_t>(page)]) control->SetVisible(visible);
  if (page == tsSounds)
    for (ui::Control* control : soundsPage_.Controls()) control->SetVisible(visible);
}

ui::TreeView::Node TMainForm::FindPageNode(int identity) const {
  for (ui::TreeView::Node node = tvList.FirstNode(); node; node = tvList.NextSibling(node))
    if (tvList.NodeSelectedImage(node) == identity) return node;
  return nullptr;
}

void TMainForm::tvListChange(ui::TreeView::Node node) {
  for (int page = 0; page < kPageCount; ++page)
    if (pageVisible_[static_cast<std::size_t>(page)]) ShowPage(page, false);
  if (node) {
    const int page = tvList.NodeImage(node);
    if (page >= 0 && page < kPageCount) ShowPage(page, true);
  }
  UpdatePageHeader();
}

void TMainForm::UpdatePageHeader() {
  if (ui::TreeView::Node node = tvList.Selected()) pnlInfo.SetCaption(tvList.NodeText(node));
  for (int page = 0; page < kPageCount; ++page) {
    if (!pageVisible_[static_cast<std::size_t>(page)]) continue;
    const PageInfo& info = kPageInfo[page];
    frmInfo.SetInfoText(info.withProductName ? WithProductName(info.text) : Lang().GetText(info.text, kNoText));
    SetHelpContext(info.helpContext);
    return;
  }
}

// --- language ----------------------------------------------------------------

void TMainForm::ApplyLanguage() {
  TQvForm::ApplyLanguage();
  // The link's own font follows the window's, underlined.
  LOGFONTW font = FontDescription();
  font.lfUnderline = TRUE;
  linkFont_ = ui::Font(CreateFontIndirectW(&font));
  SendMessageW(lblLocalization.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_.Get()), TRUE);

  SetText(LangText(316, L"Settings"));
  btnSetDefault.SetText(LangText(339));
  btnOk.SetText(LangText(101));
  btnClose.SetText(LangText(105));
  btnApply.SetText(LangText(340));
  btnHelp.SetText(LangText(104));
  for (int identity = 0; identity < kNodeCount; ++identity)
    if (ui::TreeView::Node node = FindPageNode(identity))
      tvList.SetNodeText(node, Lang().GetText(kNodeTexts[identity], kNoText));

  ApplyVisiblePageTexts();
  ApplyHiddenPageTexts();
  soundsPage_.ApplyLanguage();
  SetLinkColour(kLinkColour);
  UpdatePageHeader();
}

void TMainForm::ApplyVisiblePageTexts() {
  lblLanguage.SetText(LangText(335));
  lblLocalization.SetText(LangText(554));
  chkStartWithWindows.SetText(WithProductName(LangId(336)));
  chkShowInWindowsContextMenu.SetText(LangText(338));
  chkHighPriority.SetText(WithProductName(LangId(337)));
  chkHideTrayIcon.SetText(WithProductName(LangId(636)));
  lblSCShowTemplates.SetText(LangText(204));
  lblTemplatesBreaks.SetText(LangText(365));
  lblStandardTemplates.SetText(LangText(366));
  SetListLines(lbStandardTemplates, JoinedTexts({LangId(367), LangId(515), LangId(516), LangId(517), LangId(529)}));
  btnTemplateAdd.SetText(LangText(348));
  btnTemplateRemove.SetText(LangText(349));
  btnTemplateSetup.SetText(LangText(47));
  btnWizard.SetText(LangText(380));
  lblNumLockStatus.SetText(LangText(376));
  SetListLines(cbNumLockStatus, LangText(377));
  chkNumAlwaysFigure.SetText(LangText(378));
  lblMaxHiddenWindows.SetText(LangText(379));
}

void TMainForm::SetLinkColour(COLORREF colour) {
  linkColour_ = colour;
  lblLocalization.Invalidate(true);
}

// --- filling -----------------------------------------------------------------

void TMainForm::FillLanguageList() { FillLanguageCombo(cbLanguage, program_.LanguageFlags(), preset_.Language()); }

void TMainForm::ReadOptionsStatesIntoBoxes() {
  const OptionsStates states = system_.ReadOptionsStates();
  chkStartWithWindows.SetChecked(states.startWithWindows);
  chkShowInWindowsContextMenu.SetChecked(states.shellExtension);
}

void TMainForm::ShowShortcutTexts() {
  edtSCShowKeyboard.SetText(preset_.ShortCutToKeyText(preset_.SCShowKeyboard()));
  edtSCShowTemplates.SetText(preset_.ShortCutToKeyText(preset_.SCShowTemplates()));
  edtSCShowClipboard.SetText(preset_.ShortCutToKeyText(preset_.SCShowClipboard()));
}

std::vector<std::wstring> TMainForm::FillKeyboardLayoutList() {
  keyboardLayouts_ = InstalledKeyboardLayouts();
  if (keyboardLayouts_.size() > kMaxKeyboardLayouts) keyboardLayouts_.resize(kMaxKeyboardLayouts);
  std::vector<std::wstring> items;
  for (HKL layout : keyboardLayouts_) {
    wchar_t name[256] = {};
    const LCID locale = MAKELCID(LOWORD(reinterpret_cast<std::uintptr_t>(layout)), SORT_DEFAULT);
    GetLocaleInfoW(locale, LOCALE_SLANGUAGE, name, static_cast<int>(std::size(name)));
    items.push_back(KeyboardLayoutItemText(name, layout));
  }
  return items;
}

// --- the live edit and the state of Apply --------------------------------------

void TMainForm::OptionsChanged() {
  settingsEdited_ = true;
  btnApply.SetEnabled(true);
}

void TMainForm::cbLanguageChange() {
  if (loading_) return;
  // Lists that the new language refills, or whose choice must survive it.
  const int colors = cbColors.ItemIndex(), keyboardLang = cbKeyboardLang.ItemIndex(),
            numLock = cbNumLockStatus.ItemIndex();
  if (const int language = ChosenLanguage(cbLanguage)) preset_.SetLanguage(language);
  OptionsChanged();
  loading_ = true;
  cbColors.SetItemIndex(colors);
  cbKeyboardLang.SetItemIndex(keyboardLang);
  cbNumLockStatus.SetItemIndex(numLock);
  loading_ = false;
}

void TMainForm::chkStartWithWindowsClick() {
  if (loading_) return;
  // Nothing reaches the system before Apply.
  optionsProgramDue_ = true;
  btnApply.SetEnabled(true);
}

bool TMainForm::ApplySettings() {
  if (applying_) return false;
  const OptionsProgramRun running(applying_);
  BusyCursorBegin();
  try {
    // The machine-wide switches first: when they fail nothing is stored, and
    // the store stays the point a close without Apply returns to.
    StartOptionsProgram();
    preset_.Save();
  } catch (const std::exception& error) {
    BusyCursorEnd(true);
    // What is left unapplied is the settings changed since the last store;
    // the machine-wide boxes already show what the system has.
    btnApply.SetEnabled(settingsEdited_);
    system_.ShowError(ErrorMessageOf(error));
    return false;
  }
  BusyCursorEnd(true);
  settingsEdited_ = false;
  btnApply.SetEnabled(false);
  program_.BindingsChanged();
  return true;
}

void TMainForm::StartOptionsProgram() {
  if (!optionsProgramDue_) return;
  // The shell-extension box cannot be changed by the user: it repeats the state last read.
  const OptionsStates wanted{chkStartWithWindows.Checked(), chkShowInWindowsContextMenu.Checked()};
  try {
    const OptionsStates found = RunOptionsProgram(system_, ProgramFolder(), ProgramFileName(), wanted);
    chkStartWithWindows.SetChecked(found.startWithWindows);
    chkShowInWindowsContextMenu.SetChecked(found.shellExtension);
  } catch (...) {
    // The boxes show what the system has, so nothing is due any more: the
    // user ticks the box again to try again.
    ReadOptionsStatesIntoBoxes();
    optionsProgramDue_ = false;
    throw;
  }
  optionsProgramDue_ = false;
}

void TMainForm::btnOkClick() {
  if (applying_) return;
  if (ApplySettings()) Close();
}

void TMainForm::btnApplyClick() {
  if (applying_) return;
  ApplySettings();
}

void TMainForm::btnCloseClick() { Close(); }

void TMainForm::btnHelpClick() { ShowHelpContext(HelpContext()); }

void TMainForm::btnSetDefaultClick() {
  if (!system_.AskYesNo(LangText(65))) return;
  // The defaults are stored at once and pass through every setter.
  preset_.Reset();
  preset_.Save();
  preset_.Load();
  LoadSettingsToControls();
  preset_.ApplyAppearance();
}

bool TMainForm::CanClose() {
  // An apply that waits for the options program runs on this window.
  if (applying_) return false;
  if (!btnApply.IsEnabled()) return true;
  switch (system_.AskSaveChangesOnClose()) {
    case Answer::Cancel: return false;
    case Answer::Yes: return ApplySettings();
    case Answer::No: return true;
  }
  return true;
}

void TMainForm::OnClose(ui::CloseAction& action) {
  action = ui::CloseAction::Free;
  if (IsVisible() && btnApply.IsEnabled()) {
    // Closed without Apply: the stored settings come back through their setters.
    preset_.Load();
    LoadSettingsToControls();
    preset_.ApplyAppearance();
  }
  btnApply.SetEnabled(false);
}

void TMainForm::OnDestroy() {
  linkMouse_.Detach();
  parts_.openWindows.Leave(*this);
  program_.EnableSettingsMenuItems(true);
}

// --- the visible pages' buttons ---------------------------------------------------

void TMainForm::lblLocalizationClick() {
  ShellExecuteW(ui::ApplicationWindow(), nullptr, kLocalizationAddress, nullptr, L"", SW_SHOWNORMAL);
}

void TMainForm::edtSCShowTemplatesButtonClick() {
  const ShortCutKeys keys = SplitShortCut(preset_.SCShowTemplates());
  std::uint8_t key = keys.key;
  ControlSet set = keys.controlSet;
  if (!system_.QueryShortcutKey(key, set)) return;
  // The new hotkey works at once, before Apply.
  preset_.SetSCShowTemplates(MakeShortCut(key, set));
  ShowShortcutTexts();
  OptionsChanged();
}

std::wstring TMainForm::TemplateSetFileName() const {
  const std::wstring name = TemplateSetName(lbStandardTemplates.ItemIndex());
  if (name.empty()) return {};
  return JoinPath(ProgramFolder(), L"Templates\\" + name + L".zqt");
}

std::wstring TMainForm::ActionSetFileName() const {
  const std::wstring name = ActionSetName(lbStandartActions.ItemIndex());
  if (name.empty()) return {};
  return JoinPath(ProgramFolder(), L"Actions\\" + name + L".zqa");
}

// The template file changes at once; Apply is not involved and a close
// without Apply does not undo it.
void TMainForm::btnTemplateAddClick() {
  const std::wstring file = TemplateSetFileName();
  TemplateTable* templates = program_.Templates();
  if (file.empty() || !templates) return;
  if (!system_.AskYesNo(FormatText(LangText(307), {file}))) return;
  LoadTemplatesFromFile(*templates, file, true);
  SaveTemplatesToFile(*templates, preset_.TemplatesFileName());
}

void TMainForm::btnTemplateRemoveClick() {
  const std::wstring file = TemplateSetFileName();
  TemplateTable* templates = program_.Templates();
  if (file.empty() || !templates) return;
  if (!system_.AskYesNo(FormatText(LangText(308), {file}))) return;
  RemoveTemplatesOfFile(*templates, file);
  SaveTemplatesToFile(*templates, preset_.TemplatesFileName());
}

void TMainForm::btnTemplateSetupClick() { program_.OpenTemplateEditor(); }

void TMainForm::btnWizardClick() {
  if (program_.WizardOpen()) {
    program_.BringWizardToFront();
    return;
  }
  ShowWaitMessage(LangText(380));
  const bool opened = program_.OpenWizard();
  HideWaitMessage();
  if (opened) Close();
}

// --- painting ------------------------------------------------------------------

void TMainForm::ApplyFrameColours() {
  const COLORREF start = Office11Color(kOffice11HeaderStartEntry), end = Office11Color(kOffice11HeaderEndEntry),
                 caption = Office11Color(kOffice11HeaderCaptionEntry);
  const ui::GradientHeaderLook& look = pnlInfo.Look();
  if (look.start != start || look.end != end) pnlInfo.SetColours(start, end);
  if (look.captionColour != caption) pnlInfo.SetCaptionColour(caption);
}

void TMainForm::PaintFrame(HDC dc) {
  RECT client = ClientRect();
  FillRect(dc, &client, faceBrush_.Get());
  // The tree and the page area stand one pixel inside a frame of the scheme's colour.
  auto boundsOf = [](const ui::Window& window) { return window.Bounds(); };
  RECT left = boundsOf(tvList);
  InflateRect(&left, 1, 1);
  const RECT header = boundsOf(pnlInfo);
  const RECT info = boundsOf(frmInfo);
  RECT main{header.left - 1, header.top - 1, header.right + 1, left.bottom};
  ui::Brush frame(CreateSolidBrush(Office11Color(kOffice11FrameEntry)));
  FillRect(dc, &left, frame.Get());
  FillRect(dc, &main, frame.Get());
  RECT inner{info.left, header.bottom + 1, info.right, left.bottom - 1};
  FillRect(dc, &inner, faceBrush_.Get());
}

HBRUSH TMainForm::LabelColours(HDC dc, HWND label) {
  if (label == lblLocalization.Handle()) SetTextColor(dc, linkColour_);
  else if (label == lblGestures.Handle()) SetTextColor(dc, Office11Color(kGesturesLabelEntry));
  else return nullptr;
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return faceBrush_.Get();
}

LRESULT TMainForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      if (faceBrush_) {
        PaintFrame(reinterpret_cast<HDC>(wParam));
        return 1;
      }
      break;
    case WM_PAINT:
      ApplyFrameColours();
      break;
    case WM_CTLCOLORSTATIC:
      if (HBRUSH brush = LabelColours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)))
        return reinterpret_cast<LRESULT>(brush);
      break;
    default:
      break;
  }
  return TQvForm::HandleMessage(message, wParam, lParam);
}

}  // namespace snibbet
