// The setters of the settings object. Each stores its value; the effects on
// the running program join them as the windows they reach are built.
#include <algorithm>
#include <stdexcept>

#include "core/preset.h"

namespace snibbet {

void TPreset::SetKeyboardShowDelay(int value) { keyboardShowDelay_ = value; }
void TPreset::SetKeyboardAutoHide(bool value) { keyboardAutoHide_ = value; }
void TPreset::SetColorScheme(int value) { colorScheme_ = value; }
void TPreset::SetKeyboardHideDelay(int value) { keyboardHideDelay_ = value; }
void TPreset::SetBackgroundAlphaBlend(std::uint8_t value) { backgroundAlphaBlend_ = value; }
void TPreset::SetKeyboardName(const std::wstring& value) { keyboardName_ = value; }
void TPreset::SetActionFileName(const std::wstring& value) { actionFileName_ = value; }
void TPreset::SetTemplatesFileName(const std::wstring& value) { templatesFileName_ = value; }
void TPreset::SetThemeFontName(const std::wstring& value) { themeFontName_ = value; }
void TPreset::SetThemeFontItalic(bool value) { themeFontItalic_ = value; }
void TPreset::SetThemeFontBold(bool value) { themeFontBold_ = value; }
void TPreset::SetThemeFontSize(int value) { themeFontSize_ = value; }
void TPreset::SetBackgroundPicture(const std::wstring& value) { backgroundPicture_ = value; }
void TPreset::SetKeyboardLang(HKL value) { keyboardLang_ = value; }
void TPreset::SetKeyboardShowWin(bool value) { keyboardShowWin_ = value; }
void TPreset::SetKeyboardShowCtrl(bool value) { keyboardShowCtrl_ = value; }
void TPreset::SetKeyboardShowShift(bool value) { keyboardShowShift_ = value; }
void TPreset::SetKeyboardShowAlt(bool value) { keyboardShowAlt_ = value; }
void TPreset::SetShowKeyboardZone(bool value) { showKeyboardZone_ = value; }
void TPreset::SetShowLangIcon(bool value) { showLangIcon_ = value; }
void TPreset::SetNumLockMode(int value) { numLockMode_ = value; }
void TPreset::SetNumAlwaysFigure(bool value) { numAlwaysFigure_ = value; }
void TPreset::SetMaxClipboardHistory(int value) { maxClipboardHistory_ = value; }
void TPreset::SetMaxProcessHistory(int value) { maxProcessHistory_ = value; }
void TPreset::SetMaxHiddenWindows(int value) { maxHiddenWindows_ = value; }
void TPreset::SetUniqueClipboard(bool value) { uniqueClipboard_ = value; }
void TPreset::SetShowCaretFlagOnChange(bool value) { showCaretFlagOnChange_ = value; }
void TPreset::SetTaskSwitchShowHidden(bool value) { taskSwitchShowHidden_ = value; }
void TPreset::SetTaskSwitchSmallIcon(bool value) { taskSwitchSmallIcon_ = value; }
void TPreset::SetUniqueProcessHistory(bool value) { uniqueProcessHistory_ = value; }
void TPreset::SetShowIconApp(bool value) { showIconApp_ = value; }
void TPreset::SetShowIconZqkeys(bool value) { showIconZqkeys_ = value; }
void TPreset::SetShowIconWindows(bool value) { showIconWindows_ = value; }
void TPreset::SetHighPriority(bool value) { highPriority_ = value; }
void TPreset::SetLanguage(int value) { language_ = value; }
void TPreset::SetShowHotkeySquare(bool value) { showHotkeySquare_ = value; }
void TPreset::SetKeyboardShowCaption(bool value) { keyboardShowCaption_ = value; }
void TPreset::SetTemplatesBreaks(const std::wstring& value) { templatesBreaks_ = value; }
void TPreset::SetThemeInfoFontName(const std::wstring& value) { themeInfoFontName_ = value; }
void TPreset::SetThemeInfoFontItalic(bool value) { themeInfoFontItalic_ = value; }
void TPreset::SetThemeInfoFontSize(int value) { themeInfoFontSize_ = value; }
void TPreset::SetThemeInfoFontBold(bool value) { themeInfoFontBold_ = value; }
void TPreset::SetCaretFlagAlphaBlend(int value) { caretFlagAlphaBlend_ = value; }
void TPreset::SetFastCaretFlag(bool value) { fastCaretFlag_ = value; }
void TPreset::SetKeyboardAlphaBlend(std::uint8_t value) { keyboardAlphaBlend_ = value; }
void TPreset::SetSCShowTemplates(std::int32_t value) { scShowTemplates_ = value; }
void TPreset::SetKeyboardShowLabels(bool value) { keyboardShowLabels_ = value; }
void TPreset::SetShowCharCtrl(bool value) { showCharCtrl_ = value; }
void TPreset::SetSoundEnabled(bool value) { soundEnabled_ = value; }
void TPreset::SetUseGestures(bool value) { useGestures_ = value; }
void TPreset::SetShowIconHints(bool value) { showIconHints_ = value; }
void TPreset::SetHideTrayIcon(bool value) { hideTrayIcon_ = value; }
void TPreset::SetKeyboardCenterInfo(bool value) { keyboardCenterInfo_ = value; }

// Settings of features this program does not offer: the value is dropped and
// the field keeps its default.
void TPreset::SetShowCaretFlag(bool) {}
void TPreset::SetClipboardPreviewFontItalic(bool) {}
void TPreset::SetClipboardPreviewFontSize(int) {}
void TPreset::SetClipboardPreviewFontBold(bool) {}
void TPreset::SetClipboardPreviewFontName(const std::wstring&) {}
void TPreset::SetSCShowClipboard(std::int32_t) {}
void TPreset::SetSCShowKeyboard(std::int32_t) {}

// The clipboard history is never switched on.
void TPreset::SetClipboardIsActive(bool) { clipboardIsActive_ = false; }

void TPreset::SetSound(int slot, const std::wstring& entry) {
  if (slot < 0 || slot >= kSoundSlots) throw std::out_of_range("Sound slot out of range");
  sounds_[slot] = entry;
  soundFiles_[slot].clear();
}

void TPreset::SetSensitivityGestures(int value) {
  // Outside 0..30 the gesture distance would wrap around or reach zero.
  sensitivityGestures_ = static_cast<std::uint8_t>(std::clamp(value, 0, kMaxSensitivityGestures));
  gestureDistance_ = static_cast<std::uint8_t>(31 - sensitivityGestures_);
}

}  // namespace snibbet
