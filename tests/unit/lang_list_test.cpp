#include "core/lang_list.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/lang_table.h"
#include "tests/unit/qvlib_test_support.h"
#include "ui/application.h"

namespace snibbet {
namespace {

const std::string kBom = "\xEF\xBB\xBF";

std::vector<LanguageRecord> Sorted(std::vector<LanguageRecord> records) {
  std::sort(records.begin(), records.end(), [](auto& a, auto& b) { return a.Code < b.Code; });
  return records;
}

TEST(LanguageList, ReadsNameAndNumberOfEveryUsableFile) {
  test::TempFolder folder;
  folder.Write(L"en.txt", kBom + "100000=English\r\n100001=9\r\n000009=Error\r\n");  // keys right after the mark
  folder.Write(L"ru.txt", kBom + "000009=x\r\n100001=25\r\n100000=\xD0\xA0\xD1\x83\xD1\x81\r\n");
  folder.Write(L"nn.txt", "100000=NoNumber\r\n");        // no language number
  folder.Write(L"bad.txt", "100000=Bad\r\n100001=x\r\n");  // number not a number
  folder.Write(L"noname.txt", "100001=7\r\n");             // no display name
  folder.Write(L"readme.md", "100000=Other\r\n100001=1\r\n");
  std::filesystem::create_directory(folder.File(L"dir.txt"));

  const auto records = Sorted(ReadLanguageRecords(folder.Path()));
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].Code, L"en");
  EXPECT_EQ(records[0].DisplayName, L"English");
  EXPECT_EQ(records[0].LangId, 9);
  EXPECT_EQ(records[0].FlagIndex, 2) << "English has the flag of its primary language";
  EXPECT_EQ(records[1].Code, L"ru");
  EXPECT_EQ(records[1].DisplayName, L"\u0420\u0443\u0441");
  EXPECT_EQ(records[1].LangId, 25);
}

TEST(LanguageList, EnumerateFillsTheList) {
  test::TempFolder folder;
  folder.Write(L"en.txt", kBom + "100000=English\r\n100001=9\r\n");
  EXPECT_TRUE(EnumerateLanguages(folder.Path()));
  ASSERT_EQ(LanguageList().size(), 1u);
  EXPECT_EQ(LanguageList()[0].Code, L"en");
  FinalizeLanguages();  // also empties the list
  EXPECT_TRUE(LanguageList().empty());
}

TEST(LanguageList, NoLanguageStopsTheProgram) {
  test::TempFolder empty;
  test::BoxWatcher watcher(IDOK);
  EXPECT_FALSE(EnumerateLanguages(empty.Path()));
  const auto box = watcher.Result();
  ASSERT_TRUE(box.found);
  EXPECT_EQ(box.caption, L"Error");
  EXPECT_EQ(box.text, L"Cannot load language data!\r\n\r\nCheck folder 'Lang'.");
  EXPECT_TRUE(ui::Terminated());
  EXPECT_TRUE(LanguageList().empty());
  MSG quit;
  PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);  // leave later tests a clean queue
}

}  // namespace
}  // namespace snibbet
