#include "templates/tag_pattern_formats.h"

#include <cstdint>
#include <vector>

namespace snibbet {
namespace {

enum class PieceKind { Literal, Hour12, Hour24, Marker, Field };

struct Piece {
  PieceKind kind;
  std::wstring text;  // a field's pattern, or a literal's text as the system shows it
};

bool IsAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }
wchar_t LowerAscii(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c; }
// What the date tag trims from the ends of its format.
bool IsBlankOrControl(wchar_t c) { return static_cast<std::uint32_t>(c) <= 0x20; }

bool IsPictureLetter(wchar_t c, PictureKind kind) {
  if (kind == PictureKind::Date) return c == L'd' || c == L'M' || c == L'y' || c == L'g';
  return c == L'h' || c == L'H' || c == L'm' || c == L's' || c == L't';
}

std::optional<Piece> Field(PieceKind kind, std::wstring text) { return Piece{kind, std::move(text)}; }

// The one-letter marker is the first letter of the locale's marker; the
// language writes a first letter only through "a/p", as written.
std::optional<Piece> OneLetterMarker(const LocaleMarks& marks) {
  if (marks.amText.empty() && marks.pmText.empty()) return Field(PieceKind::Marker, L"ampm");
  if (marks.amText.empty() || marks.pmText.empty()) return std::nullopt;
  const wchar_t am = marks.amText[0], pm = marks.pmText[0];
  if (LowerAscii(am) != L'a' || LowerAscii(pm) != L'p') return std::nullopt;
  return Field(PieceKind::Marker, std::wstring{am, L'/', pm});
}

// The pattern of one run of a picture letter; nothing for a run the
// language cannot say or the system does not define.
std::optional<Piece> FieldOf(wchar_t letter, std::size_t run, const LocaleMarks& marks) {
  switch (letter) {
    case L'd':
      if (run <= 4) return Field(PieceKind::Field, std::wstring(run, L'd'));
      return std::nullopt;
    case L'M':
      if (run <= 4) return Field(PieceKind::Field, std::wstring(run, L'm'));
      return std::nullopt;
    case L'y':
      if (run == 2) return Field(PieceKind::Field, L"yy");
      if (run == 4 || run == 5) return Field(PieceKind::Field, L"yyyy");
      return std::nullopt;  // y, the year without a leading zero, has no pattern
    case L'h':
    case L'H':
      if (run > 2) return std::nullopt;
      return Field(letter == L'h' ? PieceKind::Hour12 : PieceKind::Hour24, std::wstring(run, L'h'));
    case L'm':  // the minute: n, since the language's m is a month unless it follows an hour
      if (run > 2) return std::nullopt;
      return Field(PieceKind::Field, std::wstring(run, L'n'));
    case L's':
      if (run > 2) return std::nullopt;
      return Field(PieceKind::Field, std::wstring(run, L's'));
    case L't':
      if (run == 1) return OneLetterMarker(marks);
      if (run == 2) return Field(PieceKind::Marker, L"ampm");
      return std::nullopt;
    default:  // g, the era
      return std::nullopt;
  }
}

// The picture read as the system reads it: runs of its letters, and literal
// text (quoted with ', where '' stands for one ', or any other character).
std::optional<std::vector<Piece>> ReadPicture(std::wstring_view picture, PictureKind kind,
                                              const LocaleMarks& marks) {
  std::vector<Piece> pieces;
  bool dayNumber = false, longMonthName = false, shortMonthName = false;
  std::wstring literal;
  auto flushLiteral = [&] {
    if (!literal.empty()) pieces.push_back({PieceKind::Literal, std::move(literal)});
    literal.clear();
  };
  const std::size_t n = picture.size();
  std::size_t i = 0;
  while (i < n) {
    const wchar_t c = picture[i];
    if (c == L'\'') {
      const bool doubled = i + 1 < n && picture[i + 1] == L'\'';
      if (doubled) {
        literal += L'\'';
        i += 2;
        continue;
      }
      for (++i; i < n; ++i) {  // an open quote runs to the end
        if (picture[i] != L'\'') {
          literal += picture[i];
        } else if (i + 1 < n && picture[i + 1] == L'\'') {
          literal += L'\'';
          ++i;
        } else {
          ++i;
          break;
        }
      }
      continue;
    }
    if (!IsPictureLetter(c, kind)) {
      literal += c;
      ++i;
      continue;
    }
    std::size_t run = 1;
    while (i + run < n && picture[i + run] == c) ++run;
    dayNumber = dayNumber || (c == L'd' && run <= 2);
    longMonthName = longMonthName || (c == L'M' && run == 4);
    shortMonthName = shortMonthName || (c == L'M' && run == 3);
    std::optional<Piece> field = FieldOf(c, run, marks);
    if (!field) return std::nullopt;
    flushLiteral();
    pieces.push_back(std::move(*field));
    i += run;
  }
  flushLiteral();
  if (dayNumber && ((longMonthName && marks.longMonthNamesInflect) ||
                    (shortMonthName && marks.shortMonthNamesInflect)))
    return std::nullopt;
  return pieces;
}

// The language puts an hour on the 12-hour clock when a marker follows it
// before the next hour.
bool ClocksAgree(const std::vector<Piece>& pieces) {
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    const PieceKind kind = pieces[i].kind;
    if (kind != PieceKind::Hour12 && kind != PieceKind::Hour24) continue;
    bool twelveHour = false;
    for (std::size_t j = i + 1; j < pieces.size(); ++j) {
      const PieceKind next = pieces[j].kind;
      if (next == PieceKind::Hour12 || next == PieceKind::Hour24) break;
      if (next == PieceKind::Marker) {
        twelveHour = true;
        break;
      }
    }
    if (twelveHour != (kind == PieceKind::Hour12)) return false;
  }
  return true;
}

// Whether a character of literal text would mean something in the language.
bool NeedsQuotes(wchar_t c, const LocaleMarks& marks) {
  if (IsAsciiLetter(c) || c == L'\'' || c == L'"') return true;
  if (c == L'/') return marks.dateSeparator != L"/";
  if (c == L':') return marks.timeSeparator != L":";
  return false;
}

// The language has no escape inside quotes: an apostrophe goes in double
// quotes, everything else in single ones.
std::wstring Quoted(std::wstring_view text) {
  if (text.find(L'\'') == std::wstring_view::npos) return L"'" + std::wstring(text) + L"'";
  if (text.find(L'"') == std::wstring_view::npos) return L"\"" + std::wstring(text) + L"\"";
  std::wstring out;
  std::wstring run;
  for (const wchar_t c : text) {
    if (c != L'\'') {
      run += c;
      continue;
    }
    if (!run.empty()) out += L"'" + run + L"'";
    run.clear();
    out += L"\"'\"";
  }
  if (!run.empty()) out += L"'" + run + L"'";
  return out;
}

std::wstring LiteralPattern(const std::wstring& text, bool first, bool last, const LocaleMarks& marks) {
  bool quote = (first && IsBlankOrControl(text.front())) || (last && IsBlankOrControl(text.back()));
  for (const wchar_t c : text) quote = quote || NeedsQuotes(c, marks);
  return quote ? Quoted(text) : text;
}

}  // namespace

std::optional<std::wstring> TagPatternOfPicture(std::wstring_view picture, PictureKind kind,
                                                const LocaleMarks& marks) {
  if (picture.empty()) return std::nullopt;
  const std::optional<std::vector<Piece>> pieces = ReadPicture(picture, kind, marks);
  if (!pieces || !ClocksAgree(*pieces)) return std::nullopt;
  std::wstring pattern;
  for (std::size_t i = 0; i < pieces->size(); ++i) {
    const Piece& piece = (*pieces)[i];
    if (piece.kind == PieceKind::Literal) {
      if (piece.text.find(L'>') != std::wstring::npos) return std::nullopt;
      pattern += LiteralPattern(piece.text, i == 0, i + 1 == pieces->size(), marks);
      continue;
    }
    // Two fields of one letter side by side would read as one run (H then h).
    const Piece* before = i > 0 ? &(*pieces)[i - 1] : nullptr;
    if (before && before->kind != PieceKind::Literal && before->text.back() == piece.text.front()) pattern += L"''";
    pattern += piece.text;
  }
  return pattern;
}

SystemTagPatterns TagPatternsOf(const SystemDateTimePictures& pictures) {
  const LocaleMarks& marks = pictures.marks;
  return {
      TagPatternOfPicture(pictures.longDate, PictureKind::Date, marks).value_or(L"dddddd"),
      TagPatternOfPicture(pictures.shortDate, PictureKind::Date, marks).value_or(L"ddddd"),
      TagPatternOfPicture(pictures.longTime, PictureKind::Time, marks).value_or(L"tt"),
  };
}

}  // namespace snibbet
