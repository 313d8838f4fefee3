#include "core/text_utils.h"

#include <gtest/gtest.h>

namespace snibbet {
namespace {

TEST(FormatText, FillsPlaceholdersInOnePass) {
  EXPECT_EQ(FormatText(L"Cannot create folder %1.", {L"C:\\x"}), L"Cannot create folder C:\\x.");
  EXPECT_EQ(FormatText(L"%2 and %1, %1 again", {L"a", L"b"}), L"b and a, a again");
  // Inserted text is never scanned again.
  EXPECT_EQ(FormatText(L"%1-%2", {L"%2", L"x"}), L"%2-x");
  EXPECT_EQ(FormatText(L"%1", {L"%1"}), L"%1");
}

TEST(FormatText, TakesTheLongestIndexThatExists) {
  // One argument: "%10" is argument 1 followed by "0".
  EXPECT_EQ(FormatText(L"%10", {L"x"}), L"x0");
  // Ten or more arguments: "%10" is argument 10 and "%1" stays argument 1.
  const std::vector<std::wstring> ten = {L"a", L"b", L"c", L"d", L"e", L"f", L"g", L"h", L"i", L"j"};
  EXPECT_EQ(FormatText(L"%10|%1|%11", ten), L"j|a|a1");
}

TEST(FormatText, UnknownPlaceholdersStay) {
  EXPECT_EQ(FormatText(L"%0 %3 % %x 100%", {L"a", L"b"}), L"%0 %3 % %x 100%");
  EXPECT_EQ(FormatText(L"%1", {}), L"%1");
  EXPECT_EQ(FormatText(L"%01", {L"a"}), L"%01");
  EXPECT_EQ(FormatText(L"%99999999999999999999", {L"a"}), L"%99999999999999999999");
  EXPECT_EQ(FormatText(L"", {L"a"}), L"");
}

TEST(TextRoutines, PadRightToWidth) {
  EXPECT_EQ(PadRightToWidth(L"ab", 4), L"ab  ");
  EXPECT_EQ(PadRightToWidth(L"abcdef", 4), L"abcd");
  EXPECT_EQ(PadRightToWidth(L"ab", 0), L"");
  EXPECT_EQ(PadRightToWidth(L"ab", -3), L"");
  EXPECT_EQ(PadRightToWidth(std::string_view("x"), 3), "x  ");
}

TEST(TextRoutines, PosOfAnyCharFollowsTheOrderOfTheList) {
  // The underscore comes first in the list, so it wins although the hyphen is earlier.
  EXPECT_EQ(PosOfAnyChar(L"a-b_c", L"_-"), 3u);
  EXPECT_EQ(PosOfAnyChar(L"a-b_c", L"-_"), 1u);
  EXPECT_EQ(PosOfAnyChar(L"abc", L"_-"), std::wstring::npos);
  EXPECT_EQ(PosOfAnyChar(L"abc", L""), std::wstring::npos);
  EXPECT_EQ(PosOfAnyChar(std::string_view("a-b_c"), std::string_view("x_")), 3u);
}

TEST(TextRoutines, BeforeAndAfterAnyChar) {
  EXPECT_EQ(TextBeforeAnyChar(L"key=value", L":="), L"key");
  EXPECT_EQ(TextAfterAnyChar(L"key=value", L":="), L"value");
  EXPECT_EQ(TextBeforeAnyChar(L"plain", L":="), L"plain");
  EXPECT_EQ(TextAfterAnyChar(L"plain", L":="), L"plain");
  EXPECT_EQ(TextBeforeAnyChar(L"", L":"), L"");
  EXPECT_EQ(TextAfterAnyChar(L"", L":"), L"");
  EXPECT_EQ(TextAfterAnyChar(L"a:", L":"), L"");
}

TEST(TextRoutines, BeforeAndAfterSubtext) {
  EXPECT_EQ(TextBefore(L"one::two::three", L"::"), L"one");
  EXPECT_EQ(TextAfter(L"one::two::three", L"::"), L"two::three");
  // Absent: TextBefore gives the whole text, TextAfter gives nothing.
  EXPECT_EQ(TextBefore(L"abc", L"x"), L"abc");
  EXPECT_EQ(TextAfter(L"abc", L"x"), L"");
  EXPECT_EQ(TextBefore(L"", L"x"), L"");
  EXPECT_EQ(TextAfter(L"", L"x"), L"");
  EXPECT_EQ(TextBefore(L"abc", L""), L"abc");
  EXPECT_EQ(TextAfter(L"abc", L""), L"");
  EXPECT_EQ(TextAfter(std::string_view("a.b"), std::string_view(".")), "b");
}

}  // namespace
}  // namespace snibbet
