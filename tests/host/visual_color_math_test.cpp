#include "visual/color_math.h"

#include <gtest/gtest.h>

#include "tests/host/visual_test_screen.h"
#include "visual/gradient.h"

namespace snibbet {
namespace {

const RgbColor kWhite = MakeRgb(255, 255, 255);

TEST(VisualColorMath, MulDivRoundsHalvesAwayFromZeroAndSurvivesZeroDivisor) {
  EXPECT_EQ(MulDiv64(5, 1, 2), 3);
  EXPECT_EQ(MulDiv64(-5, 1, 2), -3);
  EXPECT_EQ(MulDiv64(7, 3, 10), 2);
  EXPECT_EQ(MulDiv64(10, -1, -4), 3);  // 2.5 away from zero
  EXPECT_EQ(MulDiv64(0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF), 0x7FFFFFFF);  // 64-bit product
  EXPECT_EQ(MulDiv64(1, 1, 0), -1);
}

TEST(VisualColorMath, ShadeAndTintRoundHalvesToEven) {
  EXPECT_EQ(ShadeRgb(kWhite, 85), MakeRgb(217, 217, 217));  // 216.75
  EXPECT_EQ(TintRgb(kWhite, 55), kWhite);                    // 140.25 + 114.75 capped
  // 10 × 25 % = 2.5 -> 2, 30 × 25 % = 7.5 -> 8, 50 × 25 % = 12.5 -> 12
  EXPECT_EQ(ShadeRgb(MakeRgb(10, 30, 50), 25), MakeRgb(2, 8, 12));
  // 255 − 255 × 50 % = 127.5 -> 128; 1 × 50 % = 0.5 -> 0, 3 × 50 % = 1.5 -> 2
  EXPECT_EQ(TintRgb(MakeRgb(1, 3, 0), 50), MakeRgb(128, 130, 128));
  EXPECT_EQ(ShadeRgb(MakeRgb(1, 2, 3), 0), 0u);
  EXPECT_EQ(TintRgb(0, 0), kWhite);
  EXPECT_EQ(TintRgb(MakeRgb(9, 99, 199), 100), MakeRgb(9, 99, 199));
  // Out-of-range percentages are held to 0..100, never wrapped.
  EXPECT_EQ(ShadeRgb(kWhite, 250), kWhite);
  EXPECT_EQ(TintRgb(MakeRgb(0, 0, 0), -20), kWhite);
}

TEST(VisualColorMath, BlendAndSystemColourReferences) {
  testing::FakeScreen screen;
  // 22 % of the classic face over white: red 47 + 199 = 246.
  EXPECT_EQ(BlendRgb(FromHexRgb(0xD4D0C8), kWhite, 22), FromHexRgb(0xF6F5F3));
  EXPECT_EQ(BlendRgb(MakeRgb(255, 0, 0), MakeRgb(0, 0, 255), 100), MakeRgb(255, 0, 0));
  EXPECT_EQ(BlendRgb(MakeRgb(255, 0, 0), MakeRgb(0, 0, 255), 0), MakeRgb(0, 0, 255));
  EXPECT_EQ(ToRealColor(0xFF00000F, screen), FromHexRgb(0xD4D0C8));
  EXPECT_EQ(ToRealColor(0x00123456, screen), 0x123456u);
  EXPECT_EQ(FromHexRgb(0x274176), 0x00764127u);
}

TEST(VisualGradient, RunsFromFirstThroughMiddleToSecond) {
  const RgbColor c1 = MakeRgb(200, 100, 0), c2 = MakeRgb(0, 100, 200);
  // bias 40: 200 − 200 × 40 / 200 = 160 and 0 + 40 = 40
  EXPECT_EQ(GradientMiddle(c1, c2, 40), MakeRgb(160, 100, 40));
  const auto bands = TwoPartGradientBands(c1, c2, 40, 10);
  ASSERT_EQ(bands.size(), 10u);
  EXPECT_EQ(bands.front(), c1);
  EXPECT_EQ(bands[5], MakeRgb(160, 100, 40));
  EXPECT_EQ(bands.back(), c2);
  for (std::size_t i = 1; i < bands.size(); ++i) {
    EXPECT_LE(RedOf(bands[i]), RedOf(bands[i - 1])) << i;
    EXPECT_GE(BlueOf(bands[i]), BlueOf(bands[i - 1])) << i;
    EXPECT_EQ(GreenOf(bands[i]), 100) << i;
  }
}

TEST(VisualGradient, OnePixelAndEmptyLengthsNeverDivideByZero) {
  const RgbColor c1 = MakeRgb(255, 255, 255), c2 = 0;
  const auto one = TwoPartGradientBands(c1, c2, 75, 1);
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0], GradientMiddle(c1, c2, 75));
  const auto two = TwoPartGradientBands(c1, c2, 75, 2);
  ASSERT_EQ(two.size(), 2u);
  EXPECT_EQ(two[0], c1);
  EXPECT_EQ(two[1], GradientMiddle(c1, c2, 75));
  EXPECT_EQ(TwoPartGradientBands(c1, c2, 75, 3).back(), c2);
  EXPECT_TRUE(TwoPartGradientBands(c1, c2, 75, 0).empty());
  EXPECT_TRUE(TwoPartGradientBands(c1, c2, 75, -4).empty());
}

TEST(VisualGradient, ChannelsStayInRangeForSteepBiases) {
  for (int bias : {0, 41, 125, 200, 400}) {
    for (int length : {2, 3, 7, 64}) {
      for (RgbColor band : TwoPartGradientBands(MakeRgb(255, 0, 255), MakeRgb(0, 255, 0), bias, length)) {
        EXPECT_EQ(band & 0xFF000000u, 0u) << bias << " " << length;
      }
    }
  }
}

}  // namespace
}  // namespace snibbet
