#include "templates/tag_date_format.h"

#include <gtest/gtest.h>

#include "tests/host/tags_fake_target.h"

namespace snibbet {
namespace {

using testing::SampleMoment;  // Tuesday 5 March 2024, 14:07:09.045; separators "-" and "."

std::wstring Format(std::wstring_view pattern, DateTimeContext c = SampleMoment()) {
  return FormatDateTime(pattern, c);
}

DateTimeContext At(int hour, int minute) {
  DateTimeContext c = SampleMoment();
  c.now.hour = hour;
  c.now.minute = minute;
  return c;
}

TEST(TagDateFormat, TheTagMenusFormats) {
  EXPECT_EQ(Format(L"dd.mm.yyyy"), L"05.03.2024");
  EXPECT_EQ(Format(L"d.m.yy"), L"5.3.24");
  EXPECT_EQ(Format(L"mm'/'dd'/'yyyy"), L"03/05/2024");  // quoted: not the locale's separator
  EXPECT_EQ(Format(L"m'/'d'/'yy"), L"3/5/24");
  EXPECT_EQ(Format(L"hh:mm"), L"14.07");
  EXPECT_EQ(Format(L"h:mm am/pm"), L"2.07 pm");
  EXPECT_EQ(Format(L"hh:mm:ss.zzz"), L"14.07.09.045");
  EXPECT_EQ(Format(L"c"), L"3-5-2024 2.07.09 PM");
}

TEST(TagDateFormat, SeparatorsNamesAndSystemFormats) {
  EXPECT_EQ(Format(L"dd/mm/yyyy"), L"05-03-2024");
  EXPECT_EQ(Format(L"ddd, dddd; mmm, mmmm"), L"Tue, Tuesday; Mar, March");
  EXPECT_EQ(Format(L"ddddd|dddddd|ddddddd"), L"3-5-2024|Tuesday, March 5, 2024|Tuesday, March 5, 2024");
  EXPECT_EQ(Format(L"t|tt"), L"2.07 PM|2.07.09 PM");
  EXPECT_EQ(Format(L""), L"Tuesday, March 5, 2024 2.07.09 PM");
  EXPECT_EQ(Format(L"DD.MM.YYYY HH:NN"), L"05.03.2024 14.07");  // letters in either case
  DateTimeContext sunday = SampleMoment();
  sunday.now.dayOfWeek = 0;
  sunday.now.month = 12;
  EXPECT_EQ(Format(L"dddd mmmm", sunday), L"Sunday December");
}

TEST(TagDateFormat, MinuteOnlyRightAfterAnHour) {
  EXPECT_EQ(Format(L"mm hh mm"), L"03 14 07");
  EXPECT_EQ(Format(L"h'h'm"), L"14h7");     // quoted text between: still right after
  EXPECT_EQ(Format(L"hh:mm:mm"), L"14.07.03");  // only the first m after the hour
  EXPECT_EQ(Format(L"h:n:s z"), L"14.7.9 45");
}

TEST(TagDateFormat, TwelveHourClockOnlyWithAFollowingMarker) {
  EXPECT_EQ(Format(L"hh:nn AM/PM"), L"02.07 PM");
  EXPECT_EQ(Format(L"h Am/Pm"), L"2 Pm");  // the marker as written
  EXPECT_EQ(Format(L"h a/p"), L"2 p");
  EXPECT_EQ(Format(L"h A/P"), L"2 P");
  EXPECT_EQ(Format(L"hh ampm"), L"02 PM");
  EXPECT_EQ(Format(L"h:nn am/pm", At(0, 5)), L"12.05 am");
  EXPECT_EQ(Format(L"h:nn am/pm", At(12, 0)), L"12.00 pm");
  EXPECT_EQ(Format(L"h:nn", At(0, 5)), L"0.05");
  EXPECT_EQ(Format(L"am/pm h"), L"pm 14");     // the marker comes first
  EXPECT_EQ(Format(L"h 'am/pm'"), L"14 am/pm");  // quoted: no marker
  EXPECT_EQ(Format(L"h h am/pm"), L"14 2 pm");   // only the last hour before it
}

TEST(TagDateFormat, OtherCharactersAndQuotes) {
  EXPECT_EQ(Format(L"\"yyyy\" 'mm'"), L"yyyy mm");
  EXPECT_EQ(Format(L"'open quote yyyy"), L"open quote yyyy");
  EXPECT_EQ(Format(L"Week x, era g!"), L"Week x, era g!");
  EXPECT_EQ(Format(L"a b"), L"a b");  // an "a" that starts no marker
  EXPECT_EQ(Format(L"y yyy yyyyy"), L"24 2024 2024");
}

TEST(TagDateTag, ReplacesTheTagAndNeverRescansItsOwnText) {
  std::wstring text = L"at <DATETIME  hh:mm > on <datetimeyyyy>.";
  std::size_t from = 0;
  ASSERT_TRUE(ExpandDateTimeTag(text, SampleMoment(), from));
  EXPECT_EQ(text, L"at 14.07 on <datetimeyyyy>.");
  ASSERT_TRUE(ExpandDateTimeTag(text, SampleMoment(), from));
  EXPECT_EQ(text, L"at 14.07 on 2024.");
  EXPECT_FALSE(ExpandDateTimeTag(text, SampleMoment(), from));

  std::wstring quoted = L"<DATETIME '<DATETIME yyyy'> x>";
  from = 0;
  while (ExpandDateTimeTag(quoted, SampleMoment(), from)) {
  }
  EXPECT_EQ(quoted, L"<DATETIME yyyy x>");
}

TEST(TagDateTag, EmptyFormatAndMissingEnd) {
  std::wstring text = L"<DATETIME>";
  std::size_t from = 0;
  ASSERT_TRUE(ExpandDateTimeTag(text, SampleMoment(), from));
  EXPECT_EQ(text, L"Tuesday, March 5, 2024 2.07.09 PM");

  std::wstring open = L"x <DATETIME hh";
  from = 0;
  EXPECT_FALSE(ExpandDateTimeTag(open, SampleMoment(), from));
  EXPECT_EQ(open, L"x <DATETIME hh");
}

}  // namespace
}  // namespace snibbet
