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
  tbThemeAlphaBlend.SetPosition(preset_.BackgroundAlphaBlend());
  tbThemeCommonAlphaBlend.SetPosition(preset_.KeyboardAlphaBlend());
  cbColors.SetItemIndex(preset_.ColorScheme());
  ShowFontField(edtThemeFont, kThemeFont);
  ShowFontField(edtThemeInfoFont, kThemeInfoFont);
  ShowFontField(edtClipboardPreviewFont, kClipboardPreviewFont);
  edtBackgroundPicture.SetText(preset_.BackgroundPicture());
  edtKeyboardName.SetText(preset_.KeyboardName());

  cbKeyboardLang.Clear();
  for (const std::wstring& item : FillKeyboardLayoutList()) cbKeyboardLang.AddItem(item);
  int chosenLayout = 0;
  for (size_t i = 0; i < keyboardLayouts_.size(); ++i)
    if (keyboardLayouts_[i] == preset_.KeyboardLang()) chosenLayout = static_cast<int>(i);
  cbKeyboardLang.SetItemIndex(chosenLayout);
  clbEnabledLanguages.Clear();
  const std::vector<std::wstring> layoutItems = FillKeyboardLayoutList();
  for (size_t i = 0; i < layoutItems.size(); ++i)
    clbEnabledLanguages.AddItem(layoutItems[i], reinterpret_cast<std::intptr_t>(keyboardLayouts_[i]),
                                !preset_.IsLangDisabled(keyboardLayouts_[i]));
  FillLanguageList();

  edtKeyboardShowDelay.SetValue(preset_.KeyboardShowDelay());
  edtKeyboardHideDelay.SetValue(preset_.KeyboardHideDelay());
  chkKeyboardAutoHide.SetChecked(preset_.KeyboardAutoHide());
  chkKeyboardShowCaption.SetChecked(preset_.KeyboardShowCaption());
  chkKeyboardShowLabels.SetChecked(preset_.KeyboardShowLabels());
  chkskShift.SetChecked(preset_.KeyboardShowShift());
  chkskCtrl.SetChecked(preset_.KeyboardShowCtrl());
  chkskAlt.SetChecked(preset_.KeyboardShowAlt());
  chkskWin.SetChecked(preset_.KeyboardShowWin());
  chkShowKeyboardZone.SetChecked(preset_.ShowKeyboardZone());
  chkShowCharCtrl.SetChecked(preset_.ShowCharCtrl());
  chkShowLangIcon.SetChecked(preset_.ShowLangIcon());
  chkShowCaretFlag.SetChecked(preset_.ShowCaretFlag());
  chkShowCaretFlagOnChange.SetChecked(preset_.ShowCaretFlagOnChange());
  chkFastCaretFlag.SetChecked(preset_.FastCaretFlag());
  tbCaretFlagAlphaBlend.SetPosition(preset_.CaretFlagAlphaBlend());
  cbNumLockStatus.SetItemIndex(preset_.NumLockMode());
  chkNumAlwaysFigure.SetChecked(preset_.NumAlwaysFigure());
  edtMaxClipboardHistory.SetValue(preset_.MaxClipboardHistory());
  edtMaxProcessHistory.SetValue(preset_.MaxProcessHistory());
  edtMaxHiddenWindows.SetValue(preset_.MaxHiddenWindows());
  chkUniqueClipboard.SetChecked(preset_.UniqueClipboard());
  chkClipboardIsActive.SetChecked(preset_.ClipboardIsActive());
  chkTaskSwitchSmallIcon.SetChecked(preset_.TaskSwitchSmallIcon());
  chkTaskSwitchShowHidden.SetChecked(preset_.TaskSwitchShowHidden());
  chkUniqueProcessHistory.SetChecked(preset_.UniqueProcessHistory());
  chkShowIconWindows.SetChecked(preset_.ShowIconWindows());
  chkShowIconApp.SetChecked(preset_.ShowIconApp());
  chkShowIconZqkeys.SetChecked(preset_.ShowIconZqkeys());
  chkShowIconHints.SetChecked(preset_.ShowIconHints());
  // The machine-wide boxes show the system's states, not settings.
  ReadOptionsStatesIntoBoxes();
  chkHighPriority.SetChecked(preset_.HighPriority());
  chkHideTrayIcon.SetChecked(preset_.HideTrayIcon());
  chkShowHotkeySquare.SetChecked(preset_.ShowHotkeySquare());
  edtTemplatesBreaks.SetText(preset_.TemplatesBreaks());
  soundsPage_.Fill();
  chkUseGestures.SetChecked(preset_.UseGestures());
  tbSensitivityGestures.SetPosition(preset_.SensitivityGestures());
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
  const FontSetting font = StoredFont(preset_, which);
  const LOGFONTW description = FontDescriptionOf(font);
  ui::Font& shown = fieldFonts_[static_cast<std::size_t>(which)];
  shown = ui::Font(CreateFontIndirectW(&description));
  SendMessageW(field.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(shown.Get()), TRUE);
  field.SetText(font.name);
}

// A click, not a change: no test of the fill's flag.
void TMainForm::ChooseFont(ui::Edit& field, int which) {
  const FontSetting stored = StoredFont(preset_, which);
  ui::FontChoice initial;
  initial.font = FontDescriptionOf(stored);
  initial.pointSize = stored.size;
  const std::optional<ui::FontChoice> chosen = ui::ChooseFontDialog(initial, Handle());
  if (!chosen) return;
  StoreFont(preset_, which,
            {chosen->font.lfFaceName, chosen->font.lfWeight >= FW_BOLD, chosen->font.lfItalic != 0, chosen->pointSize});
  ShowFontField(field, which);
  OptionsChanged();
}

void TMainForm::QueryHiddenHotkey(std::int32_t value, void (TPreset::*store)(std::int32_t)) {
  const ShortCutKeys keys = SplitShortCut(value);
  std::uint8_t key = keys.key;
  ControlSet set = keys.controlSet;
  if (!system_.QueryShortcutKey(key, set)) return;
  (preset_.*store)(MakeShortCut(key, set));
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
  bindings_.SaveToFile(preset_.ActionFileName());
  if (TQvKeyboard* keyboard = parts_.keyModel) keyboard->Redraw();
}

void TMainForm::WireHiddenPageHandlers() {
  tbThemeAlphaBlend.onChange = [this] {
    LiveEdit([this] { preset_.SetBackgroundAlphaBlend(static_cast<std::uint8_t>(tbThemeAlphaBlend.Position())); });
  };
  tbThemeCommonAlphaBlend.onChange = [this] {
    LiveEdit([this] { preset_.SetKeyboardAlphaBlend(static_cast<std::uint8_t>(tbThemeCommonAlphaBlend.Position())); });
  };
  cbColors.onChange = [this] { LiveEdit([this] { preset_.SetColorScheme(cbColors.ItemIndex()); }); };
  btnThemeFont.onClick = [this] { ChooseFont(edtThemeFont, kThemeFont); };
  btnThemeInfoFont.onClick = [this] { ChooseFont(edtThemeInfoFont, kThemeInfoFont); };
  btnClipboardPreviewFont.onClick = [this] { ChooseFont(edtClipboardPreviewFont, kClipboardPreviewFont); };
  edtBackgroundPicture.onChange = [this] {
    LiveEdit([this] { preset_.SetBackgroundPicture(edtBackgroundPicture.Text()); });
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
        preset_.SetKeyboardLang(keyboardLayouts_[static_cast<std::size_t>(chosen)]);
    });
  };
  clbEnabledLanguages.onClickCheck = [this](int item) {
    LiveEdit([this, item] {
      const HKL layout = reinterpret_cast<HKL>(clbEnabledLanguages.ItemData(item));
      if (clbEnabledLanguages.Checked(item)) preset_.RemoveDisabledLang(layout);
      else preset_.AddDisabledLang(layout);
    });
  };
  edtKeyboardShowDelay.onChange = [this] {
    LiveEdit([this] { preset_.SetKeyboardShowDelay(edtKeyboardShowDelay.Value()); });
  };
  edtKeyboardHideDelay.onChange = [this] {
    LiveEdit([this] { preset_.SetKeyboardHideDelay(edtKeyboardHideDelay.Value()); });
  };
  chkKeyboardAutoHide.onClick = [this] {
    LiveEdit([this] { preset_.SetKeyboardAutoHide(chkKeyboardAutoHide.Checked()); });
  };
  chkKeyboardShowCaption.onClick = [this] {
    LiveEdit([this] { preset_.SetKeyboardShowCaption(chkKeyboardShowCaption.Checked()); });
  };
  chkKeyboardShowLabels.onClick = [this] {
    LiveEdit([this] { preset_.SetKeyboardShowLabels(chkKeyboardShowLabels.Checked()); });
  };
  const auto modifiersClick = [this] {
    LiveEdit([this] {
      preset_.SetKeyboardShowShift(chkskShift.Checked());
      preset_.SetKeyboardShowCtrl(chkskCtrl.Checked());
      preset_.SetKeyboardShowAlt(chkskAlt.Checked());
      preset_.SetKeyboardShowWin(chkskWin.Checked());
    });
  };
  for (ui::CheckBox* box : {&chkskShift, &chkskCtrl, &chkskAlt, &chkskWin}) box->onClick = modifiersClick;
  chkShowKeyboardZone.onClick = [this] {
    LiveEdit([this] { preset_.SetShowKeyboardZone(chkShowKeyboardZone.Checked()); });
  };
  chkShowCharCtrl.onClick = [this] { LiveEdit([this] { preset_.SetShowCharCtrl(chkShowCharCtrl.Checked()); }); };
  chkShowLangIcon.onClick = [this] { LiveEdit([this] { preset_.SetShowLangIcon(chkShowLangIcon.Checked()); }); };
  // The enabling follows the boxes also while the window fills them.
  chkShowCaretFlag.onClick = [this] {
    UpdateCaretFlagEnabling();
    LiveEdit([this] { preset_.SetShowCaretFlag(chkShowCaretFlag.Checked()); });
  };
  chkShowCaretFlagOnChange.onClick = [this] {
    UpdateCaretFlagEnabling();
    LiveEdit([this] { preset_.SetShowCaretFlagOnChange(chkShowCaretFlagOnChange.Checked()); });
  };
  chkFastCaretFlag.onClick = [this] { LiveEdit([this] { preset_.SetFastCaretFlag(chkFastCaretFlag.Checked()); }); };
  tbCaretFlagAlphaBlend.onChange = [this] {
    LiveEdit([this] { preset_.SetCaretFlagAlphaBlend(tbCaretFlagAlphaBlend.Position()); });
  };
  cbNumLockStatus.onChange = [this] { LiveEdit([this] { preset_.SetNumLockMode(cbNumLockStatus.ItemIndex()); }); };
  chkNumAlwaysFigure.onClick = [this] {
    LiveEdit([this] { preset_.SetNumAlwaysFigure(chkNumAlwaysFigure.Checked()); });
  };
  edtMaxClipboardHistory.onChange = [this] {
    LiveEdit([this] { preset_.SetMaxClipboardHistory(edtMaxClipboardHistory.Value()); });
  };
  edtMaxProcessHistory.onChange = [this] {
    LiveEdit([this] { preset_.SetMaxProcessHistory(edtMaxProcessHistory.Value()); });
  };
  edtMaxHiddenWindows.onChange = [this] {
    LiveEdit([this] { preset_.SetMaxHiddenWindows(edtMaxHiddenWindows.Value()); });
  };
  chkUniqueClipboard.onClick = [this] {
    LiveEdit([this] { preset_.SetUniqueClipboard(chkUniqueClipboard.Checked()); });
  };
  chkClipboardIsActive.onClick = [this] {
    LiveEdit([this] { preset_.SetClipboardIsActive(chkClipboardIsActive.Checked()); });
  };
  chkTaskSwitchSmallIcon.onClick = [this] {
    LiveEdit([this] { preset_.SetTaskSwitchSmallIcon(chkTaskSwitchSmallIcon.Checked()); });
  };
  chkTaskSwitchShowHidden.onClick = [this] {
    LiveEdit([this] { preset_.SetTaskSwitchShowHidden(chkTaskSwitchShowHidden.Checked()); });
  };
  chkUniqueProcessHistory.onClick = [this] {
    LiveEdit([this] { preset_.SetUniqueProcessHistory(chkUniqueProcessHistory.Checked()); });
  };
  chkShowIconWindows.onClick = [this] {
    LiveEdit([this] { preset_.SetShowIconWindows(chkShowIconWindows.Checked()); });
  };
  chkShowIconApp.onClick = [this] { LiveEdit([this] { preset_.SetShowIconApp(chkShowIconApp.Checked()); }); };
  chkShowIconZqkeys.onClick = [this] { LiveEdit([this] { preset_.SetShowIconZqkeys(chkShowIconZqkeys.Checked()); }); };
  chkShowIconHints.onClick = [this] { LiveEdit([this] { preset_.SetShowIconHints(chkShowIconHints.Checked()); }); };
  chkShowHotkeySquare.onClick = [this] {
    LiveEdit([this] { preset_.SetShowHotkeySquare(chkShowHotkeySquare.Checked()); });
  };
  chkUseGestures.onClick = [this] { LiveEdit([this] { preset_.SetUseGestures(chkUseGestures.Checked()); }); };
  tbSensitivityGestures.onChange = [this] {
    LiveEdit([this] { preset_.SetSensitivityGestures(tbSensitivityGestures.Position()); });
  };
  btnActionsAdd.onClick = [this] { AskAndChangeBindingSet(true); };
  btnActionsRemove.onClick = [this] { AskAndChangeBindingSet(false); };
  // The language-switch hotkeys and the setups of these pages are not part of the program.
  btnSetLangShortcut.onClick = [] {};
  lvLangShortcuts.onDoubleClick = [](int) {};
  btnKeyboardSetup.onClick = [] {};
  btnIconSetup.onClick = [] {};
  btnSCShowKeyboard.onClick = [this] { QueryHiddenHotkey(preset_.SCShowKeyboard(), &TPreset::SetSCShowKeyboard); };
  btnSCShowClipboard.onClick = [this] { QueryHiddenHotkey(preset_.SCShowClipboard(), &TPreset::SetSCShowClipboard); };
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
