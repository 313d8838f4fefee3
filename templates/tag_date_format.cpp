#include "templates/tag_date_format.h"

#include "templates/tag_text.h"

namespace snibbet {
namespace {

bool IsAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }

std::wstring Number(long long value, int minDigits) {
  std::wstring digits = std::to_wstring(value < 0 ? -value : value);
  if (static_cast<int>(digits.size()) < minDigits) digits.insert(0, minDigits - digits.size(), L'0');
  return value < 0 ? L"-" + digits : digits;
}

template <std::size_t N>
const std::wstring& Entry(const std::array<std::wstring, N>& names, int index) {
  static const std::wstring none;
  return (index >= 0 && index < static_cast<int>(N)) ? names[static_cast<std::size_t>(index)] : none;
}

// Length of the run of the same letter (either case) starting at `pos`.
std::size_t RunLength(std::wstring_view pattern, std::size_t pos) {
  const wchar_t letter = UpperAsciiLetter(pattern[pos]);
  std::size_t end = pos;
  while (end < pattern.size() && UpperAsciiLetter(pattern[end]) == letter) ++end;
  return end - pos;
}

enum class AmPmKind { None, AmPmAsWritten, AOrPAsWritten, LocaleMarker };

AmPmKind AmPmAt(std::wstring_view pattern, std::size_t pos) {
  if (TagWordAt(pattern, pos, L"AM/PM")) return AmPmKind::AmPmAsWritten;
  if (TagWordAt(pattern, pos, L"A/P")) return AmPmKind::AOrPAsWritten;
  if (TagWordAt(pattern, pos, L"AMPM")) return AmPmKind::LocaleMarker;
  return AmPmKind::None;
}

// Whether an am/pm pattern follows `pos` before the next hour or other "a".
bool AmPmFollows(std::wstring_view pattern, std::size_t pos) {
  wchar_t quote = 0;
  for (; pos < pattern.size(); ++pos) {
    const wchar_t c = pattern[pos];
    if (quote) {
      if (c == quote) quote = 0;
      continue;
    }
    if (c == L'\'' || c == L'"') quote = c;
    else if (c == L'a' || c == L'A') return AmPmAt(pattern, pos) != AmPmKind::None;
    else if (c == L'h' || c == L'H') return false;
  }
  return false;
}

class Formatter {
 public:
  Formatter(std::wstring_view pattern, const DateTimeContext& context) : p_(pattern), c_(context) {}

  std::wstring Run() {
    while (pos_ < p_.size()) Step();
    return out_;
  }

 private:
  void Step() {
    const wchar_t ch = p_[pos_];
    if (ch == L'\'' || ch == L'"') return CopyQuoted(ch);
    if (ch == L'/') return Put(c_.dateSeparator, 1);
    if (ch == L':') return Put(c_.timeSeparator, 1);
    if (!IsAsciiLetter(ch)) return Put(std::wstring(1, ch), 1);
    const wchar_t letter = UpperAsciiLetter(ch);
    if (letter == L'A') return AmPm();
    const std::size_t run = RunLength(p_, pos_);
    const DateTimeFields& t = c_.now;
    wchar_t token = letter;
    switch (letter) {
      case L'D': Put(Day(run), run); break;
      case L'M':
        if (last_ == L'H') {
          token = L'N';
          Put(Number(t.minute, run == 1 ? 1 : 2), run);
        } else {
          Put(Month(run), run);
        }
        break;
      case L'Y': Put(run <= 2 ? Number(t.year % 100, 2) : Number(t.year, 4), run); break;
      case L'H': Put(Number(Hour(run), run == 1 ? 1 : 2), run); break;
      case L'N': Put(Number(t.minute, run == 1 ? 1 : 2), run); break;
      case L'S': Put(Number(t.second, run == 1 ? 1 : 2), run); break;
      case L'Z': Put(Number(t.millisecond, run == 1 ? 1 : 3), run); break;
      case L'T': Put(run == 1 ? c_.shortTime : c_.longTime, run); break;
      case L'C': Put(c_.shortDate + L" " + c_.longTime, run); break;
      default: Put(std::wstring(p_.substr(pos_, run)), run); break;
    }
    last_ = token;
  }

  std::wstring Day(std::size_t run) const {
    const DateTimeFields& t = c_.now;
    switch (run) {
      case 1: return Number(t.day, 1);
      case 2: return Number(t.day, 2);
      case 3: return Entry(c_.shortDayNames, t.dayOfWeek);
      case 4: return Entry(c_.longDayNames, t.dayOfWeek);
      case 5: return c_.shortDate;
      default: return c_.longDate;
    }
  }

  std::wstring Month(std::size_t run) const {
    const DateTimeFields& t = c_.now;
    switch (run) {
      case 1: return Number(t.month, 1);
      case 2: return Number(t.month, 2);
      case 3: return Entry(c_.shortMonthNames, t.month - 1);
      default: return Entry(c_.longMonthNames, t.month - 1);
    }
  }

  int Hour(std::size_t run) const {
    const int hour = c_.now.hour;
    if (!AmPmFollows(p_, pos_ + run)) return hour;
    const int twelve = hour % 12;
    return twelve == 0 ? 12 : twelve;
  }

  void AmPm() {
    const bool afternoon = c_.now.hour >= 12;
    last_ = L'A';
    switch (AmPmAt(p_, pos_)) {
      case AmPmKind::AmPmAsWritten: return Put(std::wstring(p_.substr(pos_ + (afternoon ? 3 : 0), 2)), 5);
      case AmPmKind::AOrPAsWritten: return Put(std::wstring(1, p_[pos_ + (afternoon ? 2 : 0)]), 3);
      case AmPmKind::LocaleMarker: return Put(afternoon ? c_.pmText : c_.amText, 4);
      case AmPmKind::None: return Put(std::wstring(1, p_[pos_]), 1);
    }
  }

  void CopyQuoted(wchar_t quote) {
    std::size_t end = p_.find(quote, pos_ + 1);
    if (end == std::wstring_view::npos) end = p_.size();  // an open quote runs to the end
    out_.append(p_.substr(pos_ + 1, end - pos_ - 1));
    pos_ = end < p_.size() ? end + 1 : end;
  }

  void Put(const std::wstring& text, std::size_t consumed) {
    out_ += text;
    pos_ += consumed;
  }

  std::wstring_view p_;
  const DateTimeContext& c_;
  std::size_t pos_ = 0;
  wchar_t last_ = 0;  // the last letter pattern, 'N' for a minute written as m
  std::wstring out_;
};

}  // namespace

std::wstring FormatDateTime(std::wstring_view pattern, const DateTimeContext& context) {
  if (pattern.empty()) return context.longDate + L" " + context.longTime;
  return Formatter(pattern, context).Run();
}

bool ExpandDateTimeTag(std::wstring& text, const DateTimeContext& context, std::size_t& from) {
  const std::size_t open = FindTagWord(text, kDateTimeTag, from);
  if (open == std::wstring::npos) return false;
  const std::size_t close = text.find(L'>', open);
  if (close == std::wstring::npos) return false;
  const std::size_t formatBegin = open + kDateTimeTag.size();
  const std::wstring_view format =
      TrimBlanks(std::wstring_view(text).substr(formatBegin, close - formatBegin));
  const std::wstring formatted = FormatDateTime(format, context);
  text.replace(open, close - open + 1, formatted);
  from = open + formatted.size();
  return true;
}

}  // namespace snibbet
