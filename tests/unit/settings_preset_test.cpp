#include "core/settings_table.h"
#include "tests/unit/settings_fixture.h"

namespace snibbet::test {
namespace {

using PresetTest = SettingsTest;

// Reads nothing; every write fails.
class BrokenStore : public SettingsStore {
 public:
  bool ReadBoolDef(const std::wstring&, bool d) override { return d; }
  std::int32_t ReadIntegerDef(const std::wstring&, std::int32_t d) override { return d; }
  std::wstring ReadStringDef(const std::wstring&, const std::wstring& d) override { return d; }
  void WriteString(const std::wstring& n, const std::wstring&) override { throw RegistryError(n, "denied"); }
  void WriteInteger(const std::wstring& n, std::int32_t) override { throw RegistryError(n, "denied"); }
  void WriteBool(const std::wstring&, bool) override { throw std::runtime_error("denied"); }
  bool DeleteValue(const std::wstring&) override { return false; }
  bool ValueExists(const std::wstring&) override { return false; }
};

TEST_F(PresetTest, FirstStartKeepsDefaultsAndTheExitWritesEveryValue) {
  RunOnce([](TPreset& preset) {
    EXPECT_TRUE(preset.Loaded());
    EXPECT_EQ(preset.KeyboardLang(), Layout(0x04090409));
    EXPECT_TRUE(preset.KeyboardShowLabels());
    EXPECT_EQ(preset.Language(), 9);
    EXPECT_EQ(preset.ActionFileName(), GetDocumentsFolder() + L"QvActions.zqa");
    EXPECT_EQ(preset.TemplatesFileName(), GetDocumentsFolder() + L"zqtemplates.zqt");
    EXPECT_EQ(preset.TemplatesBreaks(), L" `~#?\"'");
    EXPECT_EQ(preset.SCShowTemplates(), 32800);
    EXPECT_EQ(preset.GestureDistance(), 16);
    EXPECT_EQ(preset.Colors()[9], 0x4E91FEu);
  });
  for (const SettingRow& row : TPreset::SettingsTable()) {
    if (!row.Saved()) continue;
    SCOPED_TRACE(row.name);
    const auto value = Get(row.name);
    if (row.storage == SettingStorage::StoredUnlessZero) {
      EXPECT_FALSE(value) << "free slot stored";
    } else {
      ASSERT_TRUE(value) << "not written";
      EXPECT_EQ(value->type, static_cast<DWORD>(row.kind == SettingKind::Text || row.kind == SettingKind::FileName
                                                    ? REG_SZ
                                                    : REG_DWORD));
    }
  }
  EXPECT_EQ(GetString(L"KeyboardName"), L"Standard");
  EXPECT_EQ(Get(L"KeyboardShowDelay")->Dword(), 1600u);
  EXPECT_EQ(Get(L"KeyboardShowWin")->Dword(), 1u);
  EXPECT_FALSE(Get(L"AccessDenied"));
}

// A slot freed since the last run is gone from the key, so the next run does
// not take the layout as left out again.
TEST_F(PresetTest, SaveDeletesFreedSlotsAndKeepsTheUsedOnes) {
  RunOnce([](TPreset& preset) {
    preset.AddDisabledLang(Layout(0x04070407));
    preset.AddDisabledLang(Layout(0x04190419));
  });
  ASSERT_EQ(Get(L"DisabledLang0")->Dword(), 0x04070407u);
  RunOnce([](TPreset& preset) { preset.RemoveDisabledLang(Layout(0x04070407)); });
  EXPECT_FALSE(Get(L"DisabledLang0"));
  EXPECT_EQ(Get(L"DisabledLang1")->Dword(), 0x04190419u);
  RunOnce([](TPreset& preset) {
    EXPECT_FALSE(preset.IsLangDisabled(Layout(0x04070407)));
    EXPECT_TRUE(preset.IsLangDisabled(Layout(0x04190419)));
  });
}

TEST_F(PresetTest, ValuesSurviveASaveAndLoad) {
  RunOnce([](TPreset& preset) {
    preset.SetKeyboardName(L"Compact");
    preset.SetTemplatesBreaks(L".,");
    preset.SetKeyboardShowShift(true);
    preset.SetShowIconHints(false);
    preset.SetLanguage(1031);
    preset.SetSCShowTemplates(0x1041);
    preset.SetSensitivityGestures(4);
    preset.SetSound(8, L"clip");
    preset.SetSoundEnabled(true);
    preset.AddDisabledLang(Layout(0x04070407));
  });
  RunOnce([](TPreset& preset) {
    EXPECT_EQ(preset.KeyboardName(), L"Compact");
    EXPECT_EQ(preset.TemplatesBreaks(), L".,");
    EXPECT_TRUE(preset.KeyboardShowShift());
    EXPECT_FALSE(preset.ShowIconHints());
    EXPECT_EQ(preset.SCShowTemplates(), 0x1041);
    EXPECT_EQ(preset.GestureDistance(), 27);
    EXPECT_EQ(preset.Sounds()[8], L"clip");
    EXPECT_TRUE(preset.SoundEnabled());
    EXPECT_TRUE(preset.IsLangDisabled(Layout(0x04070407)));
    EXPECT_EQ(preset.LocalizeWebAddress(L"http://www.x.org"), L"http://de.x.org");
  });
  EXPECT_EQ(GetString(L"Sound8"), L"clip");
}

TEST_F(PresetTest, AccessDeniedIsReadButNeverWritten) {
  PutDword(L"AccessDenied", 1);
  RunOnce([](TPreset& preset) { EXPECT_TRUE(preset.AccessDenied()); });
  RunOnce([](TPreset& preset) {
    EXPECT_TRUE(preset.AccessDenied());
    preset.Reset();
    EXPECT_TRUE(preset.AccessDenied() && preset.Loaded());
  });
  EXPECT_EQ(Get(L"AccessDenied")->Dword(), 1u);
}

TEST_F(PresetTest, SettingsOfUnofferedFeaturesKeepTheirDefaults) {
  PutDword(L"ShowCaretFlag", 1);
  RunOnce([](TPreset& preset) {
    EXPECT_FALSE(preset.ShowCaretFlag());
    preset.SetClipboardIsActive(true);
    EXPECT_FALSE(preset.ClipboardIsActive());
    preset.SetSCShowClipboard(5);
    EXPECT_EQ(preset.SCShowClipboard(), 93);
  });
  EXPECT_EQ(Get(L"ShowCaretFlag")->Dword(), 0u);
}

TEST_F(PresetTest, AWrongTypeStopsTheLoadAndAFirstLoadSavesNothing) {
  PutDword(L"KeyboardShowDelay", 2000);  // read before the broken value
  PutDword(L"KeyboardName", 5);          // a number where text belongs
  PutDword(L"KeyboardAutoHide", 0);      // read after it
  RunOnce([](TPreset& preset) {
    EXPECT_FALSE(preset.Loaded());
    EXPECT_EQ(preset.KeyboardShowDelay(), 2000);
    EXPECT_TRUE(preset.KeyboardAutoHide());
  });
  EXPECT_FALSE(Get(L"TemplatesBreaks"));
  EXPECT_EQ(Get(L"KeyboardName")->type, static_cast<DWORD>(REG_DWORD));
}

TEST_F(PresetTest, LayoutHandlesAreSignExtendedAndGesturesClamped) {
  // Installed, or the key names would follow the first installed layout instead.
  ReplaceKeyboardLayoutQuery([] {
    const HKL signExtended = reinterpret_cast<HKL>(static_cast<LONG_PTR>(static_cast<std::int32_t>(0xF0020409)));
    return std::vector<HKL>{Layout(0x04090409), signExtended};
  });
  PutDword(L"KeyboardLang", 0xF0020409);
  PutDword(L"SensitivityGestures", 200);
  RunOnce([](TPreset& preset) {
    const std::int32_t stored = static_cast<std::int32_t>(0xF0020409);
    EXPECT_EQ(preset.KeyboardLang(), reinterpret_cast<HKL>(static_cast<LONG_PTR>(stored)));
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(preset.KeyboardLang()) >> 32, 0xFFFFFFFFu);
    EXPECT_EQ(preset.SensitivityGestures(), 30);
    EXPECT_EQ(preset.GestureDistance(), 1);
    preset.AddDisabledLang(preset.KeyboardLang());
  });
  EXPECT_EQ(Get(L"KeyboardLang")->Dword(), 0xF0020409u);
  EXPECT_EQ(Get(L"DisabledLang0")->Dword(), 0xF0020409u);
  EXPECT_EQ(Get(L"SensitivityGestures")->Dword(), 30u);
  PutDword(L"SensitivityGestures", static_cast<DWORD>(-5));
  RunOnce([](TPreset& preset) {
    EXPECT_EQ(preset.GestureDistance(), 31);
    EXPECT_TRUE(preset.Loaded());
    EXPECT_TRUE(preset.IsLangDisabled(preset.KeyboardLang()));
  });
}

TEST_F(PresetTest, DisabledLayoutsFillTenSlotsWithoutDuplicates) {
  TPreset preset(AppIni());
  for (std::uintptr_t layout = 1; layout <= 11; ++layout) preset.AddDisabledLang(Layout(layout));
  preset.AddDisabledLang(Layout(3));
  EXPECT_EQ(std::count(preset.DisabledLang().begin(), preset.DisabledLang().end(), 3), 1);
  EXPECT_FALSE(preset.IsLangDisabled(Layout(11)));  // full
  preset.RemoveDisabledLang(Layout(3));
  preset.AddDisabledLang(Layout(11));
  EXPECT_EQ(preset.DisabledLang()[2], 11);
}

TEST_F(PresetTest, DefaultsFollowTheSystem) {
  ReplaceKeyboardLayoutQuery([] { return std::vector<HKL>{Layout(0x04070407)}; });
  ReplaceUiLanguageQuery([]() -> LANGID { return 1031; });
  TPreset german(AppIni());
  EXPECT_EQ(german.KeyboardLang(), Layout(0x04070407));
  EXPECT_FALSE(german.KeyboardShowLabels());
  EXPECT_EQ(german.Language(), 7);
  ReplaceKeyboardLayoutQuery([] { return std::vector<HKL>{}; });
  EXPECT_EQ(TPreset(AppIni()).KeyboardLang(), nullptr);
}

TEST_F(PresetTest, StoredActionFilesAndSoundsAreKeptAsTyped) {
  PutString(L"ActionFileName2", L"extra.zqa");
  PutString(L"Sound3", L"click");
  RunOnce([](TPreset& preset) {
    EXPECT_EQ(preset.ActionFileNames()[2], L"extra.zqa");
    EXPECT_EQ(preset.Sounds()[3], L"click");
    EXPECT_THROW(preset.SetSound(9, L"x"), std::out_of_range);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, TAppIni::kKeyPath, L"ActionFileName2");
    preset.Load();  // a missing numbered action file reads as empty, not as before
    EXPECT_EQ(preset.ActionFileNames()[2], L"");
  });
}

TEST_F(PresetTest, TheLastSaveReachesTheStoreAndNeverThrows) {
  InitializePreset(AppIni());
  Preset().Load();
  Preset().SetKeyboardName(L"Last");
  FinalizeSettingsStore();  // finalises the settings object first
  EXPECT_EQ(PresetOrNull(), nullptr);
  EXPECT_EQ(GetString(L"KeyboardName"), L"Last");
  EXPECT_THROW(Preset(), std::logic_error);

  InitializeSettingsStore();
  BrokenStore broken;
  InitializePreset(broken);
  Preset().Load();
  FinalizePreset();
  EXPECT_EQ(PresetOrNull(), nullptr);
}

// The editor's untitled file is a bare name: the store keeps the file before it.
TEST_F(PresetTest, TheUntitledTemplateFileIsNeverStored) {
  RecordingStore recording;
  TPreset preset(recording);
  preset.Load();
  const std::wstring titled = GetDocumentsFolder() + L"mine.zqt";
  preset.SetTemplatesFileName(titled);
  preset.SetTemplatesFileName(L"New");
  EXPECT_EQ(preset.TemplatesFileName(), L"New");
  EXPECT_EQ(preset.TitledTemplatesFileName(), titled);
  preset.Save();
  EXPECT_EQ(GetString(L"TemplatesFileName"), titled);

  // A bare name read from the store does not become the titled one either.
  AppIni().WriteString(L"TemplatesFileName", L"New");
  TPreset reloaded(recording);
  reloaded.Load();
  EXPECT_EQ(reloaded.TemplatesFileName(), L"New");
  reloaded.Save();
  EXPECT_EQ(GetString(L"TemplatesFileName"), GetDocumentsFolder() + L"zqtemplates.zqt");
}

}  // namespace
}  // namespace snibbet::test
