#include "templates/tag_date_locale_win.h"

namespace snibbet {
namespace {

constexpr int kTextBuffer = 256;

std::wstring LocaleText(LCTYPE type) {
  wchar_t buffer[kTextBuffer] = {};
  const int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, kTextBuffer);
  return n > 0 ? std::wstring(buffer) : std::wstring();
}

std::wstring SystemDate(const SYSTEMTIME& time, DWORD flags) {
  wchar_t buffer[kTextBuffer] = {};
  const int n = GetDateFormatW(LOCALE_USER_DEFAULT, flags, &time, nullptr, buffer, kTextBuffer);
  return n > 0 ? std::wstring(buffer) : std::wstring();
}

std::wstring SystemTime(const SYSTEMTIME& time, DWORD flags) {
  wchar_t buffer[kTextBuffer] = {};
  const int n = GetTimeFormatW(LOCALE_USER_DEFAULT, flags, &time, nullptr, buffer, kTextBuffer);
  return n > 0 ? std::wstring(buffer) : std::wstring();
}

void ReadNames(DateTimeContext& c) {
  for (int i = 0; i < 12; ++i) {
    c.shortMonthNames[i] = LocaleText(LOCALE_SABBREVMONTHNAME1 + i);
    c.longMonthNames[i] = LocaleText(LOCALE_SMONTHNAME1 + i);
  }
  // The system counts weekdays from Monday (1) to Sunday (7).
  for (int i = 0; i < 7; ++i) {
    const int fromMonday = (i + 6) % 7;
    c.shortDayNames[i] = LocaleText(LOCALE_SABBREVDAYNAME1 + fromMonday);
    c.longDayNames[i] = LocaleText(LOCALE_SDAYNAME1 + fromMonday);
  }
}

// Whether any of the twelve names differs beside a day number. Systems
// before Vista know no such names: the call fails there.
bool MonthNamesInflect(LCTYPE firstMonth) {
  for (int i = 0; i < 12; ++i) {
    const LCTYPE name = firstMonth + i;
    const std::wstring inflected = LocaleText(name | LOCALE_RETURN_GENITIVE_NAMES);
    if (!inflected.empty() && inflected != LocaleText(name)) return true;
  }
  return false;
}

LocaleMarks CurrentLocaleMarks() {
  return {LocaleText(LOCALE_SDATE), LocaleText(LOCALE_STIME), LocaleText(LOCALE_S1159), LocaleText(LOCALE_S2359)};
}

}  // namespace

DateTimeContext DateTimeContextFor(const SYSTEMTIME& time) {
  DateTimeContext c;
  c.now = {time.wYear, time.wMonth, time.wDay, time.wDayOfWeek,
           time.wHour, time.wMinute, time.wSecond, time.wMilliseconds};
  ReadNames(c);
  c.shortDate = SystemDate(time, DATE_SHORTDATE);
  c.longDate = SystemDate(time, DATE_LONGDATE);
  c.shortTime = SystemTime(time, TIME_NOSECONDS);
  c.longTime = SystemTime(time, 0);
  const LocaleMarks marks = CurrentLocaleMarks();
  c.dateSeparator = marks.dateSeparator;
  c.timeSeparator = marks.timeSeparator;
  c.amText = marks.amText;
  c.pmText = marks.pmText;
  return c;
}

DateTimeContext CurrentDateTimeContext() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return DateTimeContextFor(now);
}

SystemDateTimePictures CurrentSystemPictures() {
  SystemDateTimePictures pictures;
  pictures.longDate = LocaleText(LOCALE_SLONGDATE);
  pictures.shortDate = LocaleText(LOCALE_SSHORTDATE);
  pictures.longTime = LocaleText(LOCALE_STIMEFORMAT);
  pictures.marks = CurrentLocaleMarks();
  pictures.marks.longMonthNamesInflect = MonthNamesInflect(LOCALE_SMONTHNAME1);
  pictures.marks.shortMonthNamesInflect = MonthNamesInflect(LOCALE_SABBREVMONTHNAME1);
  return pictures;
}

}  // namespace snibbet
