#include "visual/color_mix.h"

#include <gtest/gtest.h>

namespace snibbet {
namespace {

constexpr RgbColor Rgb(int r, int g, int b) {
  return static_cast<RgbColor>(r | (g << 8) | (b << 16));
}

TEST(MixColors, ClassicSchemeLightHighlight) {
  const RgbColor face = Rgb(212, 208, 200), highlight = Rgb(10, 36, 106), window = Rgb(255, 255, 255);
  // red: 212*14/100 = 29.68 -> 30, 10*44/100 = 4.4 -> 4, 255*40/100 = 102
  EXPECT_EQ(MixColors(face, highlight, window, 14, 44, 40), Rgb(136, 147, 177));
}

TEST(MixColors, NegativeShareAndClamping) {
  const RgbColor face = Rgb(100, 100, 100), highlight = Rgb(0, 0, 255), window = Rgb(255, 255, 255);
  // red: -2 + 0 + 184 = 182; blue: -2 + 77 + 184 = 259 -> 255
  EXPECT_EQ(MixColors(face, highlight, window, -2, 30, 72), Rgb(182, 182, 255));
  EXPECT_EQ(MixColors(face, highlight, window, -100, 0, 0), Rgb(0, 0, 0));
}

TEST(MixColors, BlackOrWhiteFaceGivesTheHighlight) {
  const RgbColor highlight = Rgb(51, 153, 255);
  EXPECT_EQ(MixColors(Rgb(0, 0, 0), highlight, Rgb(255, 255, 255), 14, 44, 40), highlight);
  EXPECT_EQ(MixColors(Rgb(255, 255, 255), highlight, Rgb(0, 0, 0), 14, 44, 40), highlight);
}

TEST(SoftBlend, WhiteWithHighlight) {
  const RgbColor white = Rgb(255, 255, 255), highlight = Rgb(51, 153, 255);
  // red: m = 153, v = 153 + 72*0.6 = 196.2 -> 196
  // green: m = 204, v = 204 + 21*0.6 = 216.6 -> 217; blue: m = 255, v = 255 - 18 = 237
  EXPECT_EQ(SoftBlend(white, highlight, false), Rgb(196, 217, 237));
  // darker: v - (122 - v) * 0.25: red 196.2 + 18.55 = 214.75 -> 215,
  // green 216.6 + 23.65 = 240.25 -> 240, blue 237 + 28.75 = 265.75 -> 255
  EXPECT_EQ(SoftBlend(white, highlight, true), Rgb(215, 240, 255));
}

TEST(SoftBlend, BlackPairStaysInRange) {
  // m = 0, v = 135; darker: 135 - (-13)*0.25 = 138.25 -> 138
  EXPECT_EQ(SoftBlend(0, 0, false), Rgb(135, 135, 135));
  EXPECT_EQ(SoftBlend(0, 0, true), Rgb(138, 138, 138));
}

}  // namespace
}  // namespace snibbet
