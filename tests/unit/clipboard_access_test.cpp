#include "core/clipboard_access.h"

#include <gtest/gtest.h>

#include "tests/unit/clipboard_test_support.h"

namespace snibbet {
namespace {

using namespace snibbet::testing;

TEST(ClipboardAccess, PutClipboardTextPutsBothTerminatedForms) {
  ASSERT_TRUE(PutClipboardText(L"Hello, world"));
  EXPECT_EQ(ClipboardBytes(CF_TEXT), TextBytes("Hello, world"));
  EXPECT_EQ(ClipboardBytes(CF_UNICODETEXT), WideBytes(L"Hello, world"));
  EXPECT_EQ(GetClipboardTextW(), L"Hello, world");

  ASSERT_TRUE(PutClipboardText(L""));
  EXPECT_EQ(ClipboardBytes(CF_TEXT), TextBytes(""));
  EXPECT_EQ(GetClipboardTextW(), L"");
}

TEST(ClipboardAccess, PutClipboardDataAddsOrReplaces) {
  const std::string rtf = "{\\rtf1 bold}";
  ASSERT_TRUE(PutClipboardText(L"bold"));
  ASSERT_TRUE(PutClipboardData(RtfClipboardFormat(), rtf.c_str(), rtf.size() + 1, false));
  EXPECT_EQ(ClipboardBytes(RtfClipboardFormat()), TextBytes(rtf));
  EXPECT_EQ(ClipboardBytes(CF_TEXT), TextBytes("bold"));
  EXPECT_EQ(ClipboardBytes(CF_UNICODETEXT), WideBytes(L"bold"));

  ASSERT_TRUE(PutClipboardData(RtfClipboardFormat(), rtf.c_str(), rtf.size() + 1, true));
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT));
  EXPECT_TRUE(IsClipboardFormatAvailable(RtfClipboardFormat()));
}

TEST(ClipboardAccess, TextIsReadFromEitherFormatAndNeverPastItsBlock) {
  SetClipboardDirectly({{CF_TEXT, TextBytes("only narrow")}});
  EXPECT_EQ(GetClipboardTextW(), L"only narrow");

  // Without a terminating zero the text ends with its block (the system may
  // also drop the last character); nothing from beyond the block shows up.
  SetClipboardDirectly({{CF_TEXT, {'a', 'b', 'c'}}});
  const std::wstring narrow = GetClipboardTextW();
  EXPECT_TRUE(narrow == L"abc" || narrow == L"ab") << narrow;
  SetClipboardDirectly({{CF_UNICODETEXT, {'x', 0, 'y', 0}}});
  const std::wstring wide = GetClipboardTextW();
  EXPECT_TRUE(wide == L"xy" || wide == L"x") << wide;

  SetClipboardDirectly({{RtfClipboardFormat(), TextBytes("{\\rtf1 x}")}});
  EXPECT_EQ(GetClipboardTextW(), L"");
}

TEST(ClipboardAccess, RegisteredFormatsAreTheSystemsNames) {
  RegisterClipboardFormats();
  EXPECT_EQ(RtfClipboardFormat(), RegisterClipboardFormatW(L"Rich Text Format"));
  EXPECT_EQ(HtmlClipboardFormat(), RegisterClipboardFormatW(L"HTML Format"));
  EXPECT_GE(RtfClipboardFormat(), 0xC000u);
}

TEST(ClipboardAccess, ClearClipboardEmptiesIt) {
  PutClipboardText(L"x");
  ASSERT_TRUE(ClearClipboard());
  EXPECT_TRUE(ClipboardFormats().empty());
}

}  // namespace
}  // namespace snibbet
