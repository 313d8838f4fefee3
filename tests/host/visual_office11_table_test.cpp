#include "visual/office11_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <set>

#include "tests/host/visual_test_screen.h"

namespace snibbet {
namespace {

using testing::FakeScreen;

RgbColor Hex(std::uint32_t rrggbb) { return FromHexRgb(rrggbb); }

// Relative luminance of a colour on screen, as for text contrast.
double Luminance(RgbColor color) {
  const auto linear = [](int channel) {
    const double c = channel / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(RedOf(color)) + 0.7152 * linear(GreenOf(color)) + 0.0722 * linear(BlueOf(color));
}

double Contrast(RgbColor a, RgbColor b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The header of the settings window and the wizard in every look: its
// gradient runs from light to dark, its caption (large bold text) is readable
// on the dark end and lighter than the light one, and each visual style's
// palette gives the header and frame a look of its own.
TEST(VisualOffice11Table, EveryLookHasAReadableHeaderOfItsOwn) {
  const FakeScreen screen;
  std::set<std::array<RgbColor, 3>> looks;
  for (const Office11Scheme scheme :
       {Office11Scheme::None, Office11Scheme::Blue, Office11Scheme::Olive, Office11Scheme::Silver}) {
    SCOPED_TRACE(static_cast<int>(scheme));
    const Office11Table table = BuildOffice11Table(scheme, screen);
    EXPECT_EQ(table.scheme, scheme);
    const RgbColor light = table.colors[kOffice11HeaderStartEntry];
    const RgbColor dark = table.colors[kOffice11HeaderEndEntry];
    const RgbColor caption = table.colors[kOffice11HeaderCaptionEntry];
    EXPECT_GE(Luminance(light), Luminance(dark));
    EXPECT_GT(Luminance(caption), Luminance(light));
    EXPECT_GE(Contrast(caption, dark), 3.0);
    looks.insert({light, dark, table.colors[kOffice11FrameEntry]});
  }
  EXPECT_EQ(looks.size(), 4u);
}

// Expected values worked out by hand from the classic grey look; the fake
// screen snaps to even channels, which shows where the nearest colour is taken.
TEST(VisualOffice11Table, SystemColourRulesOnTheClassicLook) {
  const FakeScreen screen;
  const Office11Table t = BuildOffice11Table(Office11Scheme::None, screen);
  EXPECT_EQ(t.scheme, Office11Scheme::None);
  EXPECT_EQ(t.gradientBias, 75);
  const std::pair<int, std::uint32_t> expected[] = {
      {0, 0xF6F4F2},  {1, 0xD6D2CA},  {2, 0xD4D0C8},  {3, 0xF6F6F4},  {4, 0x808080},  {5, 0xA0A0A0},
      {6, 0xBEC6DC},  {8, 0xD2D2D8},  {10, 0xDAD6D0}, {11, 0xD4D0C8}, {12, 0x9E9E9E}, {13, 0xFFFFFF},
      {14, 0xA6A6A6}, {15, 0xFFFFFF}, {16, 0x808080}, {18, 0x808080}, {19, 0xFFFFFF}, {20, 0xB6BED4},
      {21, 0x0A246A}, {27, 0xD2D3D8}, {28, 0x8892B0}, {30, 0x000000}, {31, 0x808080}, {32, 0xD4D0C8},
      {36, 0x808080}, {37, 0x808080}, {38, 0xE8E6E2}, {39, 0xD4D0C8}, {48, 0xFFFFFF},
  };
  for (const auto& [entry, rrggbb] : expected) EXPECT_EQ(t.colors[entry], Hex(rrggbb)) << "entry " << entry;

  // "Same as" entries take the final value of the entry they name, even one
  // that comes later in the table.
  const std::pair<int, int> same[] = {{7, 6},   {9, 8},   {17, 1},  {22, 20}, {23, 20}, {24, 28}, {25, 28},
                                      {26, 1},  {29, 26}, {33, 27}, {34, 2},  {35, 18}, {40, 22}, {41, 23},
                                      {42, 27}, {43, 42}, {44, 28}, {45, 44}, {46, 37}, {47, 37}};
  for (const auto& [entry, source] : same) EXPECT_EQ(t.colors[entry], t.colors[source]) << "entry " << entry;
}

TEST(VisualOffice11Table, SystemColourReferencesAndBlackOrWhiteFace) {
  FakeScreen screen;
  screen.Set(kSysBtnFace, Hex(0xFFFFFF));
  screen.Set(kSysHighlight, Hex(0x3399FF));
  const Office11Table t = BuildOffice11Table(Office11Scheme::None, screen);
  // Every Mix rule yields the highlight (snapped to the screen where the rule says).
  EXPECT_EQ(t.colors[27], Hex(0x3399FF));
  for (int entry : {6, 8, 20, 28}) EXPECT_EQ(t.colors[entry], Hex(0x3298FE)) << entry;
  EXPECT_EQ(t.colors[21], Hex(0x3399FF));

  screen.Set(kSysBtnFace, 0);
  EXPECT_EQ(BuildOffice11Table(Office11Scheme::None, screen).colors[27], Hex(0x3399FF));
}

TEST(VisualOffice11Table, SchemeFromThemeNames) {
  const wchar_t* luna = L"C:\\WINDOWS\\Resources\\Themes\\Luna\\luna.msstyles";
  EXPECT_EQ(SchemeFromThemeNames(luna, L"NormalColor", 5), Office11Scheme::Blue);
  EXPECT_EQ(SchemeFromThemeNames(luna, L"homestead", 5), Office11Scheme::Olive);
  EXPECT_EQ(SchemeFromThemeNames(L"LUNA.MSSTYLES", L"Metallic", 5), Office11Scheme::Silver);
  EXPECT_EQ(SchemeFromThemeNames(luna, L"Royale", 5), Office11Scheme::None);
  // Another style on XP keeps the system colours; from version 6 on the colour name decides.
  EXPECT_EQ(SchemeFromThemeNames(L"C:\\Themes\\Royale.msstyles", L"NormalColor", 5), Office11Scheme::None);
  EXPECT_EQ(SchemeFromThemeNames(L"C:\\Themes\\Aero.msstyles", L"NormalColor", 6), Office11Scheme::Blue);
  EXPECT_EQ(SchemeFromThemeNames(L"", L"", 10), Office11Scheme::None);
  EXPECT_EQ(SchemeFromThemeNames(L"/x/luna.msstyles/", L"NormalColor", 5), Office11Scheme::None);
}

TEST(VisualOffice11Table, MonochromePictureTakesTheTableShades) {
  const FakeScreen screen;
  const RgbColor background = Hex(0xFF00FF), light = Hex(0xF0F0F0), dark = Hex(0x202020);
  std::vector<RgbColor> pixels = {background, Hex(0xC8C8C8), 0, Hex(0x646464), Hex(0x969696), background};
  RecolorMonoPixels(pixels, light, dark, screen);
  EXPECT_EQ(pixels[0], background);
  EXPECT_EQ(pixels[5], background);
  EXPECT_EQ(pixels[2], 0u);             // black stays
  EXPECT_EQ(pixels[1], light);          // the brightest level
  EXPECT_EQ(pixels[3], dark);           // the darkest level
  EXPECT_EQ(pixels[4], Hex(0x888888));  // half way: 8 + 128 = 136

  // One level only, and equal ends: no division by zero, nothing vanishes.
  std::vector<RgbColor> flat = {background, Hex(0x808080), Hex(0x808080)};
  RecolorMonoPixels(flat, light, light, screen);
  EXPECT_EQ(flat[1], 0u);
  std::vector<RgbColor> none;
  RecolorMonoPixels(none, light, dark, screen);
  EXPECT_TRUE(none.empty());
}

}  // namespace
}  // namespace snibbet
