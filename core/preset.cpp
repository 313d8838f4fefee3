#include "core/preset.h"

#include <algorithm>
#include <memory>
#include <stdexcept>

#include "core/preset_system.h"
#include "core/web_address.h"

namespace snibbet {
namespace {

constexpr std::uintptr_t kUsEnglishLayout = 0x04090409;

// Layout handles are stored as 32-bit integers; on 64-bit Windows a handle is
// that value sign-extended.
HKL LayoutFromStored(std::int32_t value) { return reinterpret_cast<HKL>(static_cast<LONG_PTR>(value)); }
std::int32_t StoredFromLayout(HKL layout) {
  return static_cast<std::int32_t>(reinterpret_cast<LONG_PTR>(layout));
}

std::wstring Numbered(const wchar_t* name, int slot) { return name + std::to_wstring(slot); }

std::unique_ptr<TPreset> g_preset;

}  // namespace

TPreset::TPreset(SettingsStore& store, SettingEffects& effects) : store_(store), effects_(&effects) {
  actionFileName_ = GetDocumentsFolder() + L"QvActions.zqa";
  templatesFileName_ = GetDocumentsFolder() + L"zqtemplates.zqt";
  accessDenied_ = false;
  Reset();
}

void TPreset::Reset() {
  keyboardShowDelay_ = 1600;
  keyboardAutoHide_ = true;
  colorScheme_ = 0;
  keyboardHideDelay_ = 600;
  backgroundAlphaBlend_ = 100;
  keyboardName_ = L"Standard";
  themeFontName_ = L"Tahoma";
  themeFontItalic_ = false;
  themeFontBold_ = true;
  themeFontSize_ = 8;
  backgroundPicture_.clear();

  const std::vector<HKL> layouts = InstalledKeyboardLayouts();
  keyboardLang_ = layouts.empty() ? nullptr : layouts.front();
  for (HKL layout : layouts) {
    if (reinterpret_cast<std::uintptr_t>(layout) == kUsEnglishLayout) keyboardLang_ = layout;
  }
  keyboardShowLabels_ = layouts.size() > 1;

  keyboardShowWin_ = true;
  keyboardShowCtrl_ = true;
  keyboardShowShift_ = false;
  keyboardShowAlt_ = true;
  showKeyboardZone_ = false;
  showLangIcon_ = false;
  numLockMode_ = 0;
  numAlwaysFigure_ = false;
  maxClipboardHistory_ = 30;
  maxProcessHistory_ = 30;
  maxHiddenWindows_ = 30;
  uniqueClipboard_ = true;
  showCaretFlag_ = false;
  showCaretFlagOnChange_ = false;
  clipboardIsActive_ = false;
  clipboardPreviewFontItalic_ = false;
  clipboardPreviewFontSize_ = 8;
  clipboardPreviewFontBold_ = false;
  clipboardPreviewFontName_ = L"Tahoma";
  taskSwitchShowHidden_ = false;
  taskSwitchSmallIcon_ = false;
  uniqueProcessHistory_ = true;
  showIconApp_ = false;
  showIconZqkeys_ = true;
  showIconWindows_ = false;
  highPriority_ = true;
  language_ = DefaultUiLanguage() & 0xFF;
  showHotkeySquare_ = false;
  keyboardShowCaption_ = true;
  templatesBreaks_ = L" `~#?\"'";
  themeInfoFontName_ = L"Tahoma";
  themeInfoFontItalic_ = false;
  themeInfoFontSize_ = 10;
  themeInfoFontBold_ = true;
  caretFlagAlphaBlend_ = 200;
  fastCaretFlag_ = true;
  keyboardAlphaBlend_ = 255;
  scShowClipboard_ = 93;      // Apps
  scShowTemplates_ = 0x8020;  // left Win + Space
  scShowKeyboard_ = 0x802D;   // left Win + Insert
  showCharCtrl_ = false;
  for (int slot = 0; slot < kSoundSlots; ++slot) SetSound(slot, L"");
  disabledLang_.fill(0);
  soundEnabled_ = false;
  useGestures_ = false;
  sensitivityGestures_ = 15;
  gestureDistance_ = 31 - sensitivityGestures_;  // the pair stays consistent before any load
  showIconHints_ = true;
  hideTrayIcon_ = false;
  colors_ = {0xFF9933, 0xFEFEFE, 0x000000, 0xFFFFFF, 0x91D0FF, 0x800000, 0x800000,
             0x808080, 0xFF9933, 0x4E91FE, 0xCC6600, 0xFFFFFF, 0xFFFFFF};
  keyboardCenterInfo_ = false;
}

void TPreset::Load() {
  try {
    LoadFilesAndKeyboard();
    LoadOptions();
    LoadLangsAndSounds();
    loaded_ = true;
  } catch (const RegistryError&) {
    // A value of another type ends the load here; what was read stays applied.
  }
}

void TPreset::LoadFilesAndKeyboard() {
  for (int slot = 0; slot < kActionFileNameSlots; ++slot) {
    actionFileNames_[slot] = store_.ReadStringDef(Numbered(L"ActionFileName", slot), L"");
  }
  SetKeyboardLang(LayoutFromStored(store_.ReadIntegerDef(L"KeyboardLang", StoredFromLayout(keyboardLang_))));
  SetActionFileName(store_.ReadStringDef(L"ActionFileName", actionFileName_));
  SetTemplatesFileName(store_.ReadStringDef(L"TemplatesFileName", templatesFileName_));
  SetTemplatesBreaks(store_.ReadStringDef(L"TemplatesBreaks", templatesBreaks_));
  SetKeyboardShowDelay(store_.ReadIntegerDef(L"KeyboardShowDelay", keyboardShowDelay_));
  SetKeyboardHideDelay(store_.ReadIntegerDef(L"KeyboardHideDelay", keyboardHideDelay_));
  const std::wstring keyboardName = store_.ReadStringDef(L"KeyboardName", keyboardName_);
  SetKeyboardName(keyboardName);
}

void TPreset::LoadOptions() {
  SetKeyboardAutoHide(store_.ReadBoolDef(L"KeyboardAutoHide", keyboardAutoHide_));
  SetKeyboardShowShift(store_.ReadBoolDef(L"KeyboardShowShift", keyboardShowShift_));
  SetKeyboardShowCtrl(store_.ReadBoolDef(L"KeyboardShowCtrl", keyboardShowCtrl_));
  SetKeyboardShowAlt(store_.ReadBoolDef(L"KeyboardShowAlt", keyboardShowAlt_));
  SetKeyboardShowWin(store_.ReadBoolDef(L"KeyboardShowWin", keyboardShowWin_));
  SetKeyboardShowCaption(store_.ReadBoolDef(L"KeyboardShowCaption", keyboardShowCaption_));
  SetKeyboardShowLabels(store_.ReadBoolDef(L"KeyboardShowLabels", keyboardShowLabels_));
  SetKeyboardCenterInfo(store_.ReadBoolDef(L"KeyboardCenterInfo", keyboardCenterInfo_));
  SetShowKeyboardZone(store_.ReadBoolDef(L"ShowKeyboardZone", showKeyboardZone_));
  SetShowCharCtrl(store_.ReadBoolDef(L"ShowCharCtrl", showCharCtrl_));
  SetShowLangIcon(store_.ReadBoolDef(L"ShowLangIcon", showLangIcon_));
  SetShowCaretFlag(store_.ReadBoolDef(L"ShowCaretFlag", showCaretFlag_));
  SetShowCaretFlagOnChange(store_.ReadBoolDef(L"ShowCaretFlagOnChange", showCaretFlagOnChange_));
  SetFastCaretFlag(store_.ReadBoolDef(L"FastCaretFlag", fastCaretFlag_));
  SetCaretFlagAlphaBlend(store_.ReadIntegerDef(L"CaretFlagAlphaBlend", caretFlagAlphaBlend_));
  SetMaxClipboardHistory(store_.ReadIntegerDef(L"MaxClipboardHistory", maxClipboardHistory_));
  SetUniqueClipboard(store_.ReadBoolDef(L"UniqueClipboard", uniqueClipboard_));
  SetTaskSwitchShowHidden(store_.ReadBoolDef(L"TaskSwitchShowHidden", taskSwitchShowHidden_));
  SetTaskSwitchSmallIcon(store_.ReadBoolDef(L"TaskSwitchSmallIcon", taskSwitchSmallIcon_));
  SetUniqueProcessHistory(store_.ReadBoolDef(L"UniqueProcessHistory", uniqueProcessHistory_));
  SetShowIconApp(store_.ReadBoolDef(L"ShowIconApp", showIconApp_));
  SetShowIconZqkeys(store_.ReadBoolDef(L"ShowIconZqkeys", showIconZqkeys_));
  SetShowIconWindows(store_.ReadBoolDef(L"ShowIconWindows", showIconWindows_));
  SetShowIconHints(store_.ReadBoolDef(L"ShowIconHints", showIconHints_));
  SetHighPriority(store_.ReadBoolDef(L"HighPriority", highPriority_));
  SetHideTrayIcon(store_.ReadBoolDef(L"HideTrayIcon", hideTrayIcon_));
  SetLanguage(store_.ReadIntegerDef(L"Language", language_));
  SetShowHotkeySquare(store_.ReadBoolDef(L"ShowHotkeySquare", showHotkeySquare_));
  SetUseGestures(store_.ReadBoolDef(L"UseGestures", useGestures_));
  SetSensitivityGestures(store_.ReadIntegerDef(L"SensitivityGestures", sensitivityGestures_));
  SetSCShowTemplates(store_.ReadIntegerDef(L"SCShowTemplates", scShowTemplates_));
}

void TPreset::LoadLangsAndSounds() {
  for (int slot = 0; slot < kDisabledLangSlots; ++slot) {
    disabledLang_[slot] = store_.ReadIntegerDef(Numbered(L"DisabledLang", slot), disabledLang_[slot]);
  }
  SetSoundEnabled(store_.ReadBoolDef(L"SoundEnabled", soundEnabled_));
  for (int slot = 0; slot < kSoundSlots; ++slot) {
    SetSound(slot, store_.ReadStringDef(Numbered(L"Sound", slot), sounds_[slot]));
  }
  accessDenied_ = store_.ReadBoolDef(L"AccessDenied", false);
}

void TPreset::Save() {
  if (!loaded_) return;
  SaveFilesAndKeyboard();
  SaveOptions();
  SaveLangsAndSounds();
}

void TPreset::SaveFilesAndKeyboard() {
  for (int slot = 0; slot < kActionFileNameSlots; ++slot) {
    store_.WriteString(Numbered(L"ActionFileName", slot), actionFileNames_[slot]);
  }
  store_.WriteString(L"TemplatesFileName", templatesFileName_);
  store_.WriteString(L"TemplatesBreaks", templatesBreaks_);
  store_.WriteInteger(L"KeyboardHideDelay", keyboardHideDelay_);
  store_.WriteString(L"KeyboardName", keyboardName_);
  store_.WriteInteger(L"KeyboardShowDelay", keyboardShowDelay_);
  store_.WriteInteger(L"KeyboardLang", StoredFromLayout(keyboardLang_));
  store_.WriteString(L"ActionFileName", actionFileName_);
}

void TPreset::SaveOptions() {
  store_.WriteBool(L"KeyboardAutoHide", keyboardAutoHide_);
  store_.WriteBool(L"KeyboardShowShift", keyboardShowShift_);
  store_.WriteBool(L"KeyboardShowCtrl", keyboardShowCtrl_);
  store_.WriteBool(L"KeyboardShowAlt", keyboardShowAlt_);
  store_.WriteBool(L"KeyboardShowWin", keyboardShowWin_);
  store_.WriteBool(L"KeyboardShowCaption", keyboardShowCaption_);
  store_.WriteBool(L"KeyboardShowLabels", keyboardShowLabels_);
  store_.WriteBool(L"KeyboardCenterInfo", keyboardCenterInfo_);
  store_.WriteBool(L"ShowKeyboardZone", showKeyboardZone_);
  store_.WriteBool(L"ShowCharCtrl", showCharCtrl_);
  store_.WriteBool(L"ShowLangIcon", showLangIcon_);
  store_.WriteBool(L"ShowCaretFlag", showCaretFlag_);
  store_.WriteBool(L"ShowCaretFlagOnChange", showCaretFlagOnChange_);
  store_.WriteBool(L"FastCaretFlag", fastCaretFlag_);
  store_.WriteInteger(L"CaretFlagAlphaBlend", caretFlagAlphaBlend_);
  store_.WriteInteger(L"MaxClipboardHistory", maxClipboardHistory_);
  store_.WriteBool(L"UniqueClipboard", uniqueClipboard_);
  store_.WriteBool(L"TaskSwitchShowHidden", taskSwitchShowHidden_);
  store_.WriteBool(L"TaskSwitchSmallIcon", taskSwitchSmallIcon_);
  store_.WriteBool(L"UniqueProcessHistory", uniqueProcessHistory_);
  store_.WriteBool(L"ShowIconApp", showIconApp_);
  store_.WriteBool(L"ShowIconZqkeys", showIconZqkeys_);
  store_.WriteBool(L"ShowIconWindows", showIconWindows_);
  store_.WriteBool(L"ShowIconHints", showIconHints_);
  store_.WriteBool(L"HighPriority", highPriority_);
  store_.WriteBool(L"HideTrayIcon", hideTrayIcon_);
  store_.WriteInteger(L"Language", language_);
  store_.WriteBool(L"ShowHotkeySquare", showHotkeySquare_);
  store_.WriteBool(L"UseGestures", useGestures_);
  store_.WriteInteger(L"SensitivityGestures", sensitivityGestures_);
  store_.WriteInteger(L"SCShowTemplates", scShowTemplates_);
}

void TPreset::SaveLangsAndSounds() {
  for (int slot = 0; slot < kDisabledLangSlots; ++slot) {
    const std::wstring name = Numbered(L"DisabledLang", slot);
    if (disabledLang_[slot] == 0) {
      store_.DeleteValue(name);
    } else {
      store_.WriteInteger(name, disabledLang_[slot]);
    }
  }
  store_.WriteBool(L"SoundEnabled", soundEnabled_);
  for (int slot = 0; slot < kSoundSlots; ++slot) store_.WriteString(Numbered(L"Sound", slot), sounds_[slot]);
  // AccessDenied is set from outside only: never written here.
}

void TPreset::AddDisabledLang(HKL layout) {
  if (IsLangDisabled(layout)) return;
  auto freeSlot = std::find(disabledLang_.begin(), disabledLang_.end(), 0);
  if (freeSlot != disabledLang_.end()) *freeSlot = StoredFromLayout(layout);
}

void TPreset::RemoveDisabledLang(HKL layout) {
  std::replace(disabledLang_.begin(), disabledLang_.end(), StoredFromLayout(layout), 0);
}

bool TPreset::IsLangDisabled(HKL layout) const {
  return std::find(disabledLang_.begin(), disabledLang_.end(), StoredFromLayout(layout)) != disabledLang_.end();
}

std::wstring TPreset::LocalizeWebAddress(const std::wstring& address) const {
  return snibbet::LocalizeWebAddress(address, language_);
}

void InitializePreset(SettingsStore* store) {
  if (g_preset) return;
  g_preset = std::make_unique<TPreset>(store ? *store : static_cast<SettingsStore&>(AppIni()));
}

void FinalizePreset() noexcept {
  if (!g_preset) return;
  try {
    g_preset->Save();
  } catch (const std::exception& error) {
    // Nobody is left to tell at this point; the settings of this run are lost.
    OutputDebugStringA(error.what());
  } catch (...) {
  }
  g_preset.reset();
}

TPreset& Preset() {
  if (!g_preset) throw std::logic_error("The settings object is not initialised");
  return *g_preset;
}

TPreset* PresetOrNull() { return g_preset.get(); }

}  // namespace snibbet
