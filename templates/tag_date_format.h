#pragma once
// The date-and-time tag and its pattern language. The locale's names,
// separators and whole-date renderings come in a DateTimeContext that the
// caller fills (from the system, or fixed values in tests). Window-free.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace snibbet {

struct DateTimeFields {
  int year = 2000;
  int month = 1;      // 1..12
  int day = 1;        // 1..31
  int dayOfWeek = 0;  // 0 Sunday .. 6 Saturday
  int hour = 0;       // 0..23
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

// One moment with the user's locale texts for it.
struct DateTimeContext {
  DateTimeFields now;
  std::array<std::wstring, 12> shortMonthNames;  // [0] January
  std::array<std::wstring, 12> longMonthNames;
  std::array<std::wstring, 7> shortDayNames;     // [0] Sunday
  std::array<std::wstring, 7> longDayNames;
  // `now` in the system's own formats.
  std::wstring shortDate, longDate, shortTime, longTime;
  std::wstring dateSeparator, timeSeparator;
  std::wstring amText, pmText;  // the morning and afternoon markers
};

// Formats the moment by the pattern (letters in either case):
//   d dd ddd dddd ddddd dddddd   day, 2-digit day, short/long weekday, short/long date
//   m mm mmm mmmm                month (minute right after an hour), short/long month name
//   yy yyyy  h hh  n nn  s ss  z zzz   year, hour, minute, second, millisecond
//   t tt  c                       short/long time; short date, blank, long time
//   am/pm a/p  ampm               marker as written, or the locale's marker
//   / :                           the locale's separators
//   '...' "..."                   copied without the quotes
// An hour is on the 12-hour clock when an am/pm pattern follows it. Anything
// else is copied. An empty pattern gives the long date, a blank and the long time.
std::wstring FormatDateTime(std::wstring_view pattern, const DateTimeContext& context);

// Replaces the first "<DATETIME" format ">" tag at or after `from` by the
// formatted moment and moves `from` behind what it inserted, so a date's own
// text is never taken for another tag. False when there is no complete tag.
bool ExpandDateTimeTag(std::wstring& text, const DateTimeContext& context, std::size_t& from);

}  // namespace snibbet
