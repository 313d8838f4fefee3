#include "core/utf8.h"

#include <gtest/gtest.h>

namespace snibbet {
namespace {

const std::wstring kBad = L"\uFFFD";

TEST(Utf8, DecodesEveryLength) {
  EXPECT_EQ(Utf8ToWide("A\xC3\xA9\xE2\x82\xAC"), L"A\u00E9\u20AC");
  const std::wstring smile = Utf8ToWide("\xF0\x9F\x98\x80");
  EXPECT_EQ(smile, L"\U0001F600");  // a surrogate pair where wchar_t is 16-bit
  EXPECT_EQ(smile.size(), sizeof(wchar_t) == 2 ? 2u : 1u);
  EXPECT_EQ(Utf8ToWide(std::string_view("a\0b", 3)), std::wstring(L"a\0b", 3));
  EXPECT_EQ(Utf8ToWide("\xF4\x8F\xBF\xBF"), L"\U0010FFFF");
}

TEST(Utf8, MalformedInputIsReplacedNotFatal) {
  EXPECT_EQ(Utf8ToWide("\x80x"), kBad + L"x");                // stray continuation byte
  EXPECT_EQ(Utf8ToWide("\xC0\x80"), kBad + kBad);             // overlong NUL
  EXPECT_EQ(Utf8ToWide("\xE0\x80\x80"), kBad + kBad + kBad);  // overlong, lead allows A0..BF only
  EXPECT_EQ(Utf8ToWide("\xED\xA0\x80"), kBad + kBad + kBad);  // encoded surrogate
  EXPECT_EQ(Utf8ToWide("\xF4\x90\x80\x80"), kBad + kBad + kBad + kBad);  // above U+10FFFF
  EXPECT_EQ(Utf8ToWide("\xF5\xFF"), kBad + kBad);
  EXPECT_EQ(Utf8ToWide("\xE2\x82"), kBad);       // truncated at the end
  EXPECT_EQ(Utf8ToWide("\xE2\x82" "A"), kBad + L"A");  // truncated in the middle
  EXPECT_EQ(Utf8ToWide("\xF0\x9F\x98"), kBad);
}

TEST(Utf8, EncodeRoundTripsAndReplacesLoneSurrogates) {
  const std::string text = "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";
  EXPECT_EQ(WideToUtf8(Utf8ToWide(text)), text);
  std::wstring lone;
  lone.push_back(static_cast<wchar_t>(0xD800));
  lone.push_back(L'x');
  EXPECT_EQ(WideToUtf8(lone), "\xEF\xBF\xBDx");
  EXPECT_EQ(WideToUtf8(L""), "");
}

}  // namespace
}  // namespace snibbet
