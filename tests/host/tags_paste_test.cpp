// Expanding and pasting into a fake text field: what ends up in the field,
// where its caret stands, and which keys were typed.
#include <gtest/gtest.h>

#include "templates/template_tags.h"
#include "tests/host/tags_fake_target.h"

namespace snibbet {
namespace {

using testing::FakeTagTarget;
using Log = std::vector<std::wstring>;

class TagPaste : public ::testing::Test {
 protected:
  void Paste(std::wstring_view text) { TagExpander(target, target).ExpandAndPaste(text); }
  int Count(std::wstring_view entry) const {
    return static_cast<int>(std::count(target.log.begin(), target.log.end(), std::wstring(entry)));
  }
  FakeTagTarget target;
};

TEST_F(TagPaste, CaretEndsWhereTheMarkerStood) {
  target.Type(L"Re: ");
  Paste(L"Hello |, friend");
  EXPECT_EQ(target.Shown(), L"Re: Hello ^, friend");
  EXPECT_EQ(target.LogOf(L"clipboard"), Log{L"clipboard Hello , friend_"});
}

TEST_F(TagPaste, MarkerAtTheEndTypesNoWalk) {
  Paste(L"Hello|");
  EXPECT_EQ(target.Shown(), L"Hello^");
  EXPECT_EQ(Count(L"down 37e"), 1);  // only the probe's own step
}

TEST_F(TagPaste, ALineBreakIsOneStepOfTheWalk) {
  Paste(L"a|b\r\nc\r\n");
  EXPECT_EQ(target.Shown(), L"a^b\r\nc\r\n");
  EXPECT_EQ(Count(L"down 37e"), 1 + 4);
}

TEST_F(TagPaste, OnlyTheFirstBarIsTheMarker) {
  Paste(L"x|y|z");
  EXPECT_EQ(target.Shown(), L"x^y|z");
}

TEST_F(TagPaste, AMarkerReplacesTheSelectionFirst) {
  target.Type(L"abXYZcd");
  target.anchor = 2;
  target.caret = 5;
  Paste(L"1|2");
  EXPECT_EQ(target.Shown(), L"ab1^2cd");

  FakeTagTarget plain;
  TagExpander(plain, plain).ExpandAndPaste(L"no marker");
  EXPECT_TRUE(plain.LogOf(L"down 32").empty());
}

TEST_F(TagPaste, KeyTagAtTheStartPastesAnEmptyTextFirst) {
  target.Type(L"old text");
  Paste(L"<KEY Ctrl+A>new");
  EXPECT_EQ(target.Shown(), L"new^");
  const Log expected{L"clipboard ", L"paste ", L"down 17", L"down 65", L"up 17", L"up 65", L"clipboard new"};
  EXPECT_EQ(Log(target.log.begin(), target.log.begin() + 7), expected);
}

TEST_F(TagPaste, KeyTagsInAnyCaseAndNumbers) {
  Paste(L"a<key  shift + b >c<KEY $20>d<KEY Nosuch>e<KEY Back>");
  EXPECT_EQ(target.Shown(), L"aBc d^");
  EXPECT_EQ(target.LogOf(L"paste"), (Log{L"paste a", L"paste c", L"paste d", L"paste e", L"paste "}));
}

TEST_F(TagPaste, OnlyTheLastPieceHonoursTheMarker) {
  Paste(L"a|b<KEY Space>c|d");
  EXPECT_EQ(target.Shown(), L"a|b c^d");
}

TEST_F(TagPaste, AKeyTagWithoutItsEndIsText) {
  Paste(L"go <KEY Tab");
  EXPECT_EQ(target.Shown(), L"go <KEY Tab^");
  EXPECT_TRUE(target.LogOf(L"down 9").empty());
}

TEST_F(TagPaste, DateClipboardKeyAndRandomTagsTogether) {
  target.clipboard = L"CB";
  target.picks = {1};
  Paste(L"On <DATETIME dd.mm.yyyy> at <datetime hh:nn>: <CLIPBOARD><KEY Enter>"
        L"<SOMEOF><QV>yes</QV><QV>no</QV></SOMEOF> <KEY Shift+X>|end");
  EXPECT_EQ(target.Shown(), L"On 05.03.2024 at 14.07: CB\r\nno X^end");
  EXPECT_EQ(target.LogOf(L"random"), Log{L"random 1/2"});

  target.clipboard = L"CB";  // the paste put back the user's clipboard
  Paste(L"<SOMEOF><QV><DATETIME yyyy></QV></SOMEOF>-<CLIPBOARD>|!");
  EXPECT_EQ(target.Shown(), L"On 05.03.2024 at 14.07: CB\r\nno X2024-CB^!end");
}

TEST_F(TagPaste, TheSelectionIsCutAndPastedBack) {
  target.Type(L"hello world");
  target.anchor = 6;
  Paste(L"[<SELECTION>]");
  EXPECT_EQ(target.Shown(), L"hello [world]^");

  FakeTagTarget nothingSelected;
  nothingSelected.clipboard = L"user";
  TagExpander(nothingSelected, nothingSelected).ExpandAndPaste(L"x<selection>y");
  EXPECT_EQ(nothingSelected.Shown(), L"xy^");
}

TEST_F(TagPaste, ClipboardAndSelectionTextsAreNeverTags) {
  target.clipboard = L"a|b<KEY Tab>";
  Paste(L"Q: <CLIPBOARD>|!");
  EXPECT_EQ(target.Shown(), L"Q: a|b<KEY Tab>^!");
  EXPECT_TRUE(target.LogOf(L"down 9").empty());
}

TEST_F(TagPaste, AFileMayBringClipboardAndKeyTags) {
  target.clipboard = L"CB";
  target.files[L"f.txt"] = L"<CLIPBOARD><KEY Shift+Y>";
  Paste(L"<FILE f.txt>");
  EXPECT_EQ(target.Shown(), L"CBY\r\n^");
}

TEST_F(TagPaste, ProbeIsDeletedWithBackspaceUnderCtrlAndAlt) {
  target.onlyCtrlAndAlt = true;
  Paste(L"ab|c");
  EXPECT_EQ(target.Shown(), L"ab^c");
  EXPECT_TRUE(target.LogOf(L"down 46").empty());
}

TEST_F(TagPaste, ProbeFoundOneFurtherLeft) {
  target.addedAfterPaste = L" ";  // the target adds a blank behind each paste
  Paste(L"Hi |,");
  EXPECT_EQ(target.Shown(), L"Hi ^, ");
  EXPECT_EQ(Count(L"ctrl Z"), 0);
}

TEST_F(TagPaste, ACutThatTookSomethingElseIsUndone) {
  target.addedAfterPaste = L"xy";
  Paste(L"Hi |,");
  EXPECT_EQ(target.text, L"Hi ,_xy");
  EXPECT_EQ(Count(L"ctrl Z"), 1);
}

TEST_F(TagPaste, ACutThatDidNothingUndoesNothing) {
  target.refusesCopyAndCut = true;  // a password field
  target.Type(L"pw:");
  Paste(L"Hi |, there");
  EXPECT_EQ(target.text, L"pw:Hi , there_");  // the paste stays
  EXPECT_EQ(Count(L"ctrl Z"), 0);
}

TEST_F(TagPaste, TheWalkGivesUpAfterFiveSeconds) {
  target.msPerKey = 1;
  const std::wstring tail(6000, L't');
  target.Type(L"ab|");
  target.Type(tail);
  target.Type(L"_");
  TagExpander(target, target).PlaceCaretAtMarker(L"ab|" + tail, true);
  EXPECT_EQ(Count(L"beep"), 1);
  EXPECT_LT(Count(L"down 37e"), 3000);
  EXPECT_TRUE(target.LogOf(L"down 8").empty());  // the rich text's bar stays
}

TEST_F(TagPaste, RichTextKeepsTheBarUntilTheCaretIsThere) {
  target.Type(L"ab|cd_");
  TagExpander(target, target).PlaceCaretAtMarker(L"ab|cd", true);
  EXPECT_EQ(target.Shown(), L"ab^cd");

  FakeTagTarget noMarker;
  TagExpander(noMarker, noMarker).PlaceCaretAtMarker(L"abc", true);
  EXPECT_TRUE(noMarker.log.empty());
}

}  // namespace
TEST_F(TagPaste, AClipboardThatRefusesTheTextGetsNoPasteKeys) {
  target.Type(L"kept");
  target.clipboardRefuses = true;
  Paste(L"Hello |world");
  EXPECT_EQ(target.Shown(), L"kept^");
  EXPECT_TRUE(target.LogOf(L"paste").empty());
  EXPECT_EQ(Count(L"beep"), 1);
  EXPECT_EQ(Count(L"down 37e"), 0);  // no walk for a paste that never happened
}

}  // namespace snibbet
