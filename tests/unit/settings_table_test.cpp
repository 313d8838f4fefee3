// The settings table against the settings key: what each row says about its
// value name, kind, default and order is what Load, Save and Reset do.
#include <algorithm>
#include <set>

#include "core/settings_table.h"
#include "tests/unit/settings_fixture.h"

namespace snibbet::test {
namespace {

using SettingsTableTest = SettingsTest;

// Settings of features this program does not offer: their setters drop the value.
const std::set<std::wstring> kDroppedBySetter = {
    L"ShowCaretFlag",         L"ClipboardIsActive", L"ClipboardPreviewFontItalic", L"ClipboardPreviewFontSize",
    L"ClipboardPreviewFontBold", L"ClipboardPreviewFontName", L"SCShowClipboard",   L"SCShowKeyboard"};

const wchar_t* Letter(const SettingValue& value) {
  return std::holds_alternative<bool>(value) ? L"B:" : std::holds_alternative<std::wstring>(value) ? L"S:" : L"I:";
}

// A value other than `value` that the row's setter keeps.
SettingValue OtherValue(const SettingRow& row, const SettingValue& value) {
  if (const bool* flag = std::get_if<bool>(&value)) return !*flag;
  if (const std::wstring* text = std::get_if<std::wstring>(&value)) return *text + L"~x";
  const std::int32_t number = std::get<std::int32_t>(value);
  switch (row.kind) {
    case SettingKind::Byte: return (number + 7) & 0xFF;
    case SettingKind::Shortcut: return number == 0x1041 ? 0x1042 : 0x1041;
    case SettingKind::Colour: return number ^ 0x00FFFFFF;
    // The key names follow only an installed layout.
    case SettingKind::Layout: return number == 0x04070407 ? 0x04090409 : 0x04070407;
    default: return number + 7;
  }
}

// The bytes the store keeps for a value.
RawValue Stored(const SettingValue& value) {
  RawValue raw;
  if (const std::wstring* text = std::get_if<std::wstring>(&value)) {
    raw.type = REG_SZ;
    const auto* bytes = reinterpret_cast<const BYTE*>(text->c_str());
    raw.data.assign(bytes, bytes + (text->size() + 1) * sizeof(wchar_t));
  } else {
    raw.type = REG_DWORD;
    const DWORD number = std::holds_alternative<bool>(value) ? (std::get<bool>(value) ? 1 : 0)
                                                             : static_cast<DWORD>(std::get<std::int32_t>(value));
    const auto* bytes = reinterpret_cast<const BYTE*>(&number);
    raw.data.assign(bytes, bytes + sizeof(number));
  }
  return raw;
}

TEST_F(SettingsTableTest, RowsAreWhole) {
  const TPreset preset(AppIni());
  std::set<std::wstring> names;
  std::vector<int> places;
  for (const SettingRow& row : TPreset::SettingsTable()) {
    SCOPED_TRACE(row.name);
    EXPECT_TRUE(names.insert(row.name).second) << "named twice";
    const SettingValue value = row.Value(preset);
    const bool text = row.kind == SettingKind::Text || row.kind == SettingKind::FileName ||
                      row.kind == SettingKind::FontName;
    EXPECT_EQ(std::holds_alternative<bool>(value), row.kind == SettingKind::Bool);
    EXPECT_EQ(std::holds_alternative<std::wstring>(value), text);
    if (row.defaultValue) {
      EXPECT_EQ(row.defaultValue->index(), value.index());
    }
    const bool resetToDefault =
        row.reset == SettingReset::ToDefault || row.reset == SettingReset::ToDefaultBySetter;
    if (resetToDefault || row.missingLoadsDefault) {
      EXPECT_TRUE(row.defaultValue);
    }
    const bool saved = row.storage == SettingStorage::Stored || row.storage == SettingStorage::StoredUnlessZero;
    EXPECT_EQ(row.Saved(), saved);
    if (saved) places.push_back(row.savePlace);
  }
  std::sort(places.begin(), places.end());
  for (std::size_t index = 0; index < places.size(); ++index) EXPECT_EQ(places[index], static_cast<int>(index) + 1);
}

TEST_F(SettingsTableTest, StoredRowsSurviveASaveAndLoadInTheirOrder) {
  RecordingStore recording;
  TPreset saved(recording);
  saved.Load();
  std::vector<std::wstring> tableLoadOrder;
  for (const SettingRow& row : TPreset::SettingsTable()) {
    if (!row.Loaded()) continue;
    SCOPED_TRACE(row.name);
    const SettingValue before = row.Value(saved);
    tableLoadOrder.push_back(Letter(before) + row.name);
    row.Apply(saved, OtherValue(row, before));
    if (!kDroppedBySetter.contains(row.name) && row.storage != SettingStorage::LoadedOnly) {
      EXPECT_NE(row.Value(saved), before) << "the round trip would prove nothing";
    }
  }
  EXPECT_EQ(recording.reads, tableLoadOrder);

  recording.log.clear();
  saved.Save();
  std::vector<const SettingRow*> bySavePlace;
  for (const SettingRow& row : TPreset::SettingsTable()) {
    if (row.Saved()) bySavePlace.push_back(&row);
  }
  std::sort(bySavePlace.begin(), bySavePlace.end(),
            [](const SettingRow* a, const SettingRow* b) { return a->savePlace < b->savePlace; });
  std::vector<std::wstring> tableSaveOrder;
  for (const SettingRow* row : bySavePlace) tableSaveOrder.push_back(Letter(row->Value(saved)) + row->name);
  EXPECT_EQ(recording.log, tableSaveOrder);

  TPreset loaded(AppIni());
  loaded.Load();
  EXPECT_TRUE(loaded.Loaded());
  for (const SettingRow& row : TPreset::SettingsTable()) {
    SCOPED_TRACE(row.name);
    if (row.Saved()) {
      const std::optional<RawValue> raw = Get(row.name);
      ASSERT_TRUE(raw);
      EXPECT_EQ(raw->type, Stored(row.Value(saved)).type);
      EXPECT_EQ(raw->data, Stored(row.Value(saved)).data);
    } else {
      EXPECT_FALSE(Get(row.name)) << "written though the row is not saved";
    }
    if (row.Saved()) {
      EXPECT_EQ(row.Value(loaded), row.Value(saved));
    }
  }
  EXPECT_EQ(loaded.GestureDistance(), 31 - loaded.SensitivityGestures());

  // A value gone from the key keeps the one held, or loads as the default where the row says so.
  PutDword(L"AccessDenied", 1);
  loaded.Load();
  std::vector<SettingValue> held;
  for (const SettingRow& row : TPreset::SettingsTable()) {
    held.push_back(row.Value(loaded));
    AppIni().DeleteValue(row.name);
  }
  loaded.Load();
  for (std::size_t index = 0; index < held.size(); ++index) {
    const SettingRow& row = TPreset::SettingsTable()[index];
    if (!row.Loaded()) continue;
    SCOPED_TRACE(row.name);
    EXPECT_EQ(row.Value(loaded), row.missingLoadsDefault ? *row.defaultValue : held[index]);
    if (row.missingLoadsDefault) {
      EXPECT_NE(held[index], *row.defaultValue);
    }
  }
}

// A first run's values stored and read back by a settings object that holds
// others: every stored setting comes back as its default, a free slot too.
TEST_F(SettingsTableTest, DefaultsSurviveASaveAndLoad) {
  TPreset first(AppIni());
  first.Load();
  first.Save();
  TPreset later(AppIni());
  for (const SettingRow& row : TPreset::SettingsTable()) {
    if (row.Loaded()) row.Apply(later, OtherValue(row, row.Value(later)));
  }
  later.Load();
  for (const SettingRow& row : TPreset::SettingsTable()) {
    SCOPED_TRACE(row.name);
    if (row.Saved()) {
      EXPECT_EQ(row.Value(later), row.Value(first));
    }
  }
}

// Notes the layout in force whenever a setting that names keys reaches the
// program: the hotkey's text and the bindings' pictures are made from it.
class LayoutAtEachKeySetting : public BindingEffects {
 public:
  const TPreset* preset = nullptr;
  std::vector<HKL> layouts;
  void LoadFile(const std::wstring&) override { Note(); }
  void BindTemplateHotkey(std::int32_t) override { Note(); }

 private:
  void Note() {
    if (preset) layouts.push_back(preset->KeyboardLang());
  }
};

TEST_F(SettingsTableTest, TheStoredLayoutComesBeforeTheSettingsThatNameKeys) {
  PutDword(L"KeyboardLang", 0x04070407);  // German, not the default
  PutDword(L"SCShowTemplates", 0x1041);
  PutString(L"ActionFileName", L"C:\\bindings.zqa");
  LayoutAtEachKeySetting effects;
  TPreset preset(AppIni(), {.bindings = &effects});
  effects.preset = &preset;
  preset.Load();
  ASSERT_EQ(effects.layouts.size(), 2u);
  for (HKL layout : effects.layouts) EXPECT_EQ(layout, Layout(0x04070407));

  // The stored key keeps that order too, for whatever reads it in its order.
  RecordingStore recording;
  TPreset saved(recording);
  saved.Load();
  saved.Save();
  const auto placeOf = [&recording](const std::wstring& entry) {
    return std::find(recording.log.begin(), recording.log.end(), entry) - recording.log.begin();
  };
  EXPECT_LT(placeOf(L"I:KeyboardLang"), placeOf(L"S:ActionFileName"));
  EXPECT_LT(placeOf(L"I:KeyboardLang"), placeOf(L"I:SCShowTemplates"));
  EXPECT_LT(placeOf(L"I:SCShowTemplates"), static_cast<std::ptrdiff_t>(recording.log.size()));
}

TEST_F(SettingsTableTest, ResetPutsBackEveryRowsDefault) {
  TPreset preset(AppIni());
  std::vector<SettingValue> changed;
  for (const SettingRow& row : TPreset::SettingsTable()) {
    SCOPED_TRACE(row.name);
    const SettingValue before = row.Value(preset);
    if (row.defaultValue && row.reset != SettingReset::Kept) {
      EXPECT_EQ(before, *row.defaultValue) << "at the start";
    }
    row.Apply(preset, OtherValue(row, before));
    if (!kDroppedBySetter.contains(row.name)) {
      EXPECT_NE(row.Value(preset), before);
    }
    changed.push_back(row.Value(preset));
  }
  preset.Reset();
  for (std::size_t index = 0; index < TPreset::SettingsTable().size(); ++index) {
    const SettingRow& row = TPreset::SettingsTable()[index];
    SCOPED_TRACE(row.name);
    switch (row.reset) {
      case SettingReset::ToDefault:
      case SettingReset::ToDefaultBySetter: EXPECT_EQ(row.Value(preset), *row.defaultValue); break;
      case SettingReset::Kept: EXPECT_EQ(row.Value(preset), changed[index]); break;
      case SettingReset::FromSystem: break;  // below
    }
  }
  // The fixture's system: German and US layouts, US English.
  EXPECT_EQ(preset.KeyboardLang(), Layout(0x04090409));
  EXPECT_TRUE(preset.KeyboardShowLabels());
  EXPECT_EQ(preset.Language(), 9);
  EXPECT_EQ(preset.GestureDistance(), 16);
  EXPECT_EQ(preset.SoundFiles()[0], L"");  // followed the entry through the setter
}

}  // namespace
}  // namespace snibbet::test
