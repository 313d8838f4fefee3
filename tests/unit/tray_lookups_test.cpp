// The tray's window-free look-ups: flags of keyboard layouts, the help file
// and the mail link to support.
#include <gtest/gtest.h>

#include "core/tray_lookups.h"

namespace snibbet {
namespace {

TEST(TrayFlags, LayoutsGiveTheirFlags) {
  EXPECT_EQ(LayoutToFlagIndex(0x04090409), 1) << "US English, as a full layout handle";
  EXPECT_EQ(LayoutToFlagIndex(0x0809), 2) << "British English goes by its primary language";
  EXPECT_EQ(LayoutToFlagIndex(0x0416), 26) << "Brazilian Portuguese";
  EXPECT_EQ(LayoutToFlagIndex(0x0816), 27) << "Portuguese (Portugal)";
  EXPECT_EQ(LayoutToFlagIndex(0x0419), 29) << "Russian";
  EXPECT_EQ(LayoutToFlagIndex(0x041A), 40) << "the last entry of the table";
  EXPECT_EQ(LayoutToFlagIndex(0x0436), 0) << "a language without a flag";
  EXPECT_EQ(LayoutToFlagIndex(0), 0);
}

TEST(TrayHelpFile, RussianOnlyWhenItsFileExists) {
  const std::wstring folder = L"C:\\P\\";
  auto exists = [](const std::wstring&) { return true; };
  auto missing = [](const std::wstring&) { return false; };
  EXPECT_EQ(SelectHelpFileName(folder, 25, exists), L"C:\\P\\SnibbetRu.chm");
  EXPECT_EQ(SelectHelpFileName(folder, 25, missing), L"C:\\P\\Snibbet.chm");
  EXPECT_EQ(SelectHelpFileName(folder, 9, exists), L"C:\\P\\Snibbet.chm") << "other languages never take it";
}

TEST(TrayMailLink, SubjectIsPercentEncoded) {
  EXPECT_EQ(SupportMailLink(L"1.2.0.7"), L"mailto:support@orvanesoftware.com?subject=Orvane%20Paste%201.2.0.7");
  // Characters that would end or split the query are encoded, and so is
  // text beyond ASCII (as UTF-8).
  EXPECT_EQ(PercentEncode(L"a&b=c?d#e+f"), L"a%26b%3Dc%3Fd%23e%2Bf");
  EXPECT_EQ(PercentEncode(L"\u00e9"), L"%C3%A9");
  EXPECT_EQ(PercentEncode(L"AZaz09-._~"), L"AZaz09-._~");
}

}  // namespace
}  // namespace snibbet
