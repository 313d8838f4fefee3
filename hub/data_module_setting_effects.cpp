#include "hub/data_module_setting_effects.h"

#include "core/lang_apply.h"
#include "hub/data_module.h"

namespace snibbet {

bool DataModuleSettingEffects::Active() { return dataModule_.Switch().Active(); }

void DataModuleSettingEffects::SetActive(bool active) { dataModule_.Switch().SetActive(active); }

void DataModuleSettingEffects::ApplyLanguage() {
  ApplyLanguageEverywhere([this] { dataModule_.ApplyLanguage(); });
}

void DataModuleSettingEffects::ApplyAppearance() { dataModule_.Look().Apply(); }

void DataModuleSettingEffects::PickHelpFile(int) { dataModule_.Tray().SelectHelpFile(); }

void DataModuleSettingEffects::SetTrayIconActive(bool active) { dataModule_.Tray().SetTrayIconVisible(active); }

void DataModuleSettingEffects::RedrawTrayIcon() { dataModule_.Tray().UpdateTrayIcon(); }

}  // namespace snibbet
