#pragma once
// The system's date and time pictures (the locale's "dddd, MMMM d, yyyy",
// "h:mm:ss tt") said in the date tag's pattern language (tag_date_format.h),
// so that a tag written with them expands to what the system itself shows.
// The two languages differ: the system's month is M and its minute m, its
// 24-hour clock is H, its marker tt, and every character it does not know is
// copied, while the tag's language gives meaning to more letters and to
// "/" and ":". Window-free.
#include <optional>
#include <string>
#include <string_view>

namespace snibbet {

// What the pattern language takes from the locale and a picture only copies.
struct LocaleMarks {
  std::wstring dateSeparator, timeSeparator;
  std::wstring amText, pmText;
  // Beside a day number the system writes other long or short month names
  // (Russian "5 марта" for "март"); the language knows only the plain ones.
  bool longMonthNamesInflect = false;
  bool shortMonthNamesInflect = false;
};

enum class PictureKind { Date, Time };

// The pattern that expands to what the system renders for `picture`, or
// nothing when the pattern language cannot say it: an era (g), a one-digit
// year (y), a single-letter marker (t) of a locale whose markers do not begin
// with a and p, an hour whose clock the language would read otherwise (a
// 12-hour h without a marker behind it, a 24-hour H with one), a ">" (it
// would end the tag), a month name beside a day number where month names
// inflect, an empty picture.
std::optional<std::wstring> TagPatternOfPicture(std::wstring_view picture, PictureKind kind,
                                                const LocaleMarks& marks);

// The user's formats as the system keeps them.
struct SystemDateTimePictures {
  std::wstring longDate, shortDate, longTime;
  LocaleMarks marks;
};

struct SystemTagPatterns {
  std::wstring longDate, shortDate, longTime;
};

// Each picture in the pattern language; one it cannot say becomes the
// pattern of the system's own rendering of that format ("dddddd", "ddddd",
// "tt"), which gives the same text but cannot be edited.
SystemTagPatterns TagPatternsOf(const SystemDateTimePictures& pictures);

}  // namespace snibbet
