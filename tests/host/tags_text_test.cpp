// The text-only tags: random choice, file, key lists and the clipboard and
// selection inserts.
#include <gtest/gtest.h>

#include "templates/tag_file.h"
#include "templates/tag_keys.h"
#include "templates/tag_some_of.h"
#include "templates/template_tags.h"
#include "tests/host/tags_fake_target.h"

namespace snibbet {
namespace {

using testing::FakeTagTarget;
using Codes = std::vector<std::uint8_t>;

std::wstring ExpandSomeOf(std::wstring text, FakeTagTarget& random) {
  while (ExpandSomeOfTag(text, random)) {
  }
  return text;
}

TEST(TagSomeOf, ChoosesOneItemByTheRandomSource) {
  FakeTagTarget env;
  env.picks = {1};
  EXPECT_EQ(ExpandSomeOf(L"<SOMEOF><QV>yes</QV><QV>no</QV></SOMEOF>!", env), L"no!");
  EXPECT_EQ(env.LogOf(L"random"), std::vector<std::wstring>{L"random 1/2"});
  env.picks = {0};
  env.nextPick = 0;
  EXPECT_EQ(ExpandSomeOf(L"a<someof> <qv>x</Qv> <QV>y</QV> </SomeOf>b", env), L"axb");
}

TEST(TagSomeOf, WithoutItemsOrClosingTag) {
  FakeTagTarget env;
  EXPECT_EQ(ExpandSomeOf(L"<SOMEOF>plain</SOMEOF>.", env), L"plain.");
  EXPECT_EQ(ExpandSomeOf(L"<SOMEOF><QV>open</SOMEOF>", env), L"<QV>open");  // no complete item
  EXPECT_TRUE(env.LogOf(L"random").empty());
  env.picks = {1};
  // Without a closing tag the items run to the end of the text.
  EXPECT_EQ(ExpandSomeOf(L"a <SOMEOF><QV>x</QV><QV>y</QV> tail", env), L"a y");
}

TEST(TagSomeOf, NestedTagsExpandAfterTheOuterChoice) {
  FakeTagTarget env;
  env.picks = {0, 1};
  EXPECT_EQ(ExpandSomeOf(L"<SOMEOF><QV>A<SOMEOF><QV>1</QV><QV>2</QV></SOMEOF></QV><QV>B</QV></SOMEOF>", env),
            L"A2");
  EXPECT_EQ(env.LogOf(L"random"), (std::vector<std::wstring>{L"random 0/2", L"random 1/2"}));
  // A nested item belongs to the outer one.
  env.picks = {0};
  env.nextPick = 0;
  EXPECT_EQ(ChooseOneOf(L"<QV>a<QV>b</QV>c</QV><QV>d</QV>", env), L"a<QV>b</QV>c");
}

TEST(TagSomeOf, ASourceOutOfRangeTakesTheFirstItem) {
  FakeTagTarget env;
  env.picks = {7};
  EXPECT_EQ(ChooseOneOf(L"<QV>x</QV><QV>y</QV>", env), L"x");
  env.picks = {-1};
  env.nextPick = 0;
  EXPECT_EQ(ChooseOneOf(L"<QV>x</QV><QV>y</QV>", env), L"x");
}

TEST(TagFile, LinesEachEndInCrLf) {
  EXPECT_EQ(TextAsLines(L"one\ntwo"), L"one\r\ntwo\r\n");
  EXPECT_EQ(TextAsLines(L"a\r\n\r\nb\rc\n"), L"a\r\n\r\nb\r\nc\r\n");
  EXPECT_EQ(TextAsLines(L"\n\n"), L"\r\n\r\n");
  EXPECT_EQ(TextAsLines(L""), L"");
}

TEST(TagFile, ExpandsAndStopsAtAMissingFile) {
  FakeTagTarget env;
  env.files[L"a.txt"] = L"A";
  FileExpansionBudget budget;
  std::wstring text = L"[<file  a.txt >]";
  ASSERT_TRUE(ExpandFileTag(text, env, budget));
  EXPECT_EQ(text, L"[A\r\n]");

  std::wstring missing = L"<FILE none.txt> <FILE a.txt> <FILE a.txt";
  EXPECT_FALSE(ExpandFileTag(missing, env, budget));
  EXPECT_EQ(missing, L"<FILE none.txt> <FILE a.txt> <FILE a.txt");
}

TEST(TagFile, AFileThatIncludesItselfStopsAtTheBound) {
  FakeTagTarget env;
  env.files[L"self.txt"] = L"x<FILE self.txt>";
  const std::wstring text = ExpandTextTags(L"<FILE self.txt>", env);
  EXPECT_EQ(env.fileReads, kMaxFileExpansions);
  EXPECT_EQ(text, std::wstring(32, L'x') + L"<FILE self.txt>" + [] {
    std::wstring breaks;
    for (int i = 0; i < 32; ++i) breaks += L"\r\n";
    return breaks;
  }());

  FakeTagTarget loop;  // through another file
  loop.files[L"a"] = L"<FILE b>";
  loop.files[L"b"] = L"<FILE a>";
  EXPECT_EQ(ExpandTextTags(L"<FILE a>", loop).find(L"<FILE "), 0u);
  EXPECT_EQ(loop.fileReads, kMaxFileExpansions);
}

TEST(TagFile, TheTextNeverGrowsBeyondOneMegabyte) {
  FakeTagTarget env;
  env.files[L"big"] = std::wstring(700 * 1024, L'b');
  const std::wstring text = ExpandTextTags(L"<FILE big>|<FILE big>", env);
  EXPECT_LE(text.size(), kMaxExpandedChars);
  EXPECT_TRUE(text.ends_with(L"\r\n|<FILE big>"));

  env.files[L"huge"] = std::wstring(kMaxExpandedChars, L'h');  // its line break would pass the bound
  EXPECT_EQ(ExpandTextTags(L"<FILE huge>", env), L"<FILE huge>");
}

std::wstring WidenAsLatin1(std::string_view bytes) {
  std::wstring wide;
  for (const char c : bytes) wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
  return wide;
}

TEST(TagFile, DecodesByteOrderMarksElseSingleByteText) {
  EXPECT_EQ(DecodeTagFileBytes("\xEF\xBB\xBF\xC3\xA9t\xC3\xA9", WidenAsLatin1), L"\u00E9t\u00E9");
  EXPECT_EQ(DecodeTagFileBytes(std::string_view("\xFF\xFE" "a\0\xAC\x20", 6), WidenAsLatin1), L"a\u20AC");
  EXPECT_EQ(DecodeTagFileBytes("caf\xE9", WidenAsLatin1), L"caf\u00E9");
  const std::wstring pair = DecodeUtf16Le(std::string_view("\x3D\xD8\x00\xDE", 4));  // U+1F600
  EXPECT_EQ(pair, sizeof(wchar_t) == 2 ? std::wstring(L"\xD83D\xDE00") : std::wstring(1, wchar_t(0x1F600)));
  EXPECT_EQ(DecodeUtf16Le(std::string_view("a\0b", 3)), L"a");  // an odd last byte is dropped
}

TEST(TagKeys, NamesAndNumbers) {
  EXPECT_EQ(ParseKeyList(L"Ctrl+A"), (Codes{17, 65}));
  EXPECT_EQ(ParseKeyList(L" ctrl +  a "), (Codes{17, 65}));
  EXPECT_EQ(ParseKeyList(L"CTRL+ALT+DEL"), (Codes{17, 18, 46}));
  EXPECT_EQ(ParseKeyList(L"Shift+Win+Enter+Back+Tab"), (Codes{16, 91, 13, 8, 9}));
  EXPECT_EQ(ParseKeyList(L"nm 5"), (Codes{101}));
  EXPECT_EQ(ParseKeyList(L"$20"), (Codes{32}));
  EXPECT_EQ(ParseKeyList(L"$1fF+$0000000041"), (Codes{255, 65}));  // low 8 bits; leading zeros
}

TEST(TagKeys, SkipsWhatNamesNoKey) {
  EXPECT_EQ(ParseKeyList(L"Shift+Nosuch+Tab"), (Codes{16, 9}));
  EXPECT_EQ(ParseKeyList(L"$100+$+$xy+$123456789+$-1"), Codes{});
  EXPECT_EQ(ParseKeyList(L"Ctrl+\u00C4+\u0130"), (Codes{17}));  // non-ASCII never matches
  EXPECT_EQ(ParseKeyList(L""), Codes{});
  EXPECT_EQ(ParseKeyList(L"++"), Codes{});
}

TEST(TagInserts, ReplacedInOnePassWithoutRegardToCase) {
  const TagInserts inserts{L"clip<SELECTION>", L"sel<CLIPBOARD>"};
  EXPECT_EQ(InsertClipboardAndSelection(L"<Clipboard>/<selection>/<CLIPBOARD", inserts),
            L"clip<SELECTION>/sel<CLIPBOARD>/<CLIPBOARD");
}

}  // namespace
}  // namespace snibbet
