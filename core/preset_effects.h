#pragma once
// What a change of a setting does to the running program outside the
// settings object. The settings object holds one SettingEffects; it starts
// with SystemSettingEffects (the system's side real, the program's parts not
// there, so a value simply waits in the settings object until the part reads
// it), and the program entry connects the program's own once its parts exist.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/control_set.h"

namespace snibbet {

class KeyboardLayoutService;
class TQvAction;

// A picture held for the keyboard background; its type belongs to whoever loads it.
class HeldPicture {
 public:
  virtual ~HeldPicture() = default;
};

class SettingEffects {
 public:
  virtual ~SettingEffects() = default;

  // ---- the central data module ----
  // Whether it is active (hooks installed); false while it is not there.
  virtual bool DataModuleActive() = 0;
  virtual void SetDataModuleActive(bool active) = 0;
  // The new language's texts everywhere: the program's own outside its forms, then the forms.
  virtual void ApplyLanguageToProgram() = 0;
  // Fonts and colours of the keyboard view re-applied from the settings.
  virtual void ApplyAppearance() = 0;
  // The binding file changed: the data module's bindings (menu, pictures) are rebuilt.
  virtual void RefreshBindings() = 0;
  // The help file of a user-interface language.
  virtual void PickHelpFile(int language) = 0;

  // ---- the key-state model and the binding list ----
  virtual void RedrawKeyboardView() = 0;
  // The characters of the keys worked out again, and the view redrawn.
  virtual void RebuildKeyCharacters() = 0;
  // The layout the model follows; null without a model.
  virtual HKL KeyModelLayout() = 0;
  // A hotkey as the keyboard view names its keys; none without a model.
  virtual std::optional<std::wstring> KeyViewShortcutText(std::uint8_t key, ControlSet set) = 0;
  virtual void LoadBindingFile(const std::wstring& file) = 0;
  // The binding list holds just the template hotkey `value` (none for 0).
  virtual void BindTemplateHotkey(std::int32_t value) = 0;
  // A new binding of the hotkey `value` to `kind` and `param`, or null for 0
  // or when the list takes none.
  virtual TQvAction* BindShortCut(std::int32_t value, std::uint8_t kind, std::uint8_t param) = 0;

  // ---- the keyboard window and its background window ----
  virtual void LoadKeyboardLayout(const std::wstring& layoutName) = 0;
  // Opacity and hide countdown re-applied from the settings.
  virtual void ReapplyKeyboardWindowTiming() = 0;
  virtual void SetKeyboardShowInterval(int milliseconds) = 0;
  virtual void SetKeyboardWindowAlpha(std::uint8_t alpha) = 0;
  // The caption button's picture: 2 while the window hides by itself, 1 otherwise.
  virtual void SetKeyboardCaptionButtonImage(int image) = 0;
  // Visible, in front, and kept shown; or the countdown to hiding started.
  virtual void ShowKeyboardWindowAndKeep() = 0;
  virtual void StartKeyboardHideDelay() = 0;
  virtual void RepaintKeyboardBackground() = 0;
  // The picture of a background file; null when it cannot be loaded.
  virtual std::unique_ptr<HeldPicture> LoadBackgroundPicture(const std::wstring& file) = 0;

  // ---- the template pop-up ----
  virtual void ReloadTemplates(const std::wstring& fileName) = 0;
  virtual void SetTemplatePopupAlpha(std::uint8_t alpha) = 0;

  // ---- the tray icon and menu ----
  virtual void SetTrayIconActive(bool active) = 0;
  virtual void RedrawTrayIcon() = 0;
  virtual void CheckTraySoundItem(bool checked) = 0;

  // ---- the settings window and the first-run wizard, while open ----
  virtual void ShowAutoHideInOpenDialogs(bool autoHide) = 0;

  // ---- the system ----
  // Keyboard layouts for the key names.
  virtual KeyboardLayoutService* KeyboardLayouts() = 0;
  virtual void ApplyProcessPriority(bool high) = 0;
  virtual bool NumLockIsOn() = 0;
  virtual void PressNumLock() = 0;
  // Whether a sound of this process still plays; then a new one is not started.
  virtual bool SoundStillPlaying() = 0;
  virtual void PlaySoundFile(const std::wstring& file) = 0;
  virtual bool FileExists(const std::wstring& path) = 0;
  // The Run value "Snibbet" of the machine; empty when there is none.
  virtual std::wstring MachineRunValue() = 0;
};

// The default: the system's side real, none of the program's parts there.
class SystemSettingEffects : public SettingEffects {
 public:
  bool DataModuleActive() override { return false; }
  void SetDataModuleActive(bool) override {}
  void ApplyLanguageToProgram() override;  // the forms only
  void ApplyAppearance() override {}
  void RefreshBindings() override {}
  void PickHelpFile(int) override {}

  void RedrawKeyboardView() override {}
  void RebuildKeyCharacters() override {}
  HKL KeyModelLayout() override { return nullptr; }
  std::optional<std::wstring> KeyViewShortcutText(std::uint8_t, ControlSet) override { return std::nullopt; }
  void LoadBindingFile(const std::wstring&) override {}
  void BindTemplateHotkey(std::int32_t) override {}
  TQvAction* BindShortCut(std::int32_t, std::uint8_t, std::uint8_t) override { return nullptr; }

  void LoadKeyboardLayout(const std::wstring&) override {}
  void ReapplyKeyboardWindowTiming() override {}
  void SetKeyboardShowInterval(int) override {}
  void SetKeyboardWindowAlpha(std::uint8_t) override {}
  void SetKeyboardCaptionButtonImage(int) override {}
  void ShowKeyboardWindowAndKeep() override {}
  void StartKeyboardHideDelay() override {}
  void RepaintKeyboardBackground() override {}
  std::unique_ptr<HeldPicture> LoadBackgroundPicture(const std::wstring&) override { return nullptr; }

  void ReloadTemplates(const std::wstring&) override {}
  void SetTemplatePopupAlpha(std::uint8_t) override {}

  void SetTrayIconActive(bool) override {}
  void RedrawTrayIcon() override {}
  void CheckTraySoundItem(bool) override {}

  void ShowAutoHideInOpenDialogs(bool) override {}

  KeyboardLayoutService* KeyboardLayouts() override;
  void ApplyProcessPriority(bool high) override;
  bool NumLockIsOn() override;
  void PressNumLock() override;
  bool SoundStillPlaying() override;
  void PlaySoundFile(const std::wstring& file) override;
  bool FileExists(const std::wstring& path) override;
  std::wstring MachineRunValue() override;
};

// The one default object, stateless; settings objects start with it.
SystemSettingEffects& DefaultSettingEffects();

// The system's side of SystemSettingEffects.
KeyboardLayoutService& SystemLayoutsForKeyNames();
// High priority class with the GUI thread above normal, or both normal.
void ApplyProcessPriority(bool high);
// The toggle state of Num Lock as the calling thread sees it.
bool NumLockIsOn();
// One press and release of Num Lock by synthetic input.
void PressNumLock();
bool SoundStillPlaying();
void PlaySoundFileAsync(const std::wstring& file);
bool IsExistingFile(const std::wstring& path);
std::wstring ReadMachineRunValue();

}  // namespace snibbet
