#include "core/debug_log.h"

#include <gtest/gtest.h>

#include "core/file_bytes.h"
#include "core/paths.h"
#include "core/program_folder.h"
#include "core/utf8.h"
#include "tests/unit/qvlib_test_support.h"

namespace snibbet {
namespace {

std::string FileText(const std::wstring& path) { return ReadFileBytes(path).value_or("<missing>"); }

TEST(DebugLogger, EveryLineRewritesTheWholeFile) {
  test::TempFolder folder;
  DebugLogger log(folder.File(L"Log.txt"));
  log.Log(L"Initialize");
  const std::string afterOne = FileText(log.FilePath());
  log.Log(L"F\u00F6rm");
  ASSERT_EQ(log.Lines().size(), 2u);
  const std::wstring stamp = L" : " + CurrentDateTimeText();
  EXPECT_EQ(log.Lines()[0].substr(0, 13), L"Initialize : ");
  EXPECT_EQ(log.Lines()[1].substr(0, 7), L"F\u00F6rm : ");
  EXPECT_GE(stamp.size(), 8u);  // a date and a time
  const std::string expected =
      std::string(kUtf8Bom) + WideToUtf8(log.Lines()[0]) + "\r\n" + WideToUtf8(log.Lines()[1]) + "\r\n";
  EXPECT_EQ(FileText(log.FilePath()), expected);
  EXPECT_EQ(afterOne, std::string(kUtf8Bom) + WideToUtf8(log.Lines()[0]) + "\r\n");
}

TEST(DebugLogger, UnwritableFileIsIgnored) {
  test::TempFolder folder;
  DebugLogger log(folder.File(L"missing\\folder\\Log.txt"));
  EXPECT_NO_THROW(log.Log(L"one"));
  EXPECT_NO_THROW(log.Log(L"two"));
  EXPECT_EQ(log.Lines().size(), 2u);
}

TEST(DebugLog, WritesToTheProgramFolderOnlyWhenSwitchedOn) {
  const std::wstring file = JoinPath(ProgramFolder(), L"Log.txt");
  DeleteFileW(file.c_str());
  SetDebug(false);
  DebugLog(L"quiet");
  EXPECT_EQ(GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);
  SetDebug(true);
  DebugLog(L"Run");
  const std::string text = FileText(file);
  EXPECT_EQ(text.substr(0, 9), std::string(kUtf8Bom) + "Run : ");
  SetDebug(false);
  FinalizeDebugLog();
  DeleteFileW(file.c_str());
}

}  // namespace
}  // namespace snibbet
