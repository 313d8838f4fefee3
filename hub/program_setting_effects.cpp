#include "hub/program_setting_effects.h"

#include "core/lang_apply.h"
#include "dialogs/settings_form.h"
#include "dialogs/wizard_form.h"
#include "hub/data_module.h"
#include "keyboard/actions.h"
#include "keyboard/key_model.h"
#include "keyboard/keyboard_background.h"
#include "keyboard/keyboard_background_form.h"
#include "keyboard/main_keyboard_form.h"
#include "keyboard/template_hotkey.h"
#include "templates/template_files.h"
#include "templates/template_view_form.h"

namespace snibbet {

void ProgramSettingEffects::ApplyLanguageToProgram() {
  if (!dataModule_) return ApplyLanguageEverywhere();
  ApplyLanguageEverywhere([this] { dataModule_->ApplyLanguage(); });
}

bool ProgramSettingEffects::DataModuleActive() { return dataModule_ && dataModule_->Switch().Active(); }

void ProgramSettingEffects::SetDataModuleActive(bool active) {
  if (dataModule_) dataModule_->Switch().SetActive(active);
}

// The tray picks the file of the language the settings hold now.
void ProgramSettingEffects::PickHelpFile(int) {
  if (dataModule_) dataModule_->Tray().SelectHelpFile();
}

void ProgramSettingEffects::ApplyAppearance() {
  if (dataModule_) dataModule_->Look().Apply();
}

void ProgramSettingEffects::RedrawKeyboardView() {
  if (TQvKeyboard* keyboard = targets_.keyModel) keyboard->Redraw();
}

void ProgramSettingEffects::RebuildKeyCharacters() {
  if (TQvKeyboard* keyboard = targets_.keyModel) {
    keyboard->BuildCharTable();
    keyboard->Redraw();
  }
}

HKL ProgramSettingEffects::KeyModelLayout() {
  const TQvKeyboard* keyboard = targets_.keyModel;
  return keyboard ? reinterpret_cast<HKL>(keyboard->CurrentLayout()) : nullptr;
}

std::optional<std::wstring> ProgramSettingEffects::KeyViewShortcutText(std::uint8_t key, ControlSet set) {
  if (const TQvKeyboard* keyboard = targets_.keyModel) return keyboard->ShortcutToText(key, set);
  return std::nullopt;
}

void ProgramSettingEffects::LoadBindingFile(const std::wstring& file) {
  if (targets_.bindings) targets_.bindings->LoadFromFile(file);
}

void ProgramSettingEffects::BindTemplateHotkey(std::int32_t value) {
  if (targets_.bindings) BindTemplateHotkeyFromSetting(*targets_.bindings, value);
}

TQvAction* ProgramSettingEffects::BindShortCut(std::int32_t value, std::uint8_t kind, std::uint8_t param) {
  return targets_.bindings ? snibbet::BindShortCut(*targets_.bindings, value, kind, param) : nullptr;
}

// The keyboard window reads the layout name from the settings itself.
void ProgramSettingEffects::LoadKeyboardLayout(const std::wstring&) {
  if (TMainKeyboardForm* keyboard = targets_.keyboardWindow) keyboard->LoadLayoutFromSettings();
}

void ProgramSettingEffects::ReapplyKeyboardWindowTiming() {
  if (TMainKeyboardForm* keyboard = targets_.keyboardWindow) keyboard->ApplyAlphaBlend();
}

void ProgramSettingEffects::SetKeyboardShowInterval(int milliseconds) {
  if (TMainKeyboardForm* keyboard = targets_.keyboardWindow) keyboard->SetShowDelay(milliseconds);
}

void ProgramSettingEffects::SetKeyboardWindowAlpha(std::uint8_t alpha) {
  if (TMainKeyboardForm* keyboard = targets_.keyboardWindow) keyboard->SetAlphaBlend(alpha < 255, alpha);
}

void ProgramSettingEffects::SetKeyboardCaptionButtonImage(int image) {
  if (TMainKeyboardForm* keyboard = targets_.keyboardWindow) keyboard->AutoHideButton().SetImageIndex(image);
}

void ProgramSettingEffects::RepaintKeyboardBackground() {
  if (TMainKeyboardBackgroundForm* background = MainKeyboardBackgroundForm()) background->RepaintNow();
}

std::unique_ptr<HeldPicture> ProgramSettingEffects::LoadBackgroundPicture(const std::wstring& file) {
  return HeldBackgroundPicture::Load(file);
}

// The pop-up's templates come from its own file again.
void ProgramSettingEffects::ReloadTemplates(const std::wstring& fileName) {
  if (targets_.popup) LoadTemplatesFromFile(targets_.popup->Templates(), fileName, false);
}

void ProgramSettingEffects::ShowAutoHideInOpenDialogs(bool autoHide) {
  if (!openWindows_) return;
  if (TMainForm* settings = openWindows_->SettingsWindow()) settings->chkKeyboardAutoHide.SetChecked(autoHide);
  if (TWizardForm* wizard = openWindows_->Wizard()) wizard->chkKeyboardAutoHide.SetChecked(autoHide);
}

void ProgramSettingEffects::SetTrayIconActive(bool active) {
  if (dataModule_) dataModule_->Tray().SetTrayIconVisible(active);
}

void ProgramSettingEffects::RedrawTrayIcon() {
  if (dataModule_) dataModule_->Tray().UpdateTrayIcon();
}

}  // namespace snibbet
