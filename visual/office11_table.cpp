#include "visual/office11_table.h"

#include <algorithm>
#include <cwctype>
#include <string>

namespace snibbet {
namespace {

// Palette columns as #RRGGBB, entries 0 to 48.
constexpr std::uint32_t kBluePalette[kOffice11ColorCount] = {
    0xDDECFE, 0x81A9E2, 0x9EBEF5, 0xC3DAF9, 0x003591, 0x75A6F1, 0xFFC176,
    0xFFF8D3, 0xFFDD98, 0xFE9552, 0x3B619C, 0x7BA4E0, 0x274176, 0xFFFFFF,
    0x6A8CCB, 0xF1F9FF, 0x2A66C9, 0xC4DBF9, 0x002D96, 0xF6F6F6, 0xFFEEC2,
    0x000080, 0xFFF4CC, 0xFFD091, 0xFFD38E, 0xFE914E, 0xCBE1FC, 0xFFC06F,
    0xFE803E, 0xA9C7F0, 0x000000, 0x8D8D8D, 0xBEDAFB, 0xFBE694, 0xC4DAFA,
    0x002D96, 0x3768B9, 0x002D96, 0xD3E5FB, 0x88AEE4, 0xFFFFDC, 0xF7C05B,
    0xFBE694, 0xEE9515, 0xE87F08, 0xF7DA7C, 0x5987D6, 0x033893, 0xFFFFFF,
};
constexpr std::uint32_t kOlivePalette[kOffice11ColorCount] = {
    0xF4F7DE, 0xB7C691, 0xD9D9A7, 0xF2F0E4, 0x60776B, 0xB0C28C, 0xFFC176,
    0xFFF8D3, 0xFFDD98, 0xFE9552, 0x608058, 0xB5C48F, 0x515E33, 0xFFFFFF,
    0x608058, 0xF4F7DE, 0x74865E, 0xE1DEAD, 0x758D5E, 0xF4F4EE, 0xFFEEC2,
    0x3F5D38, 0xFFF4CC, 0xFFD091, 0xFFD38E, 0xFE914E, 0xD8E3B6, 0xFFC06F,
    0xFE803E, 0xC5D49F, 0x000000, 0x8D8D8D, 0xAFBA91, 0xFBE694, 0xF2F1E4,
    0x608058, 0x738954, 0x758D5E, 0xF2F5DB, 0xBCC997, 0xFFFFDC, 0xF7C05B,
    0xFBE694, 0xEE9515, 0xE87F08, 0xF7DA7C, 0xAFC082, 0x637A44, 0xFFFFFF,
};
constexpr std::uint32_t kSilverPalette[kOffice11ColorCount] = {
    0xF3F4FA, 0x9997B5, 0xD7D7E5, 0xF3F3F7, 0x767492, 0xB3B2C8, 0xFFC176,
    0xFFF8D3, 0xFFDD98, 0xFE9552, 0x7C7C94, 0x9391B0, 0x545475, 0xFFFFFF,
    0x6E6D8F, 0xFFFFFF, 0x7A7999, 0xDBDAE4, 0x7C7C94, 0xFDFAFF, 0xFFEEC2,
    0x4B4B6F, 0xFFF4CC, 0xFFD091, 0xFFD38E, 0xFE914E, 0xD6D3E7, 0xFFC06F,
    0xFE803E, 0xC0C0D3, 0x000000, 0x8D8D8D, 0xE5E5EB, 0xFBE694, 0xF3F3F7,
    0x7C7C94, 0x706F91, 0x7C7C94, 0xF0F1F8, 0xA09EBA, 0xFFFFDC, 0xF7C05B,
    0xFBE694, 0xEE9515, 0xE87F08, 0xF7DA7C, 0xA8A7BF, 0x706F91, 0xFFFFFF,
};

constexpr int kBlueBias = 41, kOliveBias = 125, kSilverBias = 40, kSystemBias = 75;

// How an entry is worked out from the system colours.
enum class RuleKind { System, NearestSystem, Blend, Mix, NearestMix, Derive, White, SameAs };

struct Rule {
  RuleKind kind;
  int a = 0, b = 0, c = 0;  // system indexes, percentages, flag or entry, by kind
};

constexpr Rule Sys(int index) { return {RuleKind::System, index}; }
constexpr Rule Blend(int x, int y, int percent) { return {RuleKind::Blend, x, y, percent}; }
constexpr Rule NearestMix(int a, int b, int c) { return {RuleKind::NearestMix, a, b, c}; }
constexpr Rule Same(int entry) { return {RuleKind::SameAs, entry}; }

constexpr Rule kSystemRules[kOffice11ColorCount] = {
    Blend(kSysBtnFace, kSysWindow, 22),    // 0
    Blend(kSysBtnFace, kSysWindow, 96),    // 1
    Sys(kSysBtnFace),                      // 2
    Blend(kSysBtnFace, kSysWindow, 20),    // 3
    Sys(kSysBtnShadow),                    // 4
    Blend(kSysBtnShadow, kSysWindow, 74),  // 5
    NearestMix(-15, 29, 86),               // 6
    Same(6),                               // 7
    NearestMix(42, 11, 47),                // 8
    Same(8),                               // 9
    Blend(kSysBtnFace, kSysWindow, 85),    // 10
    Sys(kSysBtnFace),                      // 11
    Blend(kSysBtnShadow, kSysWindow, 76),  // 12
    Sys(kSysWindow),                       // 13
    Blend(kSysBtnShadow, kSysWindow, 70),  // 14
    {RuleKind::White},                     // 15
    Sys(kSysBtnShadow),                    // 16
    Same(1),                               // 17
    Sys(kSysBtnShadow),                    // 18
    Sys(kSysWindow),                       // 19
    NearestMix(-2, 30, 72),                // 20
    Sys(kSysHighlight),                    // 21
    Same(20),                              // 22
    Same(20),                              // 23
    Same(28),                              // 24
    Same(28),                              // 25
    Same(1),                               // 26
    {RuleKind::Mix, 41, 11, 48},           // 27
    NearestMix(14, 44, 40),                // 28
    Same(26),                              // 29
    Sys(kSysBtnText),                      // 30
    Sys(kSysGrayText),                     // 31
    Sys(kSysBtnFace),                      // 32
    Same(27),                              // 33
    Same(2),                               // 34
    Same(18),                              // 35
    Sys(kSysBtnShadow),                    // 36
    {RuleKind::NearestSystem, kSysBtnShadow},  // 37
    {RuleKind::Derive, 1},                 // 38
    {RuleKind::Derive, 0},                 // 39
    Same(22),                              // 40
    Same(23),                              // 41
    Same(27),                              // 42
    Same(42),                              // 43
    Same(28),                              // 44
    Same(44),                              // 45
    Same(37),                              // 46
    Same(37),                              // 47
    Sys(kSysHighlightText),                // 48
};

std::wstring UpperCase(std::wstring_view text) {
  std::wstring upper(text);
  for (wchar_t& c : upper) c = static_cast<wchar_t>(std::towupper(static_cast<std::wint_t>(c)));
  return upper;
}

std::wstring_view WithoutFolder(std::wstring_view path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring_view::npos ? path : path.substr(slash + 1);
}

class RuleEvaluator {
 public:
  explicit RuleEvaluator(const ScreenColors& screen) : screen_(screen) {}

  RgbColor Evaluate(const Rule& rule) const {
    switch (rule.kind) {
      case RuleKind::System:
        return System(rule.a);
      case RuleKind::NearestSystem:
        return screen_.Nearest(System(rule.a));
      case RuleKind::Blend:
        return screen_.Nearest(BlendRgb(System(rule.a), System(rule.b), rule.c));
      case RuleKind::Mix:
        return Mix(rule);
      case RuleKind::NearestMix:
        return screen_.Nearest(Mix(rule));
      case RuleKind::Derive:
        return screen_.Nearest(DeriveFromFace(System(kSysBtnFace), rule.a != 0));
      case RuleKind::White:
        return MakeRgb(255, 255, 255);
      case RuleKind::SameAs:
        break;  // resolved once every other entry has its value
    }
    return 0;
  }

 private:
  RgbColor System(int index) const { return screen_.SystemColor(index) & 0xFFFFFF; }
  RgbColor Mix(const Rule& rule) const {
    return MixColors(System(kSysBtnFace), System(kSysHighlight), System(kSysWindow), static_cast<std::int8_t>(rule.a),
                     static_cast<std::int8_t>(rule.b), static_cast<std::int8_t>(rule.c));
  }

  const ScreenColors& screen_;
};

// The entry an entry finally takes its value from, following "same as" links.
int ValueSource(int entry) {
  for (int hops = 0; kSystemRules[entry].kind == RuleKind::SameAs && hops < kOffice11ColorCount; ++hops) {
    entry = kSystemRules[entry].a;
  }
  return entry;
}

}  // namespace

Office11Scheme SchemeFromThemeNames(std::wstring_view themeFile, std::wstring_view colorName,
                                    unsigned majorVersion) {
  if (UpperCase(WithoutFolder(themeFile)) != L"LUNA.MSSTYLES" && majorVersion < 6) return Office11Scheme::None;
  const std::wstring color = UpperCase(colorName);
  if (color == L"NORMALCOLOR") return Office11Scheme::Blue;
  if (color == L"HOMESTEAD") return Office11Scheme::Olive;
  if (color == L"METALLIC") return Office11Scheme::Silver;
  return Office11Scheme::None;
}

Office11Table BuildOffice11Table(Office11Scheme scheme, const ScreenColors& screen) {
  Office11Table table;
  table.scheme = scheme;
  const std::uint32_t* palette = nullptr;
  switch (scheme) {
    case Office11Scheme::Blue: palette = kBluePalette; table.gradientBias = kBlueBias; break;
    case Office11Scheme::Olive: palette = kOlivePalette; table.gradientBias = kOliveBias; break;
    case Office11Scheme::Silver: palette = kSilverPalette; table.gradientBias = kSilverBias; break;
    case Office11Scheme::None: table.gradientBias = kSystemBias; break;
  }
  if (palette) {
    for (int i = 0; i < kOffice11ColorCount; ++i) table.colors[i] = FromHexRgb(palette[i]);
    return table;
  }
  const RuleEvaluator evaluator(screen);
  for (int i = 0; i < kOffice11ColorCount; ++i) table.colors[i] = evaluator.Evaluate(kSystemRules[i]);
  for (int i = 0; i < kOffice11ColorCount; ++i) table.colors[i] = table.colors[ValueSource(i)];
  return table;
}

void RecolorMonoPixels(std::vector<RgbColor>& pixels, RgbColor light, RgbColor dark, const ScreenColors& screen) {
  if (pixels.empty()) return;
  const RgbColor transparent = pixels.front() & 0xFFFFFF;
  auto recolored = [transparent](RgbColor p) { return (p & 0xFFFFFF) != transparent && (p & 0xFFFFFF) != 0; };
  int lowest = 255, highest = 1;
  for (RgbColor p : pixels) {
    if (!recolored(p)) continue;
    lowest = std::min(lowest, RedOf(p));
    highest = std::max(highest, RedOf(p));
  }
  // Equal ends would make every pixel vanish into its background.
  if (light == dark) dark = light == 0 ? MakeRgb(255, 255, 255) : 0;
  for (RgbColor& p : pixels) {
    if (!recolored(p)) continue;
    // One red level only: there is no range to spread, so all take the dark end.
    const int percent = highest > lowest ? MulDiv64(RedOf(p) - lowest, 100, highest - lowest) : 0;
    p = screen.Nearest(BlendRgb(light, dark, percent));
  }
}

}  // namespace snibbet
