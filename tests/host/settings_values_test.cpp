#include <gtest/gtest.h>

#include "core/shortcut.h"
#include "core/web_address.h"

namespace snibbet {
namespace {

TEST(SettingsShortCut, RoundTripsKeyAndModifiers) {
  EXPECT_EQ(MakeShortCut(32, 128), 32800);
  ShortCutKeys keys = SplitShortCut(32800);
  EXPECT_EQ(keys.key, 32);
  EXPECT_EQ(keys.controlSet, 128);
  for (int value : {0, 93, 0x802D, 0xFFFF, 0x0100}) {
    ShortCutKeys parts = SplitShortCut(value);
    EXPECT_EQ(MakeShortCut(parts.key, parts.controlSet), value) << value;
  }
}

TEST(SettingsWebAddress, GermanAndRussianMirrors) {
  const std::wstring page = L"http://www.example.com/a?b=http://www.example.com/c";
  EXPECT_EQ(LocalizeWebAddress(page, 7), L"http://de.example.com/a?b=http://de.example.com/c");
  EXPECT_EQ(LocalizeWebAddress(page, 1031), L"http://de.example.com/a?b=http://de.example.com/c");
  EXPECT_EQ(LocalizeWebAddress(page, 25), L"http://ru.example.com/a?b=http://ru.example.com/c");
  EXPECT_EQ(LocalizeWebAddress(page, 1049), L"http://ru.example.com/a?b=http://ru.example.com/c");
}

TEST(SettingsWebAddress, OtherLanguagesAndAddressesUnchanged) {
  EXPECT_EQ(LocalizeWebAddress(L"http://www.example.com", 9), L"http://www.example.com");
  EXPECT_EQ(LocalizeWebAddress(L"http://www.example.com", 12), L"http://www.example.com");
  EXPECT_EQ(LocalizeWebAddress(L"https://www.example.com", 7), L"https://www.example.com");
  EXPECT_EQ(LocalizeWebAddress(L"HTTP://WWW.example.com", 7), L"HTTP://WWW.example.com");
  EXPECT_EQ(LocalizeWebAddress(L"", 25), L"");
}

}  // namespace
}  // namespace snibbet
