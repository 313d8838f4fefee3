// The settings window's fill from the settings object, and the pages the
// program does not offer: their controls are filled and their handlers set
// their settings, though the user never reaches them.
#include <windows.h>

#include "core/key_names.h"
#include "core/lang_captions.h"
#include "core/lang_table.h"
#include "core/preset.h"
#include "core/shortcut.h"
#include "core/utf8.h"
#include "dialogs/settings_form.h"
#include "dialogs/settings_form_texts.h"
#include "keyboard/action_file.h"
#include "keyboard/actions.h"
#include "keyboard/key_model.h"
#include "ui/choose_dialogs.h"
#include "ui/file_dialog.h"

namespace snibbet {
namespace {

enum FontFieldKind { kThemeFont, kThemeInfoFont, kClipboardPreviewFont };

struct FontSetting {
  std::wstring name;
  bool bold = false, italic = false;
  int size = 0;
};

FontSetting StoredFont(const TPreset& preset, int which) {
  switch (which) {
    case kThemeFont:
      return {preset.ThemeFontName(), preset.ThemeFontBold(), preset.ThemeFontItalic(), preset.ThemeFontSize()};
    case kThemeInfoFont:
      return {preset.ThemeInfoFontName(), preset.ThemeInfoFontBold(), preset.ThemeInfoFontItalic(),
              preset.ThemeInfoFontSize()};
    default:
      return {preset.ClipboardPreviewFontName(), preset.ClipboardPreviewFontBold(),
              preset.ClipboardPreviewFontItalic(), preset.ClipboardPreviewFontSize()};
  }
}

// Name, bold, italic and size, in this order.
void StoreFont(TPreset& preset, int which, const FontSetting& font) {
  switch (which) {
    case kThemeFont:
      preset.SetThemeFontName(font.name);
      preset.SetThemeFontBold(font.bold);
      preset.SetThemeFontItalic(font.italic);
      preset.SetThemeFontSize(font.size);
      break;
    case kThemeInfoFont:
      preset.SetThemeInfoFontName(font.name);
      preset.SetThemeInfoFontBold(font.bold);
      preset.SetThemeInfoFontItalic(font.italic);
      preset.SetThemeInfoFontSize(font.size);
      break;
    default:
      preset.SetClipboardPreviewFontName(font.name);
      preset.SetClipboardPreviewFontBold(font.bold);
      preset.SetClipboardPreviewFontItalic(font.italic);
      preset.SetClipboardPreviewFontSize(font.size);
      break;
  }
}

LOGFONTW FontDescriptionOf(const FontSetting& font) {
  LOGFONTW description{};
  HDC screen = GetDC(nullptr);
  description.lfHeight = -MulDiv(font.size, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  description.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  description.lfItalic = font.italic ? TRUE : FALSE;
  description.lfCharSet = DEFAULT_CHARSET;
  wcsncpy_s(description.lfFaceName, font.name.c_str(), _TRUNCATE);
  return description;
}

std::wstring KeyName(int vk) { return Utf8ToWide(VirtualKeyName(vk)); }

}  // namespace

void TMainForm::LoadSettingsToControls() {
  loading_ = true;
  optionsProgramDue_ = false;
  settingsEdited_ = false;
  TPreset& preset = Preset();
  tbThemeAlphaBlend.SetPosition(preset.BackgroundAlphaBlend());
  tbThemeCommonAlphaBlend.SetPosition(preset.KeyboardAlphaBlend());
  cbColors.SetItemIndex(preset.ColorScheme());
  ShowFontField(edtThemeFont, kThemeFont);
  ShowFontField(edtThemeInfoFont, kThemeInfoFont);
  ShowFontField(edtClipboardPreviewFont, kClipboardPreviewFont);
  edtBackgroundPicture.SetText(preset.BackgroundPicture());
  edtKeyboardName.SetText(preset.KeyboardName());

  cbKeyboardLang.Clear();
  for (const std::wstring& item : FillKeyboardLayoutList()) cbKeyboardLang.AddItem(item);
  int chosenLayout = 0;
  for (size_t i = 0; i < keyboardLayouts_.size(); ++i)
    if (keyboardLayouts_[i] == preset.KeyboardLang()) chosenLayout = static_cast<int>(i);
  cbKeyboardLang.SetItemIndex(chosenLayout);
  clbEnabledLanguages.Clear();
  const std::vector<std::wstring> layoutItems = FillKeyboardLayoutList();
  for (size_t i = 0; i < layoutItems.size(); ++i)
    clbEnabledLanguages.AddItem(layoutItems[i], reinterpret_cast<std::intptr_t>(keyboardLayouts_[i]),
                                !preset.IsLangDisabled(keyboardLayouts_[i]));
  FillLanguageList();

  edtKeyboardShowDelay.SetValue(preset.KeyboardShowDelay());
  edtKeyboardHideDelay.SetValue(preset.KeyboardHideDelay());
  chkKeyboardAutoHide.SetChecked(preset.KeyboardAutoHide());
  chkKeyboardShowCaption.SetChecked(preset.KeyboardShowCaption());
  chkKeyboardShowLabels.SetChecked(preset.KeyboardShowLabels());
  chkskShift.SetChecked(preset.KeyboardShowShift());
  chkskCtrl.SetChecked(preset.KeyboardShowCtrl());
  chkskAlt.SetChecked(preset.KeyboardShowAlt());
  chkskWin.SetChecked(preset.KeyboardShowWin());
  chkShowKeyboardZone.SetChecked(preset.ShowKeyboardZone());
  chkShowCharCtrl.SetChecked(preset.ShowCharCtrl());
  chkShowLangIcon.SetChecked(preset.ShowLangIcon());
  chkShowCaretFlag.SetChecked(preset.ShowCaretFlag());
  chkShowCaretFlagOnChange.SetChecked(preset.ShowCaretFlagOnChange());
  chkFastCaretFlag.SetChecked(preset.FastCaretFlag());
  tbCaretFlagAlphaBlend.SetPosition(preset.CaretFlagAlphaBlend());
  cbNumLockStatus.SetItemIndex(preset.NumLockMode());
  chkNumAlwaysFigure.SetChecked(preset.NumAlwaysFigure());
  edtMaxClipboardHistory.SetValue(preset.MaxClipboardHistory());
  edtMaxProcessHistory.SetValue(preset.MaxProcessHistory());
  edtMaxHiddenWindows.SetValue(preset.MaxHiddenWindows());
  chkUniqueClipboard.SetChecked(preset.UniqueClipboard());
  chkClipboardIsActive.SetChecked(preset.ClipboardIsActive());
  chkTaskSwitchSmallIcon.SetChecked(preset.TaskSwitchSmallIcon());
  chkTaskSwitchShowHidden.SetChecked(preset.TaskSwitchShowHidden());
  chkUniqueProcessHistory.SetChecked(preset.UniqueProcessHistory());
  chkShowIconWindows.SetChecked(preset.ShowIconWindows());
  chkShowIconApp.SetChecked(preset.ShowIconApp());
  chkShowIconZqkeys.SetChecked(preset.ShowIconZqkeys());
  chkShowIconHints.SetChecked(preset.ShowIconHints());
  // The machine-wide boxes show the system's states, not settings.
  ReadOptionsStatesIntoBoxes();
  chkHighPriority.SetChecked(preset.HighPriority());
  chkHideTrayIcon.SetChecked(preset.HideTrayIcon());
  chkShowHotkeySquare.SetChecked(preset.ShowHotkeySquare());
  edtTemplatesBreaks.SetText(preset.TemplatesBreaks());
  soundsPage_.Fill();
  chkUseGestures.SetChecked(preset.UseGestures());
  tbSensitivityGestures.SetPosition(preset.SensitivityGestures());
  lbStandartActions.SetItemIndex(0);
  lbStandardTemplates.SetItemIndex(0);

  UpdateCaretFlagEnabling();
  ShowShortcutTexts();
  btnApply.SetEnabled(false);
  loading_ = false;
}

void TMainForm::UpdateCaretFlagEnabling() {
  chkShowCaretFlagOnChange.SetEnabled(chkShowCaretFlag.Checked());
  chkFastCaretFlag.SetEnabled(chkShowCaretFlag.Checked() && !chkShowCaretFlagOnChange.Checked());
}

void TMainForm::ShowFontField(ui::Edit& field, int which) {
  const FontSetting font = StoredFont(Preset(), which);
  const LOGFONTW description = FontDescriptionOf(font);
  ui::Font& shown = fieldFonts_[static_cast<std::size_t>(which)];
  shown = ui::Font(CreateFontIndirectW(&description));
  SendMessageW(field.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(shown.Get()), TRUE);
  field.SetText(font.name);
}

// A click, not a change: no test of the fill's flag.
void TMainForm::ChooseFont(ui::Edit& field, int which) {
  const FontSetting stored = StoredFont(Preset(), which);
  ui::FontChoice initial;
  initial.font = FontDescriptionOf(stored);
  initial.pointSize = stored.size;
  const std::optional<ui::FontChoice> chosen = ui::ChooseFontDialog(initial, Handle());
  if (!chosen) return;
  StoreFont(Preset(), which,
            {chosen->font.lfFaceName, chosen->font.lfWeight >= FW_BOLD, chosen->font.lfItalic != 0, chosen->pointSize});
  ShowFontField(field, which);
  OptionsChanged();
}

void TMainForm::QueryHiddenHotkey(std::int32_t value, void (TPreset::*store)(std::int32_t)) {
  const ShortCutKeys keys = SplitShortCut(value);
  std::uint8_t key = keys.key;
  ControlSet set = keys.controlSet;
  if (!system_.QueryShortcutKey(key, set)) return;
  (Preset().*store)(MakeShortCut(key, set));
  ShowShortcutTexts();
  OptionsChanged();
}

void TMainForm::AskAndChangeBindingSet(bool add) {
  const std::wstring file = ActionSetFileName();
  if (file.empty()) return;
  if (!system_.AskYesNo(FormatText(add ? LangText(309) : LangText(310), {file}))) return;
  if (add) {
    bindings_.LoadFromFile(file);
  } else if (!RemoveActionsFromFile(bindings_, file)) {
    // A missing or unreadable set file (the latter already reported) changed nothing.
    return;
  }
  bindings_.SaveToFile(Preset().ActionFileName());
  if (TQvKeyboard* keyboard = QvKeyboard()) keyboard->Redraw();
}

void TMainForm::WireHiddenPageHandlers() {
  tbThemeAlphaBlend.onChange = [this] {
    LiveEdit([this] { Preset().SetBackgroundAlphaBlend(static_cast<std::uint8_t>(tbThemeAlphaBlend.Position())); });
  };
  tbThemeCommonAlphaBlend.onChange = [this] {
    LiveEdit([this] { Preset().SetKeyboardAlphaBlend(static_cast<std::uint8_t>(tbThemeCommonAlphaBlend.Position())); });
  };
  cbColors.onChange = [this] { LiveEdit([this] { Preset().SetColorScheme(cbColors.ItemIndex()); }); };
  btnThemeFont.onClick = [this] { ChooseFont(edtThemeFont, kThemeFont); };
  btnThemeInfoFont.onClick = [this] { ChooseFont(edtThemeInfoFont, kThemeInfoFont); };
  btnClipboardPreviewFont.onClick = [this] { ChooseFont(edtClipboardPreviewFont, kClipboardPreviewFont); };
  edtBackgroundPicture.onChange = [this] {
    LiveEdit([this] { Preset().SetBackgroundPicture(edtBackgroundPicture.Text()); });
  };
  btnBackgroundPicture.onClick = [this] {
    const std::optional<ui::FileDialogResult> chosen = ui::ShowOpenFileDialog(
        {.title = LangText(324), .filter = pictureFilter_, .initialFolder = pictureFolder_,
         .fileName = edtBackgroundPicture.Text()},
        Handle());
    if (chosen) edtBackgroundPicture.SetText(chosen->path);
  };
  btnKeyboardName.onClick = [] {};
  cbKeyboardLang.onChange = [this] {
    LiveEdit([this] {
      const int chosen = cbKeyboardLang.ItemIndex();
      if (chosen >= 0 && chosen < static_cast<int>(keyboardLayouts_.size()))
        Preset().SetKeyboardLang(keyboardLayouts_[static_cast<std::size_t>(chosen)]);
    });
  };
  clbEnabledLanguages.onClickCheck = [this](int item) {
    LiveEdit([this, item] {
      const HKL layout = reinterpret_cast<HKL>(clbEnabledLanguages.ItemData(item));
      if (clbEnabledLanguages.Checked(item)) Preset().RemoveDisabledLang(layout);
      else Preset().AddDisabledLang(layout);
    });
  };
  edtKeyboardShowDelay.onChange = [this] {
    LiveEdit([this] { Preset().SetKeyboardShowDelay(edtKeyboardShowDelay.Value()); });
  };
  edtKeyboardHideDelay.onChange = [this] {
    LiveEdit([this] { Preset().SetKeyboardHideDelay(edtKeyboardHideDelay.Value()); });
  };
  chkKeyboardAutoHide.onClick = [this] {
    LiveEdit([this] { Preset().SetKeyboardAutoHide(chkKeyboardAutoHide.Checked()); });
  };
  chkKeyboardShowCaption.onClick = [this] {
    LiveEdit([this] { Preset().SetKeyboardShowCaption(chkKeyboardShowCaption.Checked()); });
  };
  chkKeyboardShowLabels.onClick = [this] {
    LiveEdit([this] { Preset().SetKeyboardShowLabels(chkKeyboardShowLabels.Checked()); });
  };
  const auto modifiersClick = [this] {
    LiveEdit([this] {
      TPreset& preset = Preset();
      preset.SetKeyboardShowShift(chkskShift.Checked());
      preset.SetKeyboardShowCtrl(chkskCtrl.Checked());
      preset.SetKeyboardShowAlt(chkskAlt.Checked());
      preset.SetKeyboardShowWin(chkskWin.Checked());
    });
  };
  for (ui::CheckBox* box : {&chkskShift, &chkskCtrl, &chkskAlt, &chkskWin}) box->onClick = modifiersClick;
  chkShowKeyboardZone.onClick = [this] {
    LiveEdit([this] { Preset().SetShowKeyboardZone(chkShowKeyboardZone.Checked()); });
  };
  chkShowCharCtrl.onClick = [this] { LiveEdit([this] { Preset().SetShowCharCtrl(chkShowCharCtrl.Checked()); }); };
  chkShowLangIcon.onClick = [this] { LiveEdit([this] { Preset().SetShowLangIcon(chkShowLangIcon.Checked()); }); };
  // The enabling follows the boxes also while the window fills them.
  chkShowCaretFlag.onClick = [this] {
    UpdateCaretFlagEnabling();
    LiveEdit([this] { Preset().SetShowCaretFlag(chkShowCaretFlag.Checked()); });
  };
  chkShowCaretFlagOnChange.onClick = [this] {
    UpdateCaretFlagEnabling();
    LiveEdit([this] { Preset().SetShowCaretFlagOnChange(chkShowCaretFlagOnChange.Checked()); });
  };
  chkFastCaretFlag.onClick = [this] { LiveEdit([this] { Preset().SetFastCaretFlag(chkFastCaretFlag.Checked()); }); };
  tbCaretFlagAlphaBlend.onChange = [this] {
    LiveEdit([this] { Preset().SetCaretFlagAlphaBlend(tbCaretFlagAlphaBlend.Position()); });
  };
  cbNumLockStatus.onChange = [this] { LiveEdit([this] { Preset().SetNumLockMode(cbNumLockStatus.ItemIndex()); }); };
  chkNumAlwaysFigure.onClick = [this] {
    LiveEdit([this] { Preset().SetNumAlwaysFigure(chkNumAlwaysFigure.Checked()); });
  };
  edtMaxClipboardHistory.onChange = [this] {
    LiveEdit([this] { Preset().SetMaxClipboardHistory(edtMaxClipboardHistory.Value()); });
  };
  edtMaxProcessHistory.onChange = [this] {
    LiveEdit([this] { Preset().SetMaxProcessHistory(edtMaxProcessHistory.Value()); });
  };
  edtMaxHiddenWindows.onChange = [this] {
    LiveEdit([this] { Preset().SetMaxHiddenWindows(edtMaxHiddenWindows.Value()); });
  };
  chkUniqueClipboard.onClick = [this] {
    LiveEdit([this] { Preset().SetUniqueClipboard(chkUniqueClipboard.Checked()); });
  };
  chkClipboardIsActive.onClick = [this] {
    LiveEdit([this] { Preset().SetClipboardIsActive(chkClipboardIsActive.Checked()); });
  };
  chkTaskSwitchSmallIcon.onClick = [this] {
    LiveEdit([this] { Preset().SetTaskSwitchSmallIcon(chkTaskSwitchSmallIcon.Checked()); });
  };
  chkTaskSwitchShowHidden.onClick = [this] {
    LiveEdit([this] { Preset().SetTaskSwitchShowHidden(chkTaskSwitchShowHidden.Checked()); });
  };
  chkUniqueProcessHistory.onClick = [this] {
    LiveEdit([this] { Preset().SetUniqueProcessHistory(chkUniqueProcessHistory.Checked()); });
  };
  chkShowIconWindows.onClick = [this] {
    LiveEdit([this] { Preset().SetShowIconWindows(chkShowIconWindows.Checked()); });
  };
  chkShowIconApp.onClick = [this] { LiveEdit([this] { Preset().SetShowIconApp(chkShowIconApp.Checked()); }); };
  chkShowIconZqkeys.onClick = [this] { LiveEdit([this] { Preset().SetShowIconZqkeys(chkShowIconZqkeys.Checked()); }); };
  chkShowIconHints.onClick = [this] { LiveEdit([this] { Preset().SetShowIconHints(chkShowIconHints.Checked()); }); };
  chkShowHotkeySquare.onClick = [this] {
    LiveEdit([this] { Preset().SetShowHotkeySquare(chkShowHotkeySquare.Checked()); });
  };
  chkUseGestures.onClick = [this] { LiveEdit([this] { Preset().SetUseGestures(chkUseGestures.Checked()); }); };
  tbSensitivityGestures.onChange = [this] {
    LiveEdit([this] { Preset().SetSensitivityGestures(tbSensitivityGestures.Position()); });
  };
  btnActionsAdd.onClick = [this] { AskAndChangeBindingSet(true); };
  btnActionsRemove.onClick = [this] { AskAndChangeBindingSet(false); };
  // The language-switch hotkeys and the setups of these pages are not part of the program.
  btnSetLangShortcut.onClick = [] {};
  lvLangShortcuts.onDoubleClick = [](int) {};
  btnKeyboardSetup.onClick = [] {};
  btnIconSetup.onClick = [] {};
  btnSCShowKeyboard.onClick = [this] { QueryHiddenHotkey(Preset().SCShowKeyboard(), &TPreset::SetSCShowKeyboard); };
  btnSCShowClipboard.onClick = [this] { QueryHiddenHotkey(Preset().SCShowClipboard(), &TPreset::SetSCShowClipboard); };
}

void TMainForm::ApplyHiddenPageTexts() {
  lblThemeAlphaBlend.SetText(LangText(343));
  lblThemeCommonAlphaBlend.SetText(LangText(531));
  lblThemeAlphaBlendOpaque.SetText(LangText(586));
  lblThemeCommonAlphaBlendOpaque.SetText(LangText(586));
  lblColors.SetText(LangText(341));
  SetListLines(cbColors, BuildColorSchemeNames());
  lblThemeFont.SetText(LangText(345));
  lblThemeInfoFont.SetText(LangText(346));
  lblBackgroundPicture.SetText(LangText(344));
  chkKeyboardShowCaption.SetText(LangText(356));
  lblStandartActions.SetText(LangText(327));
  SetListLines(lbStandartActions, JoinedTexts({LangId(347), LangId(518), LangId(519), LangId(520)}));
  btnActionsAdd.SetText(LangText(348));
  btnActionsRemove.SetText(LangText(349));
  lblKeyboardName.SetText(LangText(350));
  chkKeyboardShowLabels.SetText(LangText(558));
  lblKeyboardShowDelay.SetText(LangText(353));
  lblKeyboardHideDelay.SetText(LangText(354));
  chkKeyboardAutoHide.SetText(LangText(521));
  lblShowModifiers.SetText(LangText(352));
  chkskShift.SetText(KeyName(VK_SHIFT));
  chkskCtrl.SetText(KeyName(VK_CONTROL));
  chkskAlt.SetText(KeyName(VK_MENU));
  chkskWin.SetText(KeyName(VK_LWIN));
  chkShowKeyboardZone.SetText(LangText(355));
  chkShowCharCtrl.SetText(LangText(563));
  chkUseGestures.SetText(LangText(600));
  lblGestures.SetText(LangText(599) + L"   ");
  lblSensitivityGestures.SetText(LangText(601));
  lblSensitivityLow.SetText(LangText(602));
  lblSensitivityHigh.SetText(LangText(603));
  btnKeyboardSetup.SetText(LangText(449));
  lblClipboardPreviewFont.SetText(LangText(360));
  lblMaxClipboardHistory.SetText(LangText(358));
  chkUniqueClipboard.SetText(LangText(359));
  chkClipboardIsActive.SetText(LangText(357));
  chkTaskSwitchSmallIcon.SetText(LangText(361));
  chkTaskSwitchShowHidden.SetText(LangText(362));
  lblMaxProcessHistory.SetText(LangText(363));
  chkUniqueProcessHistory.SetText(LangText(364));
  lblEnabledLanguages.SetText(LangText(650));
  chkShowLangIcon.SetText(WithProductName(LangId(368)));
  chkShowCaretFlag.SetText(LangText(369));
  hints_.SetHint(*this, chkShowCaretFlag, LangText(598));
  chkShowCaretFlagOnChange.SetText(LangText(370));
  chkFastCaretFlag.SetText(LangText(526));
  lblCaretFlagAlphaBlend.SetText(LangText(371));
  lblCaretFlagAlphaBlendOpaque.SetText(LangText(586));
  std::wstring shortcutColumn = LangText(430);
  if (const size_t colon = shortcutColumn.find(L':'); colon != std::wstring::npos) shortcutColumn.erase(colon, 1);
  lvLangShortcuts.SetColumnText(0, shortcutColumn);
  lvLangShortcuts.SetColumnText(1, LangText(395));
  btnSetLangShortcut.SetText(LangText(80));
  chkShowIconWindows.SetText(WithProductName(LangId(372)));
  chkShowIconApp.SetText(WithProductName(LangId(373)));
  chkShowIconZqkeys.SetText(WithProductName(LangId(374)));
  chkShowIconHints.SetText(LangText(635));
  chkShowHotkeySquare.SetText(LangText(375));
  btnIconSetup.SetText(LangText(3));
  lblSCShowKeyboard.SetText(LangText(233));
  lblSCShowClipboard.SetText(LangText(206));
}

}  // namespace snibbet
