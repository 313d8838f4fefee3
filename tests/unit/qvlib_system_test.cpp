#include <gtest/gtest.h>

#include <system_error>

#include "core/elevated_launch.h"
#include "core/utilities.h"
#include "core/clipboard_access.h"
#include "core/version_info.h"
#include "core/debug_log.h"
#include "tests/unit/qvlib_test_support.h"

namespace snibbet {
namespace {

// This test program carries a version resource (qvlib_version_test.rc).
TEST(VersionInfo, ReadsTheUsEnglishBlockOfTheVersionResource) {
  EXPECT_EQ(GetProductVersion(), L"3.1.4");
  EXPECT_EQ(GetVersionInfoString(ProgramFileName(), L"FileVersion"), L"3.1.4.159");
  EXPECT_EQ(GetVersionInfoString(ProgramFileName(), L"NoSuchKey"), L"");
  EXPECT_EQ(GetVersionInfoString(L"C:\\no\\such\\file.exe", L"FileVersion"), L"");
}

TEST(VersionInfo, SystemFlags) {
  EXPECT_TRUE(IsVistaOrLater());
}

TEST(RunElevated, RefusalOrFailureIsThrownWithTheSystemError) {
  test::TempFolder folder;
  try {
    RunElevated(nullptr, folder.File(L"missing.exe"), L"");
    FAIL() << "no error raised";
  } catch (const std::system_error& e) {
    EXPECT_EQ(e.code().value(), ERROR_FILE_NOT_FOUND);
  }
}

TEST(RunElevated, PassesTheParameters) {
  test::TempFolder folder;
  const std::wstring marker = folder.File(L"started.txt");
  RunElevated(nullptr, L"cmd.exe", L"/c echo x > \"" + marker + L"\"");
  for (int i = 0; i < 200 && GetFileAttributesW(marker.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(25);
  EXPECT_NE(GetFileAttributesW(marker.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(Utilities, InitialisationRegistersFormatsAndCursors) {
  InitializeUtilities();
  EXPECT_EQ(RtfClipboardFormat(), RegisterClipboardFormatW(L"Rich Text Format"));
  EXPECT_EQ(HtmlClipboardFormat(), RegisterClipboardFormatW(L"HTML Format"));
  EXPECT_GE(RtfClipboardFormat(), 0xC000u);
  EXPECT_NE(RtfClipboardFormat(), HtmlClipboardFormat());
  EXPECT_NE(MagnifyCursor(), nullptr);
  EXPECT_EQ(HandCursor(), LoadCursorW(nullptr, IDC_HAND));
  EXPECT_FALSE(Debug());  // the test runs without the switch
  FinalizeUtilities();
}

}  // namespace
}  // namespace snibbet
