#pragma once
// The setters' tests: the settings tests' empty key and fixed keyboard setup,
// with the binding list emptied between tests, and the program's setting
// effects with any of them replaced by the test.
#include <functional>
#include <memory>
#include <string>

#include "core/app_ini.h"
#include "core/lang_apply.h"
#include "hub/program_setting_effects.h"
#include "keyboard/actions.h"
#include "tests/unit/settings_fixture.h"

namespace snibbet::test {

// The program's effects (without a data module); each entry that a test
// fills takes the place of that effect.
class RecordedEffects : public ProgramSettingEffects {
 public:
  // The binding list is the program's.
  RecordedEffects() : ProgramSettingEffects(nullptr, nullptr, {.bindings = &QvActions()}) {}
  // The key model the keyboard effects act on; none: they do nothing.
  void UseKeyModel(TQvKeyboard* model) { targets_.keyModel = model; }

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

  bool DataModuleActive() override {
    return dataModuleActive ? dataModuleActive() : ProgramSettingEffects::DataModuleActive();
  }
  void SetDataModuleActive(bool active) override {
    setDataModuleActive ? setDataModuleActive(active) : ProgramSettingEffects::SetDataModuleActive(active);
  }
  void ApplyLanguageToProgram() override { ApplyLanguageEverywhere(dataModuleTexts); }
  void ApplyAppearance() override { applyAppearance ? applyAppearance() : ProgramSettingEffects::ApplyAppearance(); }
  void RefreshBindings() override { refreshBindings ? refreshBindings() : ProgramSettingEffects::RefreshBindings(); }
  void PickHelpFile(int language) override {
    pickHelpFile ? pickHelpFile(language) : ProgramSettingEffects::PickHelpFile(language);
  }
  void LoadKeyboardLayout(const std::wstring& name) override {
    loadKeyboardLayout ? loadKeyboardLayout(name) : ProgramSettingEffects::LoadKeyboardLayout(name);
  }
  void SetKeyboardCaptionButtonImage(int image) override {
    setKeyboardCaptionButtonImage ? setKeyboardCaptionButtonImage(image)
                                  : ProgramSettingEffects::SetKeyboardCaptionButtonImage(image);
  }
  void ShowKeyboardWindowAndKeep() override {
    showKeyboardWindowAndKeep ? showKeyboardWindowAndKeep() : ProgramSettingEffects::ShowKeyboardWindowAndKeep();
  }
  void StartKeyboardHideDelay() override {
    startKeyboardHideDelay ? startKeyboardHideDelay() : ProgramSettingEffects::StartKeyboardHideDelay();
  }
  void RepaintKeyboardBackground() override {
    repaintKeyboardBackground ? repaintKeyboardBackground() : ProgramSettingEffects::RepaintKeyboardBackground();
  }
  std::unique_ptr<HeldPicture> LoadBackgroundPicture(const std::wstring& file) override {
    return loadBackgroundPicture ? loadBackgroundPicture(file) : ProgramSettingEffects::LoadBackgroundPicture(file);
  }
  void ShowAutoHideInOpenDialogs(bool on) override {
    showAutoHideInOpenDialogs ? showAutoHideInOpenDialogs(on) : ProgramSettingEffects::ShowAutoHideInOpenDialogs(on);
  }
  KeyboardLayoutService* KeyboardLayouts() override {
    return keyboardLayouts ? keyboardLayouts : ProgramSettingEffects::KeyboardLayouts();
  }
  void ApplyProcessPriority(bool high) override {
    applyProcessPriority ? applyProcessPriority(high) : ProgramSettingEffects::ApplyProcessPriority(high);
  }
  bool NumLockIsOn() override { return numLockIsOn ? numLockIsOn() : ProgramSettingEffects::NumLockIsOn(); }
  void PressNumLock() override { pressNumLock ? pressNumLock() : ProgramSettingEffects::PressNumLock(); }
  bool SoundStillPlaying() override {
    return soundStillPlaying ? soundStillPlaying() : ProgramSettingEffects::SoundStillPlaying();
  }
  void PlaySoundFile(const std::wstring& file) override {
    playSoundFile ? playSoundFile(file) : ProgramSettingEffects::PlaySoundFile(file);
  }
  bool FileExists(const std::wstring& path) override {
    return fileExists ? fileExists(path) : ProgramSettingEffects::FileExists(path);
  }
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
      SettingEffectsConnection connected(Preset(), effects);
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
