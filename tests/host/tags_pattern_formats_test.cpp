// The system's date and time pictures said in the date tag's language: the
// check is always what the tag expander makes of the translation, compared
// with what the system shows for the picture.
#include "templates/tag_pattern_formats.h"

#include <gtest/gtest.h>

#include "templates/tag_date_format.h"
#include "templates/template_tag_menu_items.h"
#include "tests/host/tags_fake_target.h"

namespace snibbet {
namespace {

using testing::SampleMoment;  // Tuesday 5 March 2024, 14:07:09.045

const LocaleMarks kUs{L"/", L":", L"AM", L"PM"};

DateTimeContext ContextOf(const LocaleMarks& marks, int hour = 14, int minute = 7) {
  DateTimeContext c = SampleMoment();
  c.now.hour = hour;
  c.now.minute = minute;
  c.dateSeparator = marks.dateSeparator;
  c.timeSeparator = marks.timeSeparator;
  c.amText = marks.amText;
  c.pmText = marks.pmText;
  return c;
}

// The picture's translation put in a date tag and expanded; "(none)" when
// the language cannot say it.
std::wstring Shown(std::wstring_view picture, PictureKind kind, const LocaleMarks& marks = kUs,
                   int hour = 14, int minute = 7) {
  const std::optional<std::wstring> pattern = TagPatternOfPicture(picture, kind, marks);
  if (!pattern) return L"(none)";
  std::wstring text = L"<DATETIME " + *pattern + L">";
  std::size_t from = 0;
  EXPECT_TRUE(ExpandDateTimeTag(text, ContextOf(marks, hour, minute), from)) << *pattern;
  return text;
}

std::wstring Date(std::wstring_view picture, const LocaleMarks& marks = kUs) {
  return Shown(picture, PictureKind::Date, marks);
}
std::wstring Time(std::wstring_view picture, int hour = 14, int minute = 7, const LocaleMarks& marks = kUs) {
  return Shown(picture, PictureKind::Time, marks, hour, minute);
}

TEST(TagPatternOfPicture, EveryDateLetter) {
  EXPECT_EQ(Date(L"d dd ddd dddd"), L"5 05 Tue Tuesday");
  EXPECT_EQ(Date(L"M MM MMM MMMM"), L"3 03 Mar March");
  EXPECT_EQ(Date(L"yy yyyy yyyyy"), L"24 2024 2024");
  EXPECT_EQ(*TagPatternOfPicture(L"dddd, MMMM d, yyyy", PictureKind::Date, kUs), L"dddd, mmmm d, yyyy");
  // Nothing the language can say: an era, a year without leading zero, runs the system does not define.
  for (const wchar_t* unsayable : {L"g", L"gg yyyy", L"y", L"yyy", L"ddddd", L"MMMMM"})
    EXPECT_EQ(Date(unsayable), L"(none)") << unsayable;
}

TEST(TagPatternOfPicture, EveryTimeLetter) {
  EXPECT_EQ(Time(L"H:mm:ss"), L"14:07:09");
  EXPECT_EQ(Time(L"H:m:s", 9, 5), L"9:5:9");
  EXPECT_EQ(Time(L"HH:mm", 9, 5), L"09:05");
  EXPECT_EQ(Time(L"h:mm:ss tt"), L"2:07:09 PM");
  EXPECT_EQ(Time(L"hh:mm tt", 0, 5), L"12:05 AM");
  EXPECT_EQ(Time(L"h:mm t"), L"2:07 P");
  EXPECT_EQ(*TagPatternOfPicture(L"h:mm:ss tt", PictureKind::Time, kUs), L"h:nn:ss ampm");
  // The one-letter marker is the first letter of the locale's marker.
  const LocaleMarks dotted{L"/", L":", L"a.m.", L"p.m."};
  EXPECT_EQ(Time(L"h:mm t", 9, 5, dotted), L"9:05 a");
  EXPECT_EQ(Time(L"h:mm tt", 21, 5, dotted), L"9:05 p.m.");
  const LocaleMarks japanese{L"/", L":", L"午前", L"午後"};
  EXPECT_EQ(Time(L"h:mm tt", 14, 7, japanese), L"2:07 午後");
  EXPECT_EQ(Time(L"h:mm t", 14, 7, japanese), L"(none)");
  for (const wchar_t* unsayable : {L"HHH", L"mmm", L"sss", L"h:mm ttt"})
    EXPECT_EQ(Time(unsayable), L"(none)") << unsayable;
}

TEST(TagPatternOfPicture, QuotedAndOtherLiterals) {
  EXPECT_EQ(Date(L"dddd, d' de 'MMMM' de 'yyyy"), L"Tuesday, 5 de March de 2024");
  EXPECT_EQ(*TagPatternOfPicture(L"yyyy'年'M'月'd'日'", PictureKind::Date, kUs), L"yyyy年m月d日");
  EXPECT_EQ(Time(L"H 'o''clock'"), L"14 o'clock");              // '' inside quotes
  EXPECT_EQ(Date(L"d''MM"), L"5'03");                            // and outside
  EXPECT_EQ(Date(L"'\"it''s\"' d"), L"\"it's\" 5");              // both quote marks
  EXPECT_EQ(Date(L"d 'of MMMM"), L"5 of MMMM");                  // an open quote runs to the end
  // Letters the picture only copies, though the tag's language knows them.
  EXPECT_EQ(Date(L"d h:n t, am/pm c"), L"5 h:n t, am/pm c");
  EXPECT_EQ(Time(L"H d m y"), L"14 d 7 y");
  EXPECT_EQ(Time(L"h a"), L"(none)");  // a copied "a" is no marker: the hour has none
  EXPECT_EQ(Date(L"d > M"), L"(none)");  // it would end the tag
  EXPECT_EQ(Date(L""), L"(none)");
}

TEST(TagPatternOfPicture, SeparatorsAndTheTagsTrimmedEnds) {
  EXPECT_EQ(*TagPatternOfPicture(L"M/d/yyyy", PictureKind::Date, kUs), L"m/d/yyyy");
  const LocaleMarks german{L".", L".", L"", L""};
  // A picture's "/" and ":" are its own text, whatever the locale's separators.
  EXPECT_EQ(Date(L"M/d/yyyy", german), L"3/5/2024");
  EXPECT_EQ(*TagPatternOfPicture(L"M/d/yyyy", PictureKind::Date, german), L"m'/'d'/'yyyy");
  EXPECT_EQ(Time(L"HH:mm", 14, 7, german), L"14:07");
  // The tag trims blanks at the ends of its format.
  EXPECT_EQ(Time(L" HH:mm "), L" 14:07 ");
}

TEST(TagPatternOfPicture, TheHoursClockAsTheLanguageReadsIt) {
  EXPECT_EQ(Time(L"tt h:mm:ss"), L"(none)");  // the language counts only a marker behind the hour
  EXPECT_EQ(Time(L"HH:mm tt"), L"(none)");     // a 24-hour clock with a marker
  EXPECT_EQ(Time(L"h:mm"), L"(none)");         // a 12-hour clock without one
  const LocaleMarks noMarkers{L"/", L":", L"", L""};
  EXPECT_EQ(Time(L"hh:mm t", 14, 7, noMarkers), L"02:07 ");
  EXPECT_EQ(Time(L"Hh tt"), L"142 PM");        // two hours side by side stay two
  EXPECT_EQ(Time(L"H:mm 'Uhr'"), L"14:07 Uhr");
}

TEST(TagPatternOfPicture, InflectedMonthNamesOnlyWithoutADayNumber) {
  LocaleMarks russian{L".", L":", L"", L""};
  russian.longMonthNamesInflect = true;
  russian.shortMonthNamesInflect = true;
  EXPECT_EQ(Date(L"d MMMM yyyy", russian), L"(none)");  // the system writes "5 марта"
  EXPECT_EQ(Date(L"dd MMM", russian), L"(none)");
  EXPECT_EQ(Date(L"MMMM yyyy", russian), L"March 2024");
  EXPECT_EQ(Date(L"dddd, MMMM", russian), L"Tuesday, March");  // a weekday is no day number
  EXPECT_EQ(Date(L"dd.MM.yyyy", russian), L"05.03.2024");
  LocaleMarks german{L".", L":", L"", L""};
  german.shortMonthNamesInflect = true;  // "5. März" but "5. Mär." beside "Mär"
  EXPECT_EQ(Date(L"d. MMMM yyyy", german), L"5. March 2024");
  EXPECT_EQ(Date(L"d. MMM yyyy", german), L"(none)");
}

TEST(TagPatternsOf, LocalesGiveWhatTheSystemShowsOrTheSystemsOwnRendering) {
  SystemDateTimePictures us{L"dddd, MMMM d, yyyy", L"M/d/yyyy", L"h:mm:ss tt", kUs};
  const SystemTagPatterns usPatterns = TagPatternsOf(us);
  EXPECT_EQ(usPatterns.longDate, L"dddd, mmmm d, yyyy");
  EXPECT_EQ(usPatterns.shortDate, L"m/d/yyyy");
  EXPECT_EQ(usPatterns.longTime, L"h:nn:ss ampm");
  EXPECT_EQ(Date(L"dd.MM.yyyy"), L"05.03.2024");
  EXPECT_EQ(Date(L"yyyy. MMMM d."), L"2024. March 5.");
  EXPECT_EQ(Date(L"yyyy-MM-dd"), L"2024-03-05");

  SystemDateTimePictures korean{L"yyyy'년' M'월' d'일' dddd", L"yyyy-MM-dd", L"tt h:mm:ss",
                                {L"-", L":", L"오전", L"오후"}};
  const SystemTagPatterns koPatterns = TagPatternsOf(korean);
  EXPECT_EQ(koPatterns.longDate, L"yyyy년 m월 d일 dddd");
  EXPECT_EQ(koPatterns.longTime, L"tt");  // the marker comes first
  SystemDateTimePictures era{L"gg yyyy", L"y/M/d", L"H:mm:ss", kUs};
  const SystemTagPatterns eraPatterns = TagPatternsOf(era);
  EXPECT_EQ(eraPatterns.longDate, L"dddddd");
  EXPECT_EQ(eraPatterns.shortDate, L"ddddd");
  EXPECT_EQ(eraPatterns.longTime, L"h:nn:ss");
}

TEST(TagMenuItems, TagTextsAndTheSamplesTheyMatch) {
  const SystemTagPatterns us = TagPatternsOf({L"dddd, MMMM d, yyyy", L"M/d/yyyy", L"h:mm:ss tt", kUs});
  EXPECT_EQ(TagMenuText(101, us), L"<DATETIME dddd, mmmm d, yyyy>");
  EXPECT_EQ(TagMenuText(103, us), L"<DATETIME mm'/'dd'/'yyyy>");
  EXPECT_EQ(TagMenuText(301, us), L"<DATETIME >");
  EXPECT_EQ(TagMenuText(404, us), L"<KEY Back>");
  EXPECT_EQ(TagMenuText(407, us), L"<KEY $20>");
  EXPECT_EQ(TagMenuText(500, us), L"<SOMEOF><QV>1</QV><QV>2</QV></SOMEOF>");
  EXPECT_EQ(TagMenuText(600, us), L"<FILE >");
  EXPECT_EQ(TagMenuText(399, us), L"");
  EXPECT_EQ(TagMenuSampleFormat(404, us), L"");
  // Each date and time caption shows what its tag pastes.
  DateTimeContext now = ContextOf(kUs);
  now.longDate = L"Tuesday, March 5, 2024";
  now.longTime = L"2:07:09 PM";
  for (auto items : {TagMenuDateItems(), TagMenuTimeItems(), TagMenuDateTimeItems()}) {
    for (const TagMenuItem& item : items) {
      std::wstring pasted = TagMenuText(item.tag, us);
      std::size_t from = 0;
      ASSERT_TRUE(ExpandDateTimeTag(pasted, now, from)) << item.tag;
      EXPECT_EQ(pasted, FormatDateTime(TagMenuSampleFormat(item.tag, us), now)) << item.tag;
    }
  }
}

TEST(TagMenuItems, ACaptionKeepsOneSample) {
  const std::wstring once = CaptionWithSample(L"hh:mm", L"14:07");
  EXPECT_EQ(once, L"hh:mm (14:07)");
  EXPECT_EQ(CaptionWithSample(once, L"14:08"), L"hh:mm (14:08)");
  EXPECT_EQ(CaptionWithSample(L" (x", L"1"), L" (x (1)");  // a " (" at the very start is the caption's own
}

}  // namespace
}  // namespace snibbet
