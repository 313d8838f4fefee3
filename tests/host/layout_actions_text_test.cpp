// The text conversions of the layout actions: case changes, text retyped
// under another layout, and the layout a binding's text names.
#include <gtest/gtest.h>

#include "keyboard/action_layout.h"
#include "keyboard/layout_remap.h"
#include "keyboard/text_case.h"
#include "layout_actions_fakes.h"

namespace snibbet {
namespace {

using testing::FakeLayoutChars;
using testing::FakeLayouts;
using testing::kSwapped;
using testing::kUs;

std::wstring Case(std::wstring_view text, int mode) {
  return ConvertTextCase(text, mode, testing::Latin1CaseMapping());
}

TEST(TextCase, UpperLowerAndSwapCoverEveryLetter) {
  EXPECT_EQ(Case(L"Grüße, Ärger 42!", kCaseUpper), L"GRÜßE, ÄRGER 42!");
  EXPECT_EQ(Case(L"Grüße, ÄRGER 42!", kCaseLower), L"grüße, ärger 42!");
  EXPECT_EQ(Case(L"aB", kCaseSwap), L"Ab");
  EXPECT_EQ(Case(L"Hello Ärger 1.", kCaseSwap), L"hELLO äRGER 1.");
  EXPECT_EQ(Case(L"", kCaseUpper), L"");
}

TEST(TextCase, SentenceCaseStartsAfterStopsAndAtTheBeginning) {
  EXPECT_EQ(Case(L"hello. world", kCaseSentence), L"Hello. World");
  EXPECT_EQ(Case(L"  WHAT? NO! fine THEN", kCaseSentence), L"  What? No! Fine then");
  // A sentence may continue on the next line; the line break is a blank.
  EXPECT_EQ(Case(L"one.\r\ntwo\nthree", kCaseSentence), L"One.\r\nTwo\nthree");
  // The first non-blank takes the capital even when it is no letter.
  EXPECT_EQ(Case(L"1. item ONE", kCaseSentence), L"1. Item one");
  EXPECT_EQ(Case(L"...wait", kCaseSentence), L"...Wait");
}

TEST(TextCase, CapitalisedWordsStartAfterEveryBlank) {
  EXPECT_EQ(Case(L"one two", kCaseWords), L"One Two");
  EXPECT_EQ(Case(L"ONE  tWO\tthree\nfour\u00A0five", kCaseWords), L"One  Two\tThree\nFour\u00A0Five");
  EXPECT_EQ(Case(L"well-known FACT. yes", kCaseWords), L"Well-known Fact. Yes");
}

TEST(TextCase, OtherModesLeaveTheTextAlone) {
  for (int mode : {0, 1, 2, 3, 9, 255}) EXPECT_EQ(Case(L"MiXeD. text", mode), L"MiXeD. text") << mode;
}

class LayoutRemap : public ::testing::Test {
 protected:
  // The keys of the built-in layout; the Q and A, W and Z places swapped.
  LayoutRemap() {
    for (int code = 1; code < 256; ++code) keyMap[static_cast<std::size_t>(code)] = static_cast<std::uint8_t>(code);
    std::swap(keyMap['Q'], keyMap['A']);
    std::swap(keyMap['W'], keyMap['Z']);
  }
  std::wstring Remap(std::wstring_view text, LayoutHandle from = kUs, LayoutHandle to = kSwapped) {
    return RemapLayoutChars(text, keyMap, from, to, chars);
  }

  FakeLayouts layouts;
  FakeLayoutChars chars{layouts};
  KeyCodeMap keyMap{};
};

TEST_F(LayoutRemap, EachCharacterIsWhatItsKeyTypesInTheOtherLayout) {
  // Shift is kept: "Q" is Shift and the Q place, which types "A" there.
  EXPECT_EQ(Remap(L"qwe QWE"), L"aze AZE");
  // The digit row types symbols unshifted in the other layout, digits shifted.
  EXPECT_EQ(Remap(L"12!@"), L"&\u00E912");
  // Back again.
  EXPECT_EQ(Remap(L"&\u00E912 aze", kSwapped, kUs), L"12!@ qwe");
}

TEST_F(LayoutRemap, AltGrCharactersKeepCtrlAndAlt) {
  // The euro sign is AltGr+E in the other layout; US English has no key for it.
  EXPECT_EQ(Remap(L"\u20AC", kSwapped, kUs), L"\u20AC");  // Ctrl+Alt+E types nothing in US
  EXPECT_EQ(Remap(L"\u20AC", kSwapped, kSwapped), L"\u20AC");
}

TEST_F(LayoutRemap, CharactersWithoutAKeyOrWithoutAnAnswerSurvive) {
  // No key of the old layout types these.
  EXPECT_EQ(Remap(L"\u4E2D{}"), L"\u4E2D{}");
  // The key of "`" types nothing in the other layout: the character stays.
  EXPECT_EQ(Remap(L"a`b"), L"q`b");
  // A dead key gives its own accent rather than swallowing the character.
  EXPECT_EQ(Remap(L"]x"), L"^x");
}

TEST(LayoutOfBindingText, DecimalAndHexHandlesSignExtendedLikeTheSystems) {
  EXPECT_EQ(LayoutOfBindingText(L"67699721"), LayoutHandle{0x04090409});
  EXPECT_EQ(LayoutOfBindingText(L"$04090409"), LayoutHandle{0x04090409});
  EXPECT_EQ(LayoutOfBindingText(L"0x040C040c"), LayoutHandle{0x040C040C});
  EXPECT_EQ(LayoutOfBindingText(L"1"), kNextLayout);
  const auto wide = static_cast<LayoutHandle>(static_cast<std::intptr_t>(static_cast<std::int32_t>(0xF0020409u)));
  EXPECT_EQ(LayoutOfBindingText(L"$F0020409"), wide);
  EXPECT_EQ(LayoutOfBindingText(L"-268303351"), wide);
}

TEST(LayoutOfBindingText, AnythingButANumberIsNoLayout) {
  for (const wchar_t* text : {L"", L"0", L"abc", L"12a", L"$", L"0x", L"$G1", L"4294967296", L"-", L" 12",
                              L"99999999999999999999"}) {
    EXPECT_EQ(LayoutOfBindingText(text), LayoutHandle{0}) << ::testing::PrintToString(std::wstring(text));
  }
}

}  // namespace
}  // namespace snibbet
