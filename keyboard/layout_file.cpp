#include "keyboard/layout_file.h"

#include <cstdint>
#include <map>

namespace snibbet {
namespace {

// Rectangles of 33 x 33 pixels on a 34-pixel pitch, rows from the top: Esc
// and the function keys, digits, Q, A, Z, and the Space row; the navigation
// block and the keypad on the right. Enter is L-shaped, its second shape the
// keypad Enter.
constexpr std::wstring_view kBuiltInLayout =
    L"Height=243\r\n"
    L"Width=777\r\n"
    L"27=6,25;39,58\r\n"
    L"112=74,25;107,58\r\n"
    L"113=108,25;141,58\r\n"
    L"114=142,25;175,58\r\n"
    L"115=176,25;209,58\r\n"
    L"116=226,25;259,58\r\n"
    L"117=260,25;293,58\r\n"
    L"118=294,25;327,58\r\n"
    L"119=328,25;361,58\r\n"
    L"120=378,25;411,58\r\n"
    L"121=412,25;445,58\r\n"
    L"122=446,25;479,58\r\n"
    L"123=480,25;513,58\r\n"
    L"44=525,25;558,58\r\n"
    L"145=559,25;592,58\r\n"
    L"19=593,25;626,58\r\n"
    L"192=6,68;39,101\r\n"
    L"49=40,68;73,101\r\n"
    L"50=74,68;107,101\r\n"
    L"51=108,68;141,101\r\n"
    L"52=142,68;175,101\r\n"
    L"53=176,68;209,101\r\n"
    L"54=210,68;243,101\r\n"
    L"55=244,68;277,101\r\n"
    L"56=278,68;311,101\r\n"
    L"57=312,68;345,101\r\n"
    L"48=346,68;379,101\r\n"
    L"189=380,68;413,101\r\n"
    L"187=414,68;447,101\r\n"
    L"220=448,68;481,101\r\n"
    L"8=482,68;514,101\r\n"
    L"45=525,68;558,101\r\n"
    L"36=559,68;592,101\r\n"
    L"33=593,68;626,101\r\n"
    L"144=636,68;669,101\r\n"
    L"111=670,68;703,101\r\n"
    L"106=704,68;737,101\r\n"
    L"109=738,68;771,101\r\n"
    L"9=6,102;56,135\r\n"
    L"81=57,102;90,135\r\n"
    L"87=91,102;124,135\r\n"
    L"69=125,102;158,135\r\n"
    L"82=159,102;192,135\r\n"
    L"84=193,102;226,135\r\n"
    L"89=227,102;260,135\r\n"
    L"85=261,102;294,135\r\n"
    L"73=295,102;328,135\r\n"
    L"79=329,102;362,135\r\n"
    L"80=363,102;396,135\r\n"
    L"219=397,102;430,135\r\n"
    L"221=431,102;464,135\r\n"
    L"13=467,102;512,102;514,104;514,166;512,168;441,168;439,166;439,138;441,136;463,136;465,134;465,104;-1,-1;738,170;771,237\r\n"
    L"46=525,102;558,135\r\n"
    L"35=559,102;592,135\r\n"
    L"34=593,102;626,135\r\n"
    L"103=636,102;669,135\r\n"
    L"104=670,102;703,135\r\n"
    L"105=704,102;737,135\r\n"
    L"107=738,102;771,169\r\n"
    L"20=6,136;64,169\r\n"
    L"65=65,136;98,169\r\n"
    L"83=99,136;132,169\r\n"
    L"68=133,136;166,169\r\n"
    L"70=167,136;200,169\r\n"
    L"71=201,136;234,169\r\n"
    L"72=235,136;268,169\r\n"
    L"74=269,136;302,169\r\n"
    L"75=303,136;336,169\r\n"
    L"76=337,136;370,169\r\n"
    L"186=371,136;404,169\r\n"
    L"222=405,136;438,169\r\n"
    L"100=636,136;669,169\r\n"
    L"101=670,136;703,169\r\n"
    L"102=704,136;737,169\r\n"
    L"160=6,170;81,203\r\n"
    L"90=82,170;115,203\r\n"
    L"88=116,170;149,203\r\n"
    L"67=150,170;183,203\r\n"
    L"86=184,170;217,203\r\n"
    L"66=218,170;251,203\r\n"
    L"78=252,170;285,203\r\n"
    L"77=286,170;319,203\r\n"
    L"188=320,170;353,203\r\n"
    L"190=354,170;387,203\r\n"
    L"191=388,170;421,203\r\n"
    L"161=422,170;514,203\r\n"
    L"38=559,170;592,203\r\n"
    L"97=636,170;669,203\r\n"
    L"98=670,170;703,203\r\n"
    L"99=704,170;737,203\r\n"
    L"162=6,204;56,237\r\n"
    L"91=57,204;90,237\r\n"
    L"164=91,204;140,237\r\n"
    L"32=141,204;336,237\r\n"
    L"165=337,204;386,237\r\n"
    L"92=387,204;420,237\r\n"
    L"93=421,204;454,237\r\n"
    L"163=455,204;514,237\r\n"
    L"37=525,204;558,237\r\n"
    L"40=559,204;592,237\r\n"
    L"39=593,204;626,237\r\n"
    L"96=636,204;703,237\r\n"
    L"110=704,204;737,237\r\n";

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

std::wstring_view Trim(std::wstring_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

wchar_t AsciiLower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

std::wstring LowerName(std::wstring_view name) {
  std::wstring lower(name);
  for (wchar_t& c : lower) c = AsciiLower(c);
  return lower;
}

// Lines end at CR LF, LF or CR.
std::vector<std::wstring_view> SplitLines(std::wstring_view text) {
  std::vector<std::wstring_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != L'\r' && text[i] != L'\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

struct Entry {
  std::wstring_view value;
  int line = 0;
};

// The first line of each name, names compared without regard to case.
std::map<std::wstring, Entry> EntriesByName(const std::vector<std::wstring_view>& lines) {
  std::map<std::wstring, Entry> entries;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::size_t equals = lines[i].find(L'=');
    if (equals == std::wstring_view::npos) continue;
    entries.emplace(LowerName(Trim(lines[i].substr(0, equals))),
                    Entry{Trim(lines[i].substr(equals + 1)), static_cast<int>(i + 1)});
  }
  return entries;
}

class Parser {
 public:
  explicit Parser(std::wstring_view text) : lines_(SplitLines(text)), entries_(EntriesByName(lines_)) {}

  LayoutParseResult Run() {
    KeyboardLayoutFile layout;
    layout.description = Description();
    if (!Size(L"height", layout.height) || !Size(L"width", layout.width)) return Failed();
    layout.background = std::wstring(Value(L"background").value);
    layout.info = std::wstring(Value(L"info").value);
    for (int code = 1; code <= 255; ++code) {
      if (!Shape(code, layout.shapes[code])) return Failed();
    }
    return {std::move(layout), {}};
  }

 private:
  std::wstring Description() const {
    std::wstring description;
    for (std::wstring_view line : lines_) {
      if (line.empty() || line.front() != L';') break;
      description.append(line.substr(1));
      description.append(L"\r\n");
    }
    return description;
  }

  Entry Value(const std::wstring& name) const {
    const auto found = entries_.find(name);
    return found == entries_.end() ? Entry{} : found->second;
  }

  bool Size(const std::wstring& name, int& size) {
    const Entry entry = Value(name);
    if (entry.value.empty()) return true;
    long long number = 0;
    if (!Number(entry.value, entry.line, number)) return false;
    if (number < 1 || number > KeyboardLayoutFile::kMaxSize) return Fail(LayoutFileError::Kind::kOutOfRange, entry.line, entry.value);
    size = static_cast<int>(number);
    return true;
  }

  bool Shape(int code, KeyShape& shape) {
    const Entry entry = Value(std::to_wstring(code));
    if (entry.value.empty()) return true;
    std::wstring_view rest = entry.value;
    while (true) {
      const std::size_t semicolon = rest.find(L';');
      KeyPoint point;
      if (!Point(Trim(rest.substr(0, semicolon)), entry.line, point)) return false;
      shape.push_back(point);
      if (semicolon == std::wstring_view::npos) break;
      rest.remove_prefix(semicolon + 1);
    }
    return WellSeparated(shape) || Fail(LayoutFileError::Kind::kBrokenShape, entry.line, std::to_wstring(code));
  }

  // At most one separator, with points on both sides of it.
  static bool WellSeparated(const KeyShape& shape) {
    int separators = 0;
    for (std::size_t i = 0; i < shape.size(); ++i) {
      if (shape[i] != kShapeSeparator) continue;
      if (++separators > 1 || i == 0 || i + 1 == shape.size()) return false;
    }
    return true;
  }

  // "x,y", or a lone number for both.
  bool Point(std::wstring_view pair, int line, KeyPoint& point) {
    const std::size_t comma = pair.find(L',');
    long long x = 0, y = 0;
    if (!Coordinate(Trim(pair.substr(0, comma)), line, x)) return false;
    y = x;
    if (comma != std::wstring_view::npos && !Coordinate(Trim(pair.substr(comma + 1)), line, y)) return false;
    point = {static_cast<int>(x), static_cast<int>(y)};
    return true;
  }

  bool Coordinate(std::wstring_view text, int line, long long& value) {
    if (!Number(text, line, value)) return false;
    if (value < KeyboardLayoutFile::kMinCoordinate || value > KeyboardLayoutFile::kMaxCoordinate)
      return Fail(LayoutFileError::Kind::kOutOfRange, line, text);
    return true;
  }

  // A whole decimal number with an optional sign; nothing else on it.
  bool Number(std::wstring_view text, int line, long long& value) {
    std::wstring_view digits = text;
    const bool negative = !digits.empty() && digits.front() == L'-';
    if (!digits.empty() && (digits.front() == L'-' || digits.front() == L'+')) digits.remove_prefix(1);
    if (digits.empty()) return Fail(LayoutFileError::Kind::kBadNumber, line, text);
    value = 0;
    for (wchar_t c : digits) {
      if (c < L'0' || c > L'9') return Fail(LayoutFileError::Kind::kBadNumber, line, text);
      if (value < 100000000000LL) value = value * 10 + (c - L'0');  // beyond any range we accept
    }
    if (negative) value = -value;
    return true;
  }

  bool Fail(LayoutFileError::Kind kind, int line, std::wstring_view text) {
    error_ = {kind, line, std::wstring(text)};
    return false;
  }

  LayoutParseResult Failed() const { return {std::nullopt, error_}; }

  std::vector<std::wstring_view> lines_;
  std::map<std::wstring, Entry> entries_;
  LayoutFileError error_;
};

}  // namespace

LayoutParseResult ParseKeyboardLayout(std::wstring_view text) { return Parser(text).Run(); }

std::wstring_view BuiltInKeyboardLayout() { return kBuiltInLayout; }

std::pair<std::vector<KeyPoint>, std::vector<KeyPoint>> SplitShapes(const KeyShape& shape) {
  for (std::size_t i = 0; i < shape.size(); ++i) {
    if (shape[i] == kShapeSeparator) {
      return {KeyShape(shape.begin(), shape.begin() + static_cast<std::ptrdiff_t>(i)),
              KeyShape(shape.begin() + static_cast<std::ptrdiff_t>(i) + 1, shape.end())};
    }
  }
  return {shape, {}};
}

}  // namespace snibbet
