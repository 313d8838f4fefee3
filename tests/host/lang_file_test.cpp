#include "core/lang_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace snibbet {
namespace {

using ::testing::ElementsAre;

MATCHER_P2(Entry, id, text, "") { return arg.Id == id && arg.Text == text; }

constexpr const char* kBom = "\xEF\xBB\xBF";

TEST(LanguageFile, EntriesCommentsAndBlankLines) {
  const std::string file = std::string(kBom) +
                           "; comment\r\n"
                           "000009=Fehler\r\n"
                           "\r\n"
                           "   \t\r\n"
                           "000010=Warnung\r\n"
                           "100000=Deutsch\r\n";
  EXPECT_THAT(ParseLanguageFile(file),
              ElementsAre(Entry(9, L"Fehler"), Entry(10, L"Warnung"), Entry(100000, L"Deutsch")));
}

TEST(LanguageFile, DoubleHashIsLineBreak) {
  EXPECT_THAT(ParseLanguageFile("000015=one##two\r\n000016=###x\n"),
              ElementsAre(Entry(15, L"one\r\ntwo"), Entry(16, L"\r\n#x")));
}

TEST(LanguageFile, ContinuationLinesJoinAsTheyStand) {
  // No separator is added; trailing blanks of a line are part of the text.
  EXPECT_THAT(ParseLanguageFile("000035=first part \r\nsecond\r\n  third\r\n000036=x"),
              ElementsAre(Entry(35, L"first part second  third"), Entry(36, L"x")));
}

TEST(LanguageFile, ByteOrderMarkOnlyDroppedWhenPresent) {
  // Without a mark the first line is an ordinary line and keeps all its characters.
  EXPECT_THAT(ParseLanguageFile("000009=Fehler\r\n"), ElementsAre(Entry(9, L"Fehler")));
  EXPECT_THAT(ParseLanguageFile(std::string(kBom) + "000009=Fehler"), ElementsAre(Entry(9, L"Fehler")));
  // A mark that is not at the very start is text.
  EXPECT_THAT(ParseLanguageFile(std::string("000009=") + kBom + "x"), ElementsAre(Entry(9, L"\uFEFFx")));
}

TEST(LanguageFile, ShortJunkBeforeAnEntryDoesNotSwallowIt) {
  EXPECT_THAT(ParseLanguageFile("abc\r\n000009=Fehler\r\n"), ElementsAre(Entry(9, L"Fehler")));
  EXPECT_THAT(ParseLanguageFile("000008=x\r\nzz\r\n000009=y\r\n"),
              ElementsAre(Entry(8, L"xzz"), Entry(9, L"y")));
}

TEST(LanguageFile, BadIdsAreSkippedWithTheirContinuations) {
  EXPECT_THAT(ParseLanguageFile("this is not an entry\r\n00x009=bad\r\nmore\r\n000010=ok\r\n-00001=neg\r\n"),
              ElementsAre(Entry(10, L"ok")));
  // Leading blanks in the id field are accepted, as are ids 0 and 999999.
  EXPECT_THAT(ParseLanguageFile("    42=a\n000000=b\n999999=c\n"),
              ElementsAre(Entry(42, L"a"), Entry(0, L"b"), Entry(999999, L"c")));
}

TEST(LanguageFile, AnyLineBreakStyle) {
  EXPECT_THAT(ParseLanguageFile("000001=a\n000002=b\r000003=c\r\n\r\n000004=d"),
              ElementsAre(Entry(1, L"a"), Entry(2, L"b"), Entry(3, L"c"), Entry(4, L"d")));
}

TEST(LanguageFile, EmptyTextAndDuplicatesKeptInOrder) {
  EXPECT_THAT(ParseLanguageFile("000009=\r\n000009=second\r\n"),
              ElementsAre(Entry(9, L""), Entry(9, L"second")));
}

TEST(LanguageFile, TextIsDecodedFromUtf8AndBadBytesReplaced) {
  EXPECT_THAT(ParseLanguageFile("000009=Gr\xC3\xBC\xC3\x9F" "e\r\n000010=a\xFF" "b\xE2\x82\r\n"),
              ElementsAre(Entry(9, L"Gr\u00FC\u00DFe"), Entry(10, L"a\uFFFDb\uFFFD")));
}

TEST(LanguageFile, EmptyOrShortInput) {
  EXPECT_TRUE(ParseLanguageFile("").empty());
  EXPECT_TRUE(ParseLanguageFile(kBom).empty());
  EXPECT_TRUE(ParseLanguageFile("\xEF\xBB").empty());
  EXPECT_TRUE(ParseLanguageFile("000009").empty());
  EXPECT_THAT(ParseLanguageFile("000009="), ElementsAre(Entry(9, L"")));
}

TEST(LanguageHeader, KeysOnTheFirstLineAfterAMarkAreFound) {
  const auto header = ReadLanguageHeader(std::string(kBom) + "100000=Deutsch\r\n100001=7\r\n000009=Fehler\r\n");
  EXPECT_EQ(header.DisplayName, L"Deutsch");
  EXPECT_EQ(header.LangId, 7);
}

TEST(LanguageHeader, NameIsDecodedAndNumberMayCarryBlanks) {
  const auto header = ReadLanguageHeader("; x\n100001= 25 \n100000=\xD0\xA0\xD1\x83\xD1\x81\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9\n");
  EXPECT_EQ(header.DisplayName, L"\u0420\u0443\u0441\u0441\u043A\u0438\u0439");
  EXPECT_EQ(header.LangId, 25);
}

TEST(LanguageHeader, MissingOrBadValues) {
  EXPECT_EQ(ReadLanguageHeader("100000=English\n").LangId, 0);
  EXPECT_EQ(ReadLanguageHeader("100001=nine\n").LangId, 0);
  EXPECT_EQ(ReadLanguageHeader("100001=9x\n").LangId, 0);
  EXPECT_EQ(ReadLanguageHeader("100001=9\n").DisplayName, L"");
  // The first occurrence counts.
  EXPECT_EQ(ReadLanguageHeader("100000=A\n100000=B\n100001=1\n").DisplayName, L"A");
}

}  // namespace
}  // namespace snibbet
