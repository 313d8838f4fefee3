#pragma once
// The setters' tests: the settings tests' empty key and fixed keyboard setup,
// with the binding list emptied between tests, and the program's setting
// effects with any of them replaced by the test.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/app_ini.h"
#include "core/lang_apply.h"
#include "core/preset_effects.h"
#include "keyboard/actions.h"
#include "keyboard/keyboard_background.h"
#include "keyboard/keyboard_setting_effects.h"
#include "tests/unit/settings_fixture.h"

namespace snibbet::test {

// The program's effects (without a data module, a keyboard window or a
// pop-up); each entry that a test fills takes the place of that effect.
class RecordedEffects : public KeyViewEffects,
                        public BindingEffects,
                        public KeyboardWindowEffects,
                        public HubEffects,
                        public FormEffects,
                        public SystemEffects {
 public:
  // The key model the keyboard effects act on; none: they do nothing.
  void UseKeyModel(TQvKeyboard* model) {
    if (model) {
      keyModel_.emplace(*model);
    } else {
      keyModel_.reset();
    }
  }
  // Every port of the settings object goes here.
  SettingEffects Ports() {
    return {.keyView = this, .bindings = this, .keyboardWindow = this, .hub = this, .forms = this, .system = this};
  }

  std::function<bool()> dataModuleActive;
  std::function<void(bool)> setDataModuleActive;
  std::function<void()> applyAppearance;
  std::function<void()> refreshBindings;
  std::function<void(int)> pickHelpFile;
  // The data module's own texts on a language change (the forms follow as in the program).
  std::function<void()> dataModuleTexts;
  std::function<void(const std::wstring&)> loadKeyboardLayout;
  std::function<void(int)> setKeyboardCaptionButtonImage;
  std::function<void()> showKeyboardWindowAndKeep;
  std::function<void()> startKeyboardHideDelay;
  std::function<void()> repaintKeyboardBackground;
  std::function<std::unique_ptr<HeldPicture>(const std::wstring&)> loadBackgroundPicture;
  std::function<void(bool)> showAutoHideInOpenDialogs;
  KeyboardLayoutService* keyboardLayouts = nullptr;
  std::function<void(bool)> applyProcessPriority;
  std::function<bool()> numLockIsOn;
  std::function<void()> pressNumLock;
  std::function<bool()> soundStillPlaying;
  std::function<void(const std::wstring&)> playSoundFile;
  std::function<bool(const std::wstring&)> fileExists;

  // ---- the key model ----
  void Redraw() override {
    if (keyModel_) keyModel_->Redraw();
  }
  void RebuildCharacters() override {
    if (keyModel_) keyModel_->RebuildCharacters();
  }
  HKL Layout() override { return keyModel_ ? keyModel_->Layout() : nullptr; }
  std::optional<std::wstring> ShortcutText(std::uint8_t key, ControlSet set) override {
    return keyModel_ ? keyModel_->ShortcutText(key, set) : std::nullopt;
  }

  // ---- the binding list: the program's ----
  void LoadFile(const std::wstring& file) override { bindings_.LoadFile(file); }
  void Refresh() override {
    if (refreshBindings) refreshBindings();
  }
  void BindTemplateHotkey(std::int32_t value) override { bindings_.BindTemplateHotkey(value); }
  TQvAction* BindShortCut(std::int32_t value, std::uint8_t kind, std::uint8_t param) override {
    return bindings_.BindShortCut(value, kind, param);
  }

  // ---- the keyboard window ----
  void LoadLayout(const std::wstring& name) override {
    if (loadKeyboardLayout) loadKeyboardLayout(name);
  }
  void SetCaptionButtonImage(int image) override {
    if (setKeyboardCaptionButtonImage) setKeyboardCaptionButtonImage(image);
  }
  void ShowAndKeep() override {
    if (showKeyboardWindowAndKeep) showKeyboardWindowAndKeep();
  }
  void StartHideDelay() override {
    if (startKeyboardHideDelay) startKeyboardHideDelay();
  }
  void RepaintBackground() override {
    if (repaintKeyboardBackground) repaintKeyboardBackground();
  }
  std::unique_ptr<HeldPicture> LoadBackgroundPicture(const std::wstring& file) override {
    return loadBackgroundPicture ? loadBackgroundPicture(file) : HeldBackgroundPicture::Load(file);
  }

  // ---- the data module ----
  bool Active() override { return dataModuleActive && dataModuleActive(); }
  void SetActive(bool active) override {
    if (setDataModuleActive) setDataModuleActive(active);
  }
  void ApplyLanguage() override { ApplyLanguageEverywhere(dataModuleTexts); }
  void ApplyAppearance() override {
    if (applyAppearance) applyAppearance();
  }
  void PickHelpFile(int language) override {
    if (pickHelpFile) pickHelpFile(language);
  }

  // ---- the open dialogs ----
  void ShowAutoHideInOpenDialogs(bool on) override {
    if (showAutoHideInOpenDialogs) showAutoHideInOpenDialogs(on);
  }

  // ---- the system ----
  KeyboardLayoutService* KeyboardLayouts() override {
    return keyboardLayouts ? keyboardLayouts : SystemEffects::KeyboardLayouts();
  }
  void ApplyProcessPriority(bool high) override {
    applyProcessPriority ? applyProcessPriority(high) : SystemEffects::ApplyProcessPriority(high);
  }
  bool NumLockIsOn() override { return numLockIsOn ? numLockIsOn() : SystemEffects::NumLockIsOn(); }
  void PressNumLock() override { pressNumLock ? pressNumLock() : SystemEffects::PressNumLock(); }
  bool SoundStillPlaying() override {
    return soundStillPlaying ? soundStillPlaying() : SystemEffects::SoundStillPlaying();
  }
  void PlaySoundFile(const std::wstring& file) override {
    playSoundFile ? playSoundFile(file) : SystemEffects::PlaySoundFile(file);
  }
  bool FileExists(const std::wstring& path) override {
    return fileExists ? fileExists(path) : SystemEffects::FileExists(path);
  }

 private:
  BindingListSettingEffects bindings_{QvActions()};
  std::optional<KeyModelSettingEffects> keyModel_;
};

class SettersTest : public SettingsTest {
 protected:
  void SetUp() override {
    SettingsTest::SetUp();
    QvActions().Clear();
  }
  void TearDown() override {
    QvActions().Clear();
    SettingsTest::TearDown();
  }

  // One run of the program, as the settings tests' one, with these effects.
  template <typename During>
  void RunOnce(During during) {
    InitializePreset(AppIni());
    {
      SettingEffectsConnection connected(Preset(), effects.Ports());
      Preset().Load();
      during(Preset());
    }
    FinalizePreset();
  }
  void RunOnce() {
    RunOnce([](TPreset&) {});
  }

  RecordedEffects effects;
};

}  // namespace snibbet::test
