#include <shlobj.h>

#include "core/app_ini.h"
#include "core/program_folder.h"
#include "tests/unit/settings_fixture.h"

namespace snibbet::test {
namespace {

using StoreTest = SettingsTest;

std::wstring FreshTempFolder() {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  static int count = 0;
  std::wstring folder = std::wstring(temp) + L"snibbet-store-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                        std::to_wstring(++count) + L"\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

void PutFile(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
}

bool IsFolder(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(StoreTest, FoldersAreWorkedOutAndClearedAtTheEnd) {
  wchar_t appData[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData);
  EXPECT_EQ(AppIni().DataFolder(), std::wstring(appData) + L"\\OrvaneSoftware\\Snibbet\\");
  EXPECT_EQ(AppIni().ClipboardFolder(), AppIni().DataFolder() + L"Clipboard\\");
  EXPECT_TRUE(IsFolder(AppIni().ClipboardFolder()));
  EXPECT_EQ(GetProgramFolder(), ProgramFolder());
  EXPECT_EQ(GetSoundFolder(), ProgramFolder() + L"Sound\\");
  ASSERT_FALSE(GetDocumentsFolder().empty());
  EXPECT_EQ(GetDocumentsFolder().back(), L'\\');

  FinalizeSettingsStore();
  EXPECT_EQ(AppIniOrNull(), nullptr);
  EXPECT_TRUE(GetProgramFolder().empty() && GetDocumentsFolder().empty() && GetSoundFolder().empty());
  EXPECT_THROW(AppIni(), std::logic_error);
}

TEST_F(StoreTest, CreatesMissingParentFoldersAndReportsTheOneItCannotCreate) {
  const std::wstring fresh = FreshTempFolder();
  TAppIni store(fresh + L"a\\b");
  EXPECT_EQ(store.DataFolder(), fresh + L"a\\b\\OrvaneSoftware\\Snibbet\\");
  EXPECT_TRUE(IsFolder(store.ClipboardFolder()));

  EXPECT_THROW(TAppIni(L""), FolderCreateError);  // no app-data folder known

  const std::wstring blocked = FreshTempFolder();
  PutFile(blocked + L"OrvaneSoftware");
  try {
    TAppIni failing(blocked);
    FAIL() << "a file in the way must stop the store";
  } catch (const FolderCreateError& error) {
    EXPECT_EQ(error.Folder(), blocked + L"OrvaneSoftware\\Snibbet\\");
    EXPECT_NE(std::string(error.what()).find("OrvaneSoftware\\Snibbet"), std::string::npos);
  }

  const std::wstring clipboardBlocked = FreshTempFolder();
  SHCreateDirectoryExW(nullptr, (clipboardBlocked + L"OrvaneSoftware\\Snibbet").c_str(), nullptr);
  PutFile(clipboardBlocked + L"OrvaneSoftware\\Snibbet\\Clipboard");
  try {
    TAppIni failing(clipboardBlocked);
    FAIL() << "a file in the way must stop the store";
  } catch (const FolderCreateError& error) {
    EXPECT_EQ(error.Folder(), clipboardBlocked + L"OrvaneSoftware\\Snibbet\\Clipboard\\");
  }
}

TEST_F(StoreTest, ReadsWritesAndDefaults) {
  TAppIni& store = AppIni();
  EXPECT_EQ(store.ReadIntegerDef(L"Missing", -7), -7);
  EXPECT_EQ(store.ReadStringDef(L"Missing", L"def"), L"def");
  EXPECT_TRUE(store.ReadBoolDef(L"Missing", true));

  store.WriteInteger(L"Int", -123456);
  store.WriteBool(L"Bool", true);
  store.WriteString(L"Str", L"abc");
  EXPECT_EQ(store.ReadIntegerDef(L"Int", 0), -123456);
  EXPECT_EQ(Get(L"Bool")->Dword(), 1u);
  PutDword(L"Seven", 7);
  EXPECT_TRUE(store.ReadBoolDef(L"Seven", false));  // any non-zero is true

  auto raw = Get(L"Str");  // REG_SZ with its terminator
  EXPECT_EQ(raw->type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(raw->data.size(), 4 * sizeof(wchar_t));
  const std::wstring longText(5000, L'x');
  store.WriteString(L"Long", longText);
  EXPECT_EQ(store.ReadStringDef(L"Long", L""), longText);

  EXPECT_TRUE(store.ValueExists(L"Str"));
  EXPECT_TRUE(store.DeleteValue(L"Str"));
  EXPECT_FALSE(store.ValueExists(L"Str"));
  EXPECT_FALSE(store.DeleteValue(L"Str"));
}

TEST_F(StoreTest, StringsStopAtTheFirstNulWhateverIsStored) {
  const wchar_t noTerminator[] = {L'a', L'b', L'c'};
  PutRaw(L"NoTerminator", REG_SZ, noTerminator, sizeof(noTerminator));
  const wchar_t junk[] = {L'a', L'b', L'c', 0, L'x', L'y', L'z'};
  PutRaw(L"Junk", REG_SZ, junk, sizeof(junk));
  const char oddBytes[] = {'a', 0, 'b', 0, 'c', 0, 'd'};
  PutRaw(L"OddSize", REG_SZ, oddBytes, sizeof(oddBytes));
  PutRaw(L"Empty", REG_SZ, nullptr, 0);
  const std::wstring expandable = L"%SystemRoot%\\x";
  PutRaw(L"Expand", REG_EXPAND_SZ, expandable.c_str(), static_cast<DWORD>(expandable.size() * sizeof(wchar_t)));

  TAppIni& store = AppIni();
  EXPECT_EQ(store.ReadStringDef(L"NoTerminator", L""), L"abc");
  EXPECT_EQ(store.ReadStringDef(L"Junk", L""), L"abc");
  EXPECT_EQ(store.ReadStringDef(L"OddSize", L""), L"abc");
  EXPECT_EQ(store.ReadStringDef(L"Empty", L"def"), L"");
  EXPECT_EQ(store.ReadStringDef(L"Expand", L""), expandable);  // never expanded
}

TEST_F(StoreTest, AValueOfAnotherTypeRaisesTheTypedError) {
  PutString(L"Text", L"12");
  PutDword(L"Number", 12);
  const BYTE four[] = {1, 0, 0, 0};
  PutRaw(L"Binary", REG_BINARY, four, sizeof(four));
  const ULONGLONG wide = 1;
  PutRaw(L"Qword", REG_QWORD, &wide, sizeof(wide));

  TAppIni& store = AppIni();
  EXPECT_THROW(store.ReadIntegerDef(L"Text", 0), RegistryTypeError);
  EXPECT_THROW(store.ReadBoolDef(L"Binary", false), RegistryTypeError);
  EXPECT_THROW(store.ReadIntegerDef(L"Qword", 0), RegistryTypeError);
  try {
    store.ReadStringDef(L"Number", L"");
    FAIL();
  } catch (const RegistryTypeError& error) {
    EXPECT_EQ(error.ValueName(), L"Number");
    EXPECT_EQ(error.ActualType(), static_cast<DWORD>(REG_DWORD));
  }
}

// The settings key as a user sees it who may read it but not write it.
SettingsKeyAccess ReadOnlyKeyAccess() {
  SettingsKeyAccess access = SystemSettingsKeyAccess();
  access.openForWriting = [](HKEY*) { return LONG{ERROR_ACCESS_DENIED}; };
  return access;
}

TEST_F(StoreTest, AKeyThatCannotBeWrittenIsReadAndLeftAsItIs) {
  PutDword(L"FirstStart", 1);
  PutString(L"KeyboardName", L"Mine");
  TAppIni store(FreshTempFolder(), ReadOnlyKeyAccess());
  EXPECT_FALSE(store.Writable());
  EXPECT_EQ(store.ReadIntegerDef(L"FirstStart", 0), 1);
  EXPECT_EQ(store.ReadStringDef(L"KeyboardName", L""), L"Mine");
  EXPECT_TRUE(store.ValueExists(L"FirstStart"));
  EXPECT_EQ(store.ReadIntegerDef(L"Missing", 4), 4);

  EXPECT_NO_THROW(store.WriteInteger(L"FirstStart", 2));
  EXPECT_NO_THROW(store.WriteString(L"Added", L"x"));
  EXPECT_NO_THROW(store.WriteBool(L"AddedFlag", true));
  EXPECT_FALSE(store.DeleteValue(L"KeyboardName"));
  EXPECT_EQ(Get(L"FirstStart")->Dword(), 1u);
  EXPECT_EQ(GetString(L"KeyboardName"), L"Mine");
  EXPECT_FALSE(Get(L"Added").has_value());
  EXPECT_FALSE(Get(L"AddedFlag").has_value());

  // The settings object loads what is there and its saves change nothing.
  PutDword(L"KeyboardShowDelay", 1234);
  InitializePreset(store);
  Preset().Load();
  EXPECT_TRUE(Preset().Loaded());
  EXPECT_EQ(Preset().KeyboardShowDelay(), 1234);
  EXPECT_NO_THROW(Preset().Save());
  FinalizePreset();
  EXPECT_FALSE(Get(L"KeyboardAutoHide").has_value());
}

TEST_F(StoreTest, AKeyThatDoesNotOpenAtAllReadsAsEmpty) {
  PutDword(L"FirstStart", 1);
  const SettingsKeyAccess closed{.openForWriting = [](HKEY*) { return LONG{ERROR_ACCESS_DENIED}; },
                                 .openForReading = [](HKEY*) { return LONG{ERROR_ACCESS_DENIED}; }};
  TAppIni store(FreshTempFolder(), closed);
  EXPECT_FALSE(store.Writable());
  EXPECT_FALSE(store.ValueExists(L"FirstStart"));
  EXPECT_EQ(store.ReadIntegerDef(L"FirstStart", 0), 0);
  EXPECT_TRUE(store.ReadBoolDef(L"Flag", true));
  EXPECT_EQ(store.ReadStringDef(L"Name", L"def"), L"def");
  EXPECT_NO_THROW(store.WriteInteger(L"FirstStart", 5));
  EXPECT_FALSE(store.DeleteValue(L"FirstStart"));
  EXPECT_EQ(Get(L"FirstStart")->Dword(), 1u);
}

}  // namespace
}  // namespace snibbet::test
