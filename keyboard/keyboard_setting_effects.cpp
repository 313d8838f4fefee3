#include "keyboard/keyboard_setting_effects.h"

#include "keyboard/actions.h"
#include "keyboard/key_model.h"
#include "keyboard/keyboard_background.h"
#include "keyboard/keyboard_background_form.h"
#include "keyboard/main_keyboard_form.h"
#include "keyboard/template_hotkey.h"

namespace snibbet {

void KeyModelSettingEffects::Redraw() { model_.Redraw(); }

void KeyModelSettingEffects::RebuildCharacters() {
  model_.BuildCharTable();
  model_.Redraw();
}

HKL KeyModelSettingEffects::Layout() { return reinterpret_cast<HKL>(model_.CurrentLayout()); }

std::optional<std::wstring> KeyModelSettingEffects::ShortcutText(std::uint8_t key, ControlSet set) {
  return model_.ShortcutToText(key, set);
}

void BindingListSettingEffects::LoadFile(const std::wstring& file) { bindings_.LoadFromFile(file); }

void BindingListSettingEffects::BindTemplateHotkey(std::int32_t value) {
  BindTemplateHotkeyFromSetting(bindings_, value);
}

TQvAction* BindingListSettingEffects::BindShortCut(std::int32_t value, std::uint8_t kind, std::uint8_t param) {
  return snibbet::BindShortCut(bindings_, value, kind, param);
}

TMainKeyboardForm* KeyboardWindowSettingEffects::ExistingKeyboard() {
  return keyboard_.Handle() ? &keyboard_ : nullptr;
}

void KeyboardWindowSettingEffects::LoadLayout(const std::wstring&) {
  if (TMainKeyboardForm* keyboard = ExistingKeyboard()) keyboard->LoadLayoutFromSettings();
}

void KeyboardWindowSettingEffects::ReapplyTiming() {
  if (TMainKeyboardForm* keyboard = ExistingKeyboard()) keyboard->ApplyAlphaBlend();
}

void KeyboardWindowSettingEffects::SetShowInterval(int milliseconds) {
  if (TMainKeyboardForm* keyboard = ExistingKeyboard()) keyboard->SetShowDelay(milliseconds);
}

void KeyboardWindowSettingEffects::SetAlpha(std::uint8_t alpha) {
  if (TMainKeyboardForm* keyboard = ExistingKeyboard()) keyboard->SetAlphaBlend(alpha < 255, alpha);
}

void KeyboardWindowSettingEffects::SetCaptionButtonImage(int image) {
  if (TMainKeyboardForm* keyboard = ExistingKeyboard()) keyboard->AutoHideButton().SetImageIndex(image);
}

void KeyboardWindowSettingEffects::RepaintBackground() {
  if (background_.Handle()) background_.RepaintNow();
}

std::unique_ptr<HeldPicture> KeyboardWindowSettingEffects::LoadBackgroundPicture(const std::wstring& file) {
  return HeldBackgroundPicture::Load(file);
}

}  // namespace snibbet
