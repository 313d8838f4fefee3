#pragma once
// The settings object: every user setting while the program runs, loaded from
// and saved to the settings store by value name. Each setting changes through
// its own setter, the one place where a change is applied to the program.
#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "core/app_ini.h"
#include "core/preset_effects.h"

namespace snibbet {

class TQvAction;
struct SettingRow;

// The keyboard background picture, as loaded from BackgroundPicture; empty when none.
struct BackgroundImageHolder {
  std::unique_ptr<HeldPicture> picture;
};

class TPreset {
 public:
  static constexpr int kActionFileNameSlots = 4;
  static constexpr int kSoundSlots = 9;
  static constexpr int kDisabledLangSlots = 10;
  static constexpr int kColorCount = 13;
  static constexpr int kMaxSensitivityGestures = 30;

  using ActionFileNameArray = std::array<std::wstring, kActionFileNameSlots>;
  using SoundArray = std::array<std::wstring, kSoundSlots>;
  using DisabledLangArray = std::array<std::int32_t, kDisabledLangSlots>;
  using ColorArray = std::array<COLORREF, kColorCount>;
  using KeyNameArray = std::array<std::wstring, 256>;  // by virtual key 1..255; [0] unused

  // Defaults only; nothing is read until Load.
  // Null entries of `effects`: the ports' own defaults.
  explicit TPreset(SettingsStore& store, const SettingEffects& effects = {});
  TPreset(const TPreset&) = delete;
  TPreset& operator=(const TPreset&) = delete;

  // Every default, straight into the fields. File names, the extra action
  // files, AccessDenied, Loaded and the key names are left alone.
  void Reset();
  // Reads every stored value through its setter. A value of another registry
  // type ends the load there, silently, and Loaded keeps its earlier state.
  void Load();
  // Writes every value; nothing while not Loaded. Store errors pass on.
  void Save();

  // Every setting, in the order Load reads them (core/settings_table.h).
  static std::span<const SettingRow> SettingsTable();

  // Layouts left out of layout switching, in ten slots (0 = free).
  void AddDisabledLang(HKL layout);
  void RemoveDisabledLang(HKL layout);
  bool IsLangDisabled(HKL layout) const;

  // A link of the maker's site, pointed at the mirror of the current language.
  std::wstring LocalizeWebAddress(const std::wstring& address) const;

  // The binding of a hotkey value (modifier set in the high byte, key in the
  // low byte) with its kind and parameter; none for 0 (no hotkey).
  TQvAction* BindShortCutAction(std::int32_t value, std::uint8_t kind, std::uint8_t param);
  // A hotkey value as the user reads it ("Win+Space"), keys named as the
  // keyboard view places them.
  std::wstring ShortCutToKeyText(std::int32_t value) const;

  // Fonts and colours of the keyboard view re-applied; the view and its background repainted.
  void ApplyAppearance();

  // The entry of a sound slot as typed, and the file it resolved to ("" when none).
  std::wstring GetSound(int slot) const;
  std::wstring GetSoundFile(int slot) const;
  // Plays the slot's sound when sounds are on or `force` is set, unless
  // another sound of the program still plays.
  void PlaySound(int slot, bool force) const;

  // Whether the machine's Run key starts exactly this program.
  bool IsAutoRun() const;

  bool Loaded() const { return loaded_; }
  int KeyboardShowDelay() const { return keyboardShowDelay_; }
  bool KeyboardAutoHide() const { return keyboardAutoHide_; }
  int ColorScheme() const { return colorScheme_; }
  int KeyboardHideDelay() const { return keyboardHideDelay_; }
  std::uint8_t BackgroundAlphaBlend() const { return backgroundAlphaBlend_; }
  const std::wstring& KeyboardName() const { return keyboardName_; }
  const std::wstring& ActionFileName() const { return actionFileName_; }
  const std::wstring& TemplatesFileName() const { return templatesFileName_; }
  // The last template file name with a folder: the editor's untitled file (a
  // bare name) is never stored, the file it replaced is.
  const std::wstring& TitledTemplatesFileName() const { return titledTemplatesFileName_; }
  const std::wstring& ThemeFontName() const { return themeFontName_; }
  bool ThemeFontItalic() const { return themeFontItalic_; }
  bool ThemeFontBold() const { return themeFontBold_; }
  int ThemeFontSize() const { return themeFontSize_; }
  const std::wstring& BackgroundPicture() const { return backgroundPicture_; }
  HKL KeyboardLang() const { return keyboardLang_; }
  bool KeyboardShowWin() const { return keyboardShowWin_; }
  bool KeyboardShowCtrl() const { return keyboardShowCtrl_; }
  bool KeyboardShowShift() const { return keyboardShowShift_; }
  bool KeyboardShowAlt() const { return keyboardShowAlt_; }
  bool ShowKeyboardZone() const { return showKeyboardZone_; }
  bool ShowLangIcon() const { return showLangIcon_; }
  int NumLockMode() const { return numLockMode_; }
  bool NumAlwaysFigure() const { return numAlwaysFigure_; }
  int MaxClipboardHistory() const { return maxClipboardHistory_; }
  int MaxProcessHistory() const { return maxProcessHistory_; }
  int MaxHiddenWindows() const { return maxHiddenWindows_; }
  bool UniqueClipboard() const { return uniqueClipboard_; }
  bool ShowCaretFlag() const { return showCaretFlag_; }
  bool ShowCaretFlagOnChange() const { return showCaretFlagOnChange_; }
  bool ClipboardIsActive() const { return clipboardIsActive_; }
  bool ClipboardPreviewFontItalic() const { return clipboardPreviewFontItalic_; }
  int ClipboardPreviewFontSize() const { return clipboardPreviewFontSize_; }
  bool ClipboardPreviewFontBold() const { return clipboardPreviewFontBold_; }
  const std::wstring& ClipboardPreviewFontName() const { return clipboardPreviewFontName_; }
  bool TaskSwitchShowHidden() const { return taskSwitchShowHidden_; }
  bool TaskSwitchSmallIcon() const { return taskSwitchSmallIcon_; }
  bool UniqueProcessHistory() const { return uniqueProcessHistory_; }
  bool ShowIconApp() const { return showIconApp_; }
  bool ShowIconZqkeys() const { return showIconZqkeys_; }
  bool ShowIconWindows() const { return showIconWindows_; }
  bool HighPriority() const { return highPriority_; }
  int Language() const { return language_; }
  bool ShowHotkeySquare() const { return showHotkeySquare_; }
  bool KeyboardShowCaption() const { return keyboardShowCaption_; }
  const std::wstring& TemplatesBreaks() const { return templatesBreaks_; }
  const std::wstring& ThemeInfoFontName() const { return themeInfoFontName_; }
  bool ThemeInfoFontItalic() const { return themeInfoFontItalic_; }
  int ThemeInfoFontSize() const { return themeInfoFontSize_; }
  bool ThemeInfoFontBold() const { return themeInfoFontBold_; }
  int CaretFlagAlphaBlend() const { return caretFlagAlphaBlend_; }
  bool FastCaretFlag() const { return fastCaretFlag_; }
  std::uint8_t KeyboardAlphaBlend() const { return keyboardAlphaBlend_; }
  std::int32_t SCShowClipboard() const { return scShowClipboard_; }
  std::int32_t SCShowTemplates() const { return scShowTemplates_; }
  std::int32_t SCShowKeyboard() const { return scShowKeyboard_; }
  bool KeyboardShowLabels() const { return keyboardShowLabels_; }
  bool AccessDenied() const { return accessDenied_; }
  bool ShowCharCtrl() const { return showCharCtrl_; }
  const SoundArray& Sounds() const { return sounds_; }
  const SoundArray& SoundFiles() const { return soundFiles_; }
  const DisabledLangArray& DisabledLang() const { return disabledLang_; }
  bool SoundEnabled() const { return soundEnabled_; }
  bool UseGestures() const { return useGestures_; }
  std::uint8_t SensitivityGestures() const { return sensitivityGestures_; }
  std::uint8_t GestureDistance() const { return gestureDistance_; }
  bool ShowIconHints() const { return showIconHints_; }
  bool HideTrayIcon() const { return hideTrayIcon_; }
  const ColorArray& Colors() const { return colors_; }
  bool KeyboardCenterInfo() const { return keyboardCenterInfo_; }
  const ActionFileNameArray& ActionFileNames() const { return actionFileNames_; }
  BackgroundImageHolder& BackgroundImage() { return backgroundImage_; }
  const KeyNameArray& KeyNames() const { return keyNames_; }

  void SetKeyboardShowDelay(int value);
  void SetKeyboardAutoHide(bool value);
  void SetColorScheme(int value);
  void SetKeyboardHideDelay(int value);
  void SetBackgroundAlphaBlend(std::uint8_t value);
  void SetKeyboardName(const std::wstring& value);
  void SetActionFileName(const std::wstring& value);
  void SetTemplatesFileName(const std::wstring& value);
  void SetThemeFontName(const std::wstring& value);
  void SetThemeFontItalic(bool value);
  void SetThemeFontBold(bool value);
  void SetThemeFontSize(int value);
  void SetBackgroundPicture(const std::wstring& value);
  void SetKeyboardLang(HKL value);
  void SetKeyboardShowWin(bool value);
  void SetKeyboardShowCtrl(bool value);
  void SetKeyboardShowShift(bool value);
  void SetKeyboardShowAlt(bool value);
  void SetShowKeyboardZone(bool value);
  void SetShowLangIcon(bool value);
  void SetNumLockMode(int value);
  void SetNumAlwaysFigure(bool value);
  void SetMaxClipboardHistory(int value);
  void SetMaxProcessHistory(int value);
  void SetMaxHiddenWindows(int value);
  void SetUniqueClipboard(bool value);
  void SetShowCaretFlag(bool value);
  void SetShowCaretFlagOnChange(bool value);
  void SetClipboardIsActive(bool value);
  void SetClipboardPreviewFontItalic(bool value);
  void SetClipboardPreviewFontSize(int value);
  void SetClipboardPreviewFontBold(bool value);
  void SetClipboardPreviewFontName(const std::wstring& value);
  void SetTaskSwitchShowHidden(bool value);
  void SetTaskSwitchSmallIcon(bool value);
  void SetUniqueProcessHistory(bool value);
  void SetShowIconApp(bool value);
  void SetShowIconZqkeys(bool value);
  void SetShowIconWindows(bool value);
  void SetHighPriority(bool value);
  void SetLanguage(int value);
  void SetShowHotkeySquare(bool value);
  void SetKeyboardShowCaption(bool value);
  void SetTemplatesBreaks(const std::wstring& value);
  void SetThemeInfoFontName(const std::wstring& value);
  void SetThemeInfoFontItalic(bool value);
  void SetThemeInfoFontSize(int value);
  void SetThemeInfoFontBold(bool value);
  void SetCaretFlagAlphaBlend(int value);
  void SetFastCaretFlag(bool value);
  void SetKeyboardAlphaBlend(std::uint8_t value);
  void SetSCShowClipboard(std::int32_t value);
  void SetSCShowTemplates(std::int32_t value);
  void SetSCShowKeyboard(std::int32_t value);
  void SetKeyboardShowLabels(bool value);
  void SetShowCharCtrl(bool value);
  // Slot 0..8; std::out_of_range otherwise.
  void SetSound(int slot, const std::wstring& entry);
  void SetSoundEnabled(bool value);
  void SetUseGestures(bool value);
  // Clamped to 0..30, so that GestureDistance stays 1..31.
  void SetSensitivityGestures(int value);
  void SetShowIconHints(bool value);
  void SetHideTrayIcon(bool value);
  void SetKeyboardCenterInfo(bool value);

 private:
  friend class SettingEffectsConnection;
  // `effects` with each null entry its port's default.
  static SettingEffects WithDefaults(const SettingEffects& effects);
  SettingsStore& store_;
  // Where the setters' changes go, no entry null; SettingEffectsConnection puts others in place.
  SettingEffects effects_;
  // The priority the process runs at, once the setting was first applied.
  std::optional<bool> appliedHighPriority_;

  bool loaded_ = false;
  int keyboardShowDelay_ = 0;
  bool keyboardAutoHide_ = false;
  int colorScheme_ = 0;
  int keyboardHideDelay_ = 0;
  std::uint8_t backgroundAlphaBlend_ = 0;
  std::wstring keyboardName_;
  std::wstring actionFileName_;
  std::wstring templatesFileName_;
  std::wstring titledTemplatesFileName_;
  std::wstring themeFontName_;
  bool themeFontItalic_ = false;
  bool themeFontBold_ = false;
  int themeFontSize_ = 0;
  std::wstring backgroundPicture_;
  HKL keyboardLang_ = nullptr;
  bool keyboardShowWin_ = false;
  bool keyboardShowCtrl_ = false;
  bool keyboardShowShift_ = false;
  bool keyboardShowAlt_ = false;
  bool showKeyboardZone_ = false;
  bool showLangIcon_ = false;
  int numLockMode_ = 0;
  bool numAlwaysFigure_ = false;
  int maxClipboardHistory_ = 0;
  int maxProcessHistory_ = 0;
  int maxHiddenWindows_ = 0;
  bool uniqueClipboard_ = false;
  bool showCaretFlag_ = false;
  bool showCaretFlagOnChange_ = false;
  bool clipboardIsActive_ = false;
  bool clipboardPreviewFontItalic_ = false;
  int clipboardPreviewFontSize_ = 0;
  bool clipboardPreviewFontBold_ = false;
  std::wstring clipboardPreviewFontName_;
  bool taskSwitchShowHidden_ = false;
  bool taskSwitchSmallIcon_ = false;
  bool uniqueProcessHistory_ = false;
  bool showIconApp_ = false;
  bool showIconZqkeys_ = false;
  bool showIconWindows_ = false;
  bool highPriority_ = false;
  int language_ = 0;
  bool showHotkeySquare_ = false;
  bool keyboardShowCaption_ = false;
  std::wstring templatesBreaks_;
  std::wstring themeInfoFontName_;
  bool themeInfoFontItalic_ = false;
  int themeInfoFontSize_ = 0;
  bool themeInfoFontBold_ = false;
  int caretFlagAlphaBlend_ = 0;
  bool fastCaretFlag_ = false;
  std::uint8_t keyboardAlphaBlend_ = 0;
  std::int32_t scShowClipboard_ = 0;
  std::int32_t scShowTemplates_ = 0;
  std::int32_t scShowKeyboard_ = 0;
  bool keyboardShowLabels_ = false;
  bool accessDenied_ = false;
  bool showCharCtrl_ = false;
  SoundArray sounds_;
  SoundArray soundFiles_;
  DisabledLangArray disabledLang_{};
  bool soundEnabled_ = false;
  bool useGestures_ = false;
  std::uint8_t sensitivityGestures_ = 0;
  std::uint8_t gestureDistance_ = 0;
  bool showIconHints_ = false;
  bool hideTrayIcon_ = false;
  ColorArray colors_{};
  bool keyboardCenterInfo_ = false;
  ActionFileNameArray actionFileNames_;
  BackgroundImageHolder backgroundImage_;
  KeyNameArray keyNames_;
};

// Connects the non-null entries of `effects` to a settings object for its own
// lifetime; the effects connected before come back at its end.
class SettingEffectsConnection {
 public:
  SettingEffectsConnection(TPreset& preset, const SettingEffects& effects);
  ~SettingEffectsConnection();
  SettingEffectsConnection(const SettingEffectsConnection&) = delete;
  SettingEffectsConnection& operator=(const SettingEffectsConnection&) = delete;

 private:
  TPreset& preset_;
  SettingEffects previous_;
};

// Creates the settings object with its defaults on `store`, which outlives
// it, and answers it. A second call only answers it.
TPreset& InitializePreset(SettingsStore& store);
// Saves when Loaded and frees the object; never throws (a failed save is dropped).
void FinalizePreset() noexcept;
// The settings object; std::logic_error before InitializePreset.
TPreset& Preset();
TPreset* PresetOrNull();

}  // namespace snibbet
