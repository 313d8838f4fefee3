#include "core/preset.h"

#include <algorithm>
#include <memory>
#include <stdexcept>

#include "core/preset_system.h"
#include "core/settings_table.h"
#include "core/web_address.h"

namespace snibbet {
namespace {

constexpr std::uintptr_t kUsEnglishLayout = 0x04090409;

// The store's read of a value's kind; `missing` is what a missing value reads as.
SettingValue ReadSetting(SettingsStore& store, const std::wstring& name, const SettingValue& missing) {
  if (const bool* value = std::get_if<bool>(&missing)) return store.ReadBoolDef(name, *value);
  if (const std::int32_t* value = std::get_if<std::int32_t>(&missing)) return store.ReadIntegerDef(name, *value);
  return store.ReadStringDef(name, std::get<std::wstring>(missing));
}

void WriteSetting(SettingsStore& store, const std::wstring& name, const SettingValue& value) {
  if (const bool* flag = std::get_if<bool>(&value)) {
    store.WriteBool(name, *flag);
  } else if (const std::int32_t* number = std::get_if<std::int32_t>(&value)) {
    store.WriteInteger(name, *number);
  } else {
    store.WriteString(name, std::get<std::wstring>(value));
  }
}

const std::vector<const SettingRow*>& SettingsInSaveOrder() {
  static const std::vector<const SettingRow*> order = [] {
    std::vector<const SettingRow*> rows;
    for (const SettingRow& row : TPreset::SettingsTable()) {
      if (row.Saved()) rows.push_back(&row);
    }
    std::sort(rows.begin(), rows.end(), [](const SettingRow* a, const SettingRow* b) {
      return a->savePlace < b->savePlace;
    });
    return rows;
  }();
  return order;
}

std::unique_ptr<TPreset> g_preset;

}  // namespace

TPreset::TPreset(SettingsStore& store, const SettingEffects& effects)
    : store_(store), effects_(WithDefaults(effects)) {
  actionFileName_ = GetDocumentsFolder() + L"QvActions.zqa";
  templatesFileName_ = GetDocumentsFolder() + L"zqtemplates.zqt";
  titledTemplatesFileName_ = templatesFileName_;
  accessDenied_ = false;
  Reset();
}

void TPreset::Reset() {
  for (const SettingRow& row : SettingsTable()) {
    if (row.reset == SettingReset::ToDefault) row.Assign(*this, *row.defaultValue);
    if (row.reset == SettingReset::ToDefaultBySetter) row.Apply(*this, *row.defaultValue);
  }

  // US English when installed, else the first layout; labels once there is a choice.
  const std::vector<HKL> layouts = InstalledKeyboardLayouts();
  keyboardLang_ = layouts.empty() ? nullptr : layouts.front();
  for (HKL layout : layouts) {
    if (reinterpret_cast<std::uintptr_t>(layout) == kUsEnglishLayout) keyboardLang_ = layout;
  }
  keyboardShowLabels_ = layouts.size() > 1;
  language_ = DefaultUiLanguage() & 0xFF;
  gestureDistance_ = 31 - sensitivityGestures_;  // the pair stays consistent before any load
}

void TPreset::Load() {
  try {
    for (const SettingRow& row : SettingsTable()) {
      if (!row.Loaded()) continue;
      const SettingValue missing = row.missingLoadsDefault ? *row.defaultValue : row.Value(*this);
      row.Apply(*this, ReadSetting(store_, row.name, missing));
    }
    loaded_ = true;
  } catch (const RegistryError&) {
    // A value of another type ends the load here; what was read stays applied.
  }
}

void TPreset::Save() {
  if (!loaded_) return;
  for (const SettingRow* row : SettingsInSaveOrder()) {
    const SettingValue value = row->Value(*this);
    if (row->storage == SettingStorage::StoredUnlessZero && value == SettingValue(std::int32_t{0})) {
      store_.DeleteValue(row->name);
    } else {
      WriteSetting(store_, row->name, value);
    }
  }
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

TPreset& InitializePreset(SettingsStore& store) {
  if (!g_preset) g_preset = std::make_unique<TPreset>(store);
  return *g_preset;
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
