#include "core/lang_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/lang_captions.h"
#include "tests/unit/qvlib_test_support.h"

namespace snibbet {
namespace {

const std::string kBom = "\xEF\xBB\xBF";

class LanguageTable : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_.Write(L"en.txt", kBom +
                                 "000009=Error\r\n000010=Warning\r\n"
                                 "000015=Save##changes?\r\n"
                                 "000035=Click the icon \r\nto start.\r\n"
                                 "100000=English\r\n100001=9\r\n");
  }
  test::TempFolder folder_;
};

TEST_F(LanguageTable, ChosenLanguageOverridesEnglishAndEnglishFillsTheRest) {
  folder_.Write(L"de.txt", kBom + "000009=Fehler\r\n");
  TQvLang lang(folder_.Path());
  lang.Load(L"de");
  EXPECT_EQ(lang.Code(), L"de");
  EXPECT_EQ(lang.GetText(9), L"Fehler");
  EXPECT_EQ(lang.GetText(10), L"Warning");
  EXPECT_EQ(lang.GetText(15), L"Save\r\nchanges?");
  EXPECT_EQ(lang.GetText(35), L"Click the icon to start.");
  EXPECT_EQ(lang.GetText(777), L"No text");
  EXPECT_EQ(lang.GetText(777, L"Default"), L"Default");
  // Back to English: nothing of the other language stays.
  lang.Load(L"en");
  EXPECT_EQ(lang.GetText(9), L"Error");
}

TEST_F(LanguageTable, LoadingTwiceLeavesNoDuplicates) {
  TQvLang lang(folder_.Path());
  lang.Load(L"en");
  const size_t count = lang.Entries().size();
  lang.Load(L"en");
  ASSERT_EQ(lang.Entries().size(), count);
  std::set<int32_t> ids;
  for (const auto& entry : lang.Entries()) EXPECT_TRUE(ids.insert(entry.Id).second) << entry.Id;
  EXPECT_EQ(count, 6u);
}

TEST_F(LanguageTable, MissingFiles) {
  TQvLang lang(folder_.Path());
  lang.Load(L"xx");  // no such language: English only
  EXPECT_EQ(lang.Code(), L"xx");
  EXPECT_EQ(lang.GetText(9), L"Error");

  test::TempFolder empty;
  TQvLang none(empty.Path());
  none.Load(L"en");
  EXPECT_TRUE(none.Entries().empty());
  EXPECT_EQ(none.GetText(9, L"Error"), L"Error");
}

TEST_F(LanguageTable, FileWithoutByteOrderMarkKeepsItsFirstLine) {
  folder_.Write(L"nl.txt", "000009=Fout\r\n000010=Waarschuwing\r\n");
  TQvLang lang(folder_.Path());
  lang.Load(L"nl");
  EXPECT_EQ(lang.GetText(9), L"Fout");
  EXPECT_EQ(lang.GetText(10), L"Waarschuwing");
}

TEST_F(LanguageTable, SetTextAddsOrReplaces) {
  TQvLang lang(folder_.Path());
  lang.Load(L"en");
  EXPECT_EQ(lang.IndexOfId(10), 1);
  EXPECT_EQ(lang.IndexOfId(4242), -1);
  lang.SetText(10, L"Careful");
  lang.SetText(4242, L"New");
  EXPECT_EQ(lang.IndexOfId(10), 1);
  EXPECT_EQ(lang.GetText(10), L"Careful");
  EXPECT_EQ(lang.IndexOfId(4242), static_cast<int>(lang.Entries().size()) - 1);
}

TEST(ShippedLanguage, ProgramFolderCarriesEnglish) {
  const std::wstring programDir = test::ProgramDirFromEnvironment();
  ASSERT_FALSE(programDir.empty());
  TQvLang lang(programDir + L"Lang\\");
  lang.Load(L"en");
  EXPECT_EQ(lang.GetText(9), L"Error");
  EXPECT_EQ(lang.GetText(100000), L"English");
}

TEST(ProcessLanguageTable, FallbackBeforeInitialisationThenTable) {
  FinalizeLanguages();
  EXPECT_EQ(LangText(9, L"Error"), L"Error");
  InitializeLanguages();
  EXPECT_EQ(Lang().Code(), L"en");
  EXPECT_EQ(Lang().Folder(), GetLanguageFolder());
  EXPECT_EQ(GetLanguageFileName(L"de"), GetLanguageFolder() + L"de.txt");
  Lang().SetText(9, L"Fehler");
  EXPECT_EQ(LangText(9, L"Error"), L"Fehler");
  FinalizeLanguages();
}

// The keyboard view's scheme list, item index = scheme number: with the
// shipped English each of the nine schemes shows a name of its own, and
// without any texts the list still keeps a line per scheme.
TEST(ColorSchemeNames, EverySchemeHasItsOwnLine) {
  const auto lines = [](const std::wstring& text) {
    std::vector<std::wstring> split;
    std::size_t begin = 0;
    for (std::size_t end; (end = text.find(L"\r\n", begin)) != std::wstring::npos; begin = end + 2) {
      split.push_back(text.substr(begin, end - begin));
    }
    split.push_back(text.substr(begin));
    return split;
  };
  const std::wstring programFolder = test::ProgramDirFromEnvironment();
  ASSERT_FALSE(programFolder.empty()) << "SNIBBET_PROGRAM_DIR is not set";
  TQvLang english(programFolder + L"Lang\\");
  english.Load(L"en");
  TQvLang* before = ExchangeLanguageTable(&english);
  const std::vector<std::wstring> names = lines(BuildColorSchemeNames());
  ExchangeLanguageTable(before);
  ASSERT_EQ(names.size(), 9u);
  EXPECT_EQ(std::set<std::wstring>(names.begin(), names.end()).size(), names.size()) << "two schemes look alike";
  for (const std::wstring& name : names) EXPECT_NE(name, kNoText);

  TQvLang none(programFolder + L"NoSuchFolder\\");
  none.Load(L"en");
  before = ExchangeLanguageTable(&none);
  EXPECT_EQ(lines(BuildColorSchemeNames()).size(), 9u);
  ExchangeLanguageTable(before);
}

TEST(Captions, ControlsAndMenusGetUnicodeText) {
  InitializeLanguages();
  const std::wstring russian = L"\u0424\u0430\u0439\u043B \u20AC";
  Lang().SetText(20001, russian);
  HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(edit, nullptr);
  SetControlText(20001, edit);
  wchar_t text[64] = {};
  GetWindowTextW(edit, text, 64);
  EXPECT_EQ(std::wstring(text), russian);
  SetControlText(20002, edit);
  GetWindowTextW(edit, text, 64);
  EXPECT_EQ(std::wstring(text), L"No text");
  DestroyWindow(edit);

  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, 100, L"old");
  SetMenuItemCaption(20001, menu, 100);
  GetMenuStringW(menu, 100, text, 64, MF_BYCOMMAND);
  EXPECT_EQ(std::wstring(text), russian);
  DestroyMenu(menu);
  FinalizeLanguages();
}

}  // namespace
}  // namespace snibbet
