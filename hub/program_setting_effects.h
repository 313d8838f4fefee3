#pragma once
// The program's setting effects: the system's side of the default, and the
// parts that exist in this program reached directly (the data module and the
// tray, the key-state model and the binding list, the keyboard window and its
// background window, the template pop-up, the settings window and the wizard).
// Showing the keyboard window, which this program never offers, stays the
// default's.
#include "core/preset_effects.h"

namespace snibbet {

class OpenWindows;
class TDataDM;
class TMainKeyboardForm;
class TQvActions;
class TQvKeyboard;
class TTemplateViewForm;

// The parts below the hub that the settings change; each may be null, and
// then its effects do nothing. They outlive the effects' use.
struct SettingEffectTargets {
  TQvActions* bindings = nullptr;
  TQvKeyboard* keyModel = nullptr;
  TTemplateViewForm* popup = nullptr;
  TMainKeyboardForm* keyboardWindow = nullptr;
};

class ProgramSettingEffects : public SystemSettingEffects {
 public:
  // `dataModule` may be null: then its effects do nothing; so may
  // `openWindows`: then no settings window or wizard is ever open.
  ProgramSettingEffects(TDataDM* dataModule, const OpenWindows* openWindows, SettingEffectTargets targets = {})
      : targets_(targets), dataModule_(dataModule), openWindows_(openWindows) {}

  // The data module's texts (tray menu, bindings), then the forms.
  void ApplyLanguageToProgram() override;
  bool DataModuleActive() override;
  void SetDataModuleActive(bool active) override;
  void PickHelpFile(int language) override;
  // The hub's keyboard appearance filled afresh and handed to the view.
  void ApplyAppearance() override;

  void RedrawKeyboardView() override;
  void RebuildKeyCharacters() override;
  HKL KeyModelLayout() override;
  std::optional<std::wstring> KeyViewShortcutText(std::uint8_t key, ControlSet set) override;
  void LoadBindingFile(const std::wstring& file) override;
  void BindTemplateHotkey(std::int32_t value) override;
  TQvAction* BindShortCut(std::int32_t value, std::uint8_t kind, std::uint8_t param) override;

  void LoadKeyboardLayout(const std::wstring& layoutName) override;
  void ReapplyKeyboardWindowTiming() override;
  void SetKeyboardShowInterval(int milliseconds) override;
  void SetKeyboardWindowAlpha(std::uint8_t alpha) override;
  void SetKeyboardCaptionButtonImage(int image) override;
  void RepaintKeyboardBackground() override;
  std::unique_ptr<HeldPicture> LoadBackgroundPicture(const std::wstring& file) override;

  void ReloadTemplates(const std::wstring& fileName) override;

  // The auto-hide boxes of the settings window and the wizard, while they exist.
  void ShowAutoHideInOpenDialogs(bool autoHide) override;

  void SetTrayIconActive(bool active) override;
  void RedrawTrayIcon() override;

 protected:
  SettingEffectTargets targets_;

 private:
  TDataDM* dataModule_;
  const OpenWindows* openWindows_;
};

}  // namespace snibbet
