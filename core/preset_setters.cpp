// The setters of the settings object. Each stores its value and applies it to
// the running program at once, through the settings object's SettingEffects.
// "On change" setters do nothing at all when the value is the one already held.
#include <algorithm>
#include <optional>
#include <stdexcept>

#include "core/control_set.h"
#include "core/key_names.h"
#include "core/lang_apply.h"
#include "core/lang_list.h"
#include "core/lang_table.h"
#include "core/preset.h"
#include "core/preset_effects_key_names.h"
#include "core/preset_system.h"
#include "core/shortcut.h"
#include "core/sounds.h"
#include "core/version_info.h"

namespace snibbet {
namespace {

wchar_t UpperCase(wchar_t c) {
  wchar_t text[1] = {c};
  CharUpperBuffW(text, 1);
  return text[0];
}

// Layout handles travel through the key model's interface as numbers.
LayoutHandle HandleOf(HKL layout) { return reinterpret_cast<LayoutHandle>(layout); }
HKL HklOf(LayoutHandle layout) { return reinterpret_cast<HKL>(layout); }

}  // namespace

SettingEffectsConnection::SettingEffectsConnection(TPreset& preset, SettingEffects& effects)
    : preset_(preset), previous_(preset.effects_) {
  preset_.effects_ = &effects;
}

SettingEffectsConnection::~SettingEffectsConnection() { preset_.effects_ = previous_; }

// ---- store only ----

void TPreset::SetFastCaretFlag(bool value) { fastCaretFlag_ = value; }
void TPreset::SetCaretFlagAlphaBlend(int value) { caretFlagAlphaBlend_ = value; }
void TPreset::SetUniqueClipboard(bool value) { uniqueClipboard_ = value; }
void TPreset::SetUniqueProcessHistory(bool value) { uniqueProcessHistory_ = value; }
void TPreset::SetUseGestures(bool value) { useGestures_ = value; }
void TPreset::SetKeyboardShowAlt(bool value) { keyboardShowAlt_ = value; }
void TPreset::SetKeyboardShowCtrl(bool value) { keyboardShowCtrl_ = value; }
void TPreset::SetKeyboardShowShift(bool value) { keyboardShowShift_ = value; }
void TPreset::SetKeyboardShowWin(bool value) { keyboardShowWin_ = value; }
void TPreset::SetMaxClipboardHistory(int value) { maxClipboardHistory_ = value; }
void TPreset::SetMaxHiddenWindows(int value) { maxHiddenWindows_ = value; }
void TPreset::SetMaxProcessHistory(int value) { maxProcessHistory_ = value; }
void TPreset::SetShowCaretFlagOnChange(bool value) { showCaretFlagOnChange_ = value; }
void TPreset::SetShowIconHints(bool value) { showIconHints_ = value; }
void TPreset::SetTaskSwitchShowHidden(bool value) { taskSwitchShowHidden_ = value; }
void TPreset::SetTaskSwitchSmallIcon(bool value) { taskSwitchSmallIcon_ = value; }
void TPreset::SetTemplatesBreaks(const std::wstring& value) { templatesBreaks_ = value; }

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

// ---- the keyboard view ----

void TPreset::SetKeyboardCenterInfo(bool value) {
  keyboardCenterInfo_ = value;
  Effects().RedrawKeyboardView();
}

void TPreset::SetKeyboardShowLabels(bool value) {
  keyboardShowLabels_ = value;
  Effects().RedrawKeyboardView();
}

void TPreset::SetNumAlwaysFigure(bool value) {
  numAlwaysFigure_ = value;
  Effects().RedrawKeyboardView();
}

namespace {
// Stores a drawing option and redraws the view, only when it changes.
void SetViewOption(SettingEffects& effects, bool& field, bool value) {
  if (field == value) return;
  field = value;
  effects.RedrawKeyboardView();
}
}  // namespace

void TPreset::SetShowHotkeySquare(bool value) { SetViewOption(Effects(), showHotkeySquare_, value); }
void TPreset::SetShowIconApp(bool value) { SetViewOption(Effects(), showIconApp_, value); }
void TPreset::SetShowIconZqkeys(bool value) { SetViewOption(Effects(), showIconZqkeys_, value); }
void TPreset::SetShowIconWindows(bool value) { SetViewOption(Effects(), showIconWindows_, value); }
void TPreset::SetShowKeyboardZone(bool value) { SetViewOption(Effects(), showKeyboardZone_, value); }

void TPreset::SetShowCharCtrl(bool value) {
  if (showCharCtrl_ == value) return;
  showCharCtrl_ = value;
  Effects().RebuildKeyCharacters();
}

// ---- appearance ----

void TPreset::ApplyAppearance() {
  Effects().ApplyAppearance();
  Effects().RedrawKeyboardView();
  Effects().RepaintKeyboardBackground();
}

namespace {
template <class T, class Value>
bool Changed(T& field, const Value& value) {
  if (field == value) return false;
  field = value;
  return true;
}
}  // namespace

void TPreset::SetColorScheme(int value) {
  if (Changed(colorScheme_, value)) ApplyAppearance();
}
void TPreset::SetThemeFontName(const std::wstring& value) {
  if (Changed(themeFontName_, value)) ApplyAppearance();
}
void TPreset::SetThemeFontSize(int value) {
  if (Changed(themeFontSize_, value)) ApplyAppearance();
}
void TPreset::SetThemeFontBold(bool value) {
  if (Changed(themeFontBold_, value)) ApplyAppearance();
}
void TPreset::SetThemeFontItalic(bool value) {
  if (Changed(themeFontItalic_, value)) ApplyAppearance();
}
void TPreset::SetThemeInfoFontName(const std::wstring& value) {
  if (Changed(themeInfoFontName_, value)) ApplyAppearance();
}
void TPreset::SetThemeInfoFontSize(int value) {
  if (Changed(themeInfoFontSize_, value)) ApplyAppearance();
}
void TPreset::SetThemeInfoFontBold(bool value) {
  if (Changed(themeInfoFontBold_, value)) ApplyAppearance();
}
void TPreset::SetThemeInfoFontItalic(bool value) {
  if (Changed(themeInfoFontItalic_, value)) ApplyAppearance();
}

void TPreset::SetBackgroundPicture(const std::wstring& value) {
  backgroundPicture_ = value;
  if (value.empty() || !Effects().FileExists(value)) {
    backgroundImage_.picture.reset();
  } else if (std::unique_ptr<HeldPicture> picture = Effects().LoadBackgroundPicture(value)) {
    // A file that cannot be loaded leaves the picture as it was.
    backgroundImage_.picture = std::move(picture);
  }
  ApplyAppearance();
}

// ---- the keyboard window ----

void TPreset::SetKeyboardShowCaption(bool value) {
  keyboardShowCaption_ = value;
  Effects().RedrawKeyboardView();
  Effects().RepaintKeyboardBackground();
}

void TPreset::SetBackgroundAlphaBlend(std::uint8_t value) {
  backgroundAlphaBlend_ = value;
  Effects().ReapplyKeyboardWindowTiming();
}

void TPreset::SetKeyboardHideDelay(int value) {
  keyboardHideDelay_ = value;
  Effects().ReapplyKeyboardWindowTiming();
}

void TPreset::SetKeyboardShowDelay(int value) {
  keyboardShowDelay_ = value;
  Effects().SetKeyboardShowInterval(value);
}

void TPreset::SetKeyboardName(const std::wstring& value) {
  keyboardName_ = value;
  Effects().LoadKeyboardLayout(value);
}

void TPreset::SetKeyboardAlphaBlend(std::uint8_t value) {
  keyboardAlphaBlend_ = value;
  Effects().SetKeyboardWindowAlpha(value);
  Effects().SetTemplatePopupAlpha(value);
}

void TPreset::SetKeyboardAutoHide(bool value) {
  keyboardAutoHide_ = value;
  Effects().SetKeyboardCaptionButtonImage(value ? 2 : 1);
  Effects().ShowAutoHideInOpenDialogs(value);
  if (!Effects().DataModuleActive()) return;
  if (value) {
    Effects().StartKeyboardHideDelay();
    return;
  }
  Effects().ShowKeyboardWindowAndKeep();
  // The window shows the keys of the layout the model follows; typing into it must give the same.
  if (const HKL layout = Effects().KeyModelLayout()) ActivateKeyboardLayout(layout, 0);
}

// ---- files ----

void TPreset::SetActionFileName(const std::wstring& value) {
  actionFileName_ = value;
  Effects().LoadBindingFile(value);
  Effects().RedrawKeyboardView();
  Effects().RefreshBindings();
}

void TPreset::SetTemplatesFileName(const std::wstring& value) {
  templatesFileName_ = value;
  if (value.find_first_of(L"\\/:") != std::wstring::npos) titledTemplatesFileName_ = value;
  Effects().ReloadTemplates(value);
}

// ---- the tray ----

void TPreset::SetHideTrayIcon(bool value) {
  hideTrayIcon_ = value;
  Effects().SetTrayIconActive(!value);
}

void TPreset::SetShowLangIcon(bool value) {
  showLangIcon_ = value;
  Effects().RedrawTrayIcon();
}

void TPreset::SetSoundEnabled(bool value) {
  soundEnabled_ = value;
  Effects().CheckTraySoundItem(value);
}

void TPreset::SetSensitivityGestures(int value) {
  // Outside 0..30 the gesture distance would wrap around or reach zero.
  sensitivityGestures_ = static_cast<std::uint8_t>(std::clamp(value, 0, kMaxSensitivityGestures));
  gestureDistance_ = static_cast<std::uint8_t>(31 - sensitivityGestures_);
}

// ---- the process ----

// Applied on a change and once at the first load: the process does not start
// at high priority by itself, so a stored True must reach it too. What counts
// as a change is the priority in force, not the field (Reset changes the field
// without applying it).
void TPreset::SetHighPriority(bool value) {
  highPriority_ = value;
  if (appliedHighPriority_ == value) return;
  appliedHighPriority_ = value;
  Effects().ApplyProcessPriority(value);
}

void TPreset::SetNumLockMode(int value) {
  numLockMode_ = value;
  if (value != 1 && value != 2) return;
  const bool on = Effects().NumLockIsOn();
  if ((value == 1) == on) return;
  // Our own hook would take the synthetic press for the user's: it is off meanwhile.
  const bool wasActive = Effects().DataModuleActive();
  if (wasActive) Effects().SetDataModuleActive(false);
  Effects().PressNumLock();
  if (wasActive) Effects().SetDataModuleActive(true);
}

// ---- the template hotkey ----

void TPreset::SetSCShowTemplates(std::int32_t value) {
  scShowTemplates_ = value;
  Effects().BindTemplateHotkey(value);
}

TQvAction* TPreset::BindShortCutAction(std::int32_t value, std::uint8_t kind, std::uint8_t param) {
  return Effects().BindShortCut(value, kind, param);
}

std::wstring TPreset::ShortCutToKeyText(std::int32_t value) const {
  const ShortCutKeys keys = SplitShortCut(value);
  if (std::optional<std::wstring> text = Effects().KeyViewShortcutText(keys.key, keys.controlSet)) return *text;
  const auto keyName = [this](int vk) {
    std::wstring name = keyNames_[static_cast<std::size_t>(vk)];
    if (name.empty()) {
      const std::string_view table = VirtualKeyName(vk);
      name.assign(table.begin(), table.end());
    }
    return vk == kVkRightShift || vk == kVkRightCtrl ? L"R" + name : name;
  };
  return snibbet::ShortcutToText(keys.key, keys.controlSet, keyName, LangText(6, L"No text"));
}

// ---- key names ----

void TPreset::SetKeyboardLang(HKL value) {
  std::vector<LayoutHandle> installed;
  for (HKL layout : InstalledKeyboardLayouts()) installed.push_back(HandleOf(layout));
  const LayoutKeyNames names =
      BuildLayoutKeyNames(HandleOf(value), installed, Effects().KeyboardLayouts(), UpperCase);
  keyboardLang_ = HklOf(names.layout);
  keyNames_ = names.names;
  Effects().RedrawKeyboardView();
}

// ---- language ----

void TPreset::SetLanguage(int value) {
  language_ = value;
  Effects().PickHelpFile(value);
  TQvLang* table = LangOrNull();
  if (!table) return;  // before the language table exists there is nothing to switch
  table->SetLanguageSetting(value);
  std::wstring code = L"en";
  for (const LanguageRecord& record : LanguageList()) {
    if (record.LangId == value) {
      code = record.Code;
      break;
    }
  }
  table->Load(code);
  Effects().ApplyLanguageToProgram();
}

// ---- sounds ----

void TPreset::SetSound(int slot, const std::wstring& entry) {
  if (slot < 0 || slot >= kSoundSlots) throw std::out_of_range("Sound slot out of range");
  sounds_[slot] = entry;
  soundFiles_[slot] = ResolveSoundFile(entry, GetSoundFolder(), [this](const std::wstring& path) { return Effects().FileExists(path); });
}

std::wstring TPreset::GetSound(int slot) const {
  return slot >= 0 && slot < kSoundSlots ? sounds_[slot] : std::wstring();
}

std::wstring TPreset::GetSoundFile(int slot) const {
  return slot >= 0 && slot < kSoundSlots ? soundFiles_[slot] : std::wstring();
}

void TPreset::PlaySound(int slot, bool force) const {
  if (!soundEnabled_ && !force) return;
  const std::wstring file = GetSoundFile(slot);
  if (file.empty()) return;
  // On newer systems a new sound would cut off the one playing: the first one finishes.
  if (IsVistaOrLater() && Effects().SoundStillPlaying()) return;
  Effects().PlaySoundFile(file);
}

// ---- start with Windows ----

bool TPreset::IsAutoRun() const {
  const std::wstring value = Effects().MachineRunValue();
  if (value.empty()) return false;
  std::wstring program(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, program.data(), static_cast<DWORD>(program.size()));
    if (length == 0) return false;
    if (length < program.size()) {
      program.resize(length);
      break;
    }
    program.resize(program.size() * 2);
  }
  return value == program;  // exactly: case and quotes as written
}

}  // namespace snibbet
