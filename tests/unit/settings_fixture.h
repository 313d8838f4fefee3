#pragma once
// Shared by the settings tests: each test starts on an empty settings key,
// with a fixed keyboard setup (German and US layouts) and US English UI.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/app_ini.h"
#include "core/preset.h"
#include "core/preset_system.h"

namespace snibbet::test {

inline HKL Layout(std::uintptr_t value) { return reinterpret_cast<HKL>(value); }
inline std::vector<HKL> GermanAndUsLayouts() { return {Layout(0x04070407), Layout(0x04090409)}; }
inline LANGID UsEnglishUi() { return 0x0409; }

struct RawValue {
  DWORD type = 0;
  std::vector<BYTE> data;
  DWORD Dword() const { return data.size() == 4 ? *reinterpret_cast<const DWORD*>(data.data()) : 0xDEADBEEF; }
};

// Passes everything to the real store and notes each write and delete in
// `log`, each read in `reads` (same letters).
class RecordingStore : public SettingsStore {
 public:
  bool ReadBoolDef(const std::wstring& n, bool d) override { return Read(L"B:", n), AppIni().ReadBoolDef(n, d); }
  std::int32_t ReadIntegerDef(const std::wstring& n, std::int32_t d) override {
    return Read(L"I:", n), AppIni().ReadIntegerDef(n, d);
  }
  std::wstring ReadStringDef(const std::wstring& n, const std::wstring& d) override {
    return Read(L"S:", n), AppIni().ReadStringDef(n, d);
  }
  void WriteString(const std::wstring& n, const std::wstring& v) override { Note(L"S:", n), AppIni().WriteString(n, v); }
  void WriteInteger(const std::wstring& n, std::int32_t v) override { Note(L"I:", n), AppIni().WriteInteger(n, v); }
  void WriteBool(const std::wstring& n, bool v) override { Note(L"B:", n), AppIni().WriteBool(n, v); }
  bool DeleteValue(const std::wstring& n) override { return Note(L"D:", n), AppIni().DeleteValue(n); }
  bool ValueExists(const std::wstring& n) override { return AppIni().ValueExists(n); }
  void Note(const wchar_t* kind, const std::wstring& name) { log.push_back(kind + name); }
  void Read(const wchar_t* kind, const std::wstring& name) { reads.push_back(kind + name); }
  std::vector<std::wstring> log;
  std::vector<std::wstring> reads;
};

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FinalizeSettingsStore();
    ClearKey();
    ReplaceKeyboardLayoutQuery(&GermanAndUsLayouts);
    ReplaceUiLanguageQuery(&UsEnglishUi);
    InitializeSettingsStore();
  }
  void TearDown() override {
    FinalizeSettingsStore();
    ReplaceKeyboardLayoutQuery(nullptr);
    ReplaceUiLanguageQuery(nullptr);
    ClearKey();
  }

  static void ClearKey() { RegDeleteTreeW(HKEY_CURRENT_USER, TAppIni::kKeyPath); }

  // Written and read past the store, as another program or the user would.
  static void PutRaw(const std::wstring& name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, TAppIni::kKeyPath, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    RegCloseKey(key);
  }
  static void PutDword(const std::wstring& name, DWORD value) { PutRaw(name, REG_DWORD, &value, sizeof(value)); }
  static void PutString(const std::wstring& name, const std::wstring& value) {
    PutRaw(name, REG_SZ, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  }
  static std::optional<RawValue> Get(const std::wstring& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, TAppIni::kKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
    RawValue value;
    DWORD size = 0;
    LONG status = RegQueryValueExW(key, name.c_str(), nullptr, &value.type, nullptr, &size);
    value.data.resize(size);
    if (status == ERROR_SUCCESS) {
      status = RegQueryValueExW(key, name.c_str(), nullptr, &value.type, value.data.data(), &size);
    }
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return std::nullopt;
    return value;
  }
  static std::wstring GetString(const std::wstring& name) {
    auto value = Get(name);
    if (!value || value->type != REG_SZ) return L"<missing>";
    return std::wstring(reinterpret_cast<const wchar_t*>(value->data.data()), value->data.size() / 2 - 1);
  }

  // One run of the program: the settings object is created, loaded, and
  // finalised (which saves).
  template <typename During>
  void RunOnce(During during) {
    InitializePreset(AppIni());
    Preset().Load();
    during(Preset());
    FinalizePreset();
  }
  void RunOnce() {
    RunOnce([](TPreset&) {});
  }
};

}  // namespace snibbet::test
