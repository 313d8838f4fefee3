#pragma once
// The settings' effects on the keyboard's parts: the key model and its view,
// the binding list, and the keyboard window with its background window.
#include "core/preset_effects.h"

namespace snibbet {

class TMainKeyboardBackgroundForm;
class TMainKeyboardForm;
class TQvActions;
class TQvKeyboard;

class KeyModelSettingEffects final : public KeyViewEffects {
 public:
  explicit KeyModelSettingEffects(TQvKeyboard& model) : model_(model) {}
  void Redraw() override;
  void RebuildCharacters() override;
  HKL Layout() override;
  std::optional<std::wstring> ShortcutText(std::uint8_t key, ControlSet set) override;

 private:
  TQvKeyboard& model_;
};

class BindingListSettingEffects final : public BindingEffects {
 public:
  explicit BindingListSettingEffects(TQvActions& bindings) : bindings_(bindings) {}
  void LoadFile(const std::wstring& file) override;
  void BindTemplateHotkey(std::int32_t value) override;
  TQvAction* BindShortCut(std::int32_t value, std::uint8_t kind, std::uint8_t param) override;

 private:
  TQvActions& bindings_;
};

// Each effect reaches a window only while it exists. Showing the window and
// starting its hide countdown, which this program never offers, stay the
// port's own.
class KeyboardWindowSettingEffects final : public KeyboardWindowEffects {
 public:
  KeyboardWindowSettingEffects(TMainKeyboardForm& keyboard, TMainKeyboardBackgroundForm& background)
      : keyboard_(keyboard), background_(background) {}
  // The window reads the layout name from the settings itself.
  void LoadLayout(const std::wstring& layoutName) override;
  void ReapplyTiming() override;
  void SetShowInterval(int milliseconds) override;
  void SetAlpha(std::uint8_t alpha) override;
  void SetCaptionButtonImage(int image) override;
  void RepaintBackground() override;
  std::unique_ptr<HeldPicture> LoadBackgroundPicture(const std::wstring& file) override;

 private:
  TMainKeyboardForm* ExistingKeyboard();
  TMainKeyboardForm& keyboard_;
  TMainKeyboardBackgroundForm& background_;
};

}  // namespace snibbet
