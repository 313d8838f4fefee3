#include "core/window_geometry.h"

#include <gtest/gtest.h>

namespace snibbet {
namespace {

constexpr ScreenRect kArea{0, 0, 1280, 984};  // a work area above a 40-pixel task bar

TEST(FitIntoArea, WindowInsideStaysPut) {
  const ScreenPoint p = FitIntoArea({100, 100, 400, 300}, kArea);
  EXPECT_EQ(p.x, 100);
  EXPECT_EQ(p.y, 100);
}

TEST(FitIntoArea, EachEdgeIsPulledBackIn) {
  ScreenPoint p = FitIntoArea({-50, -20, 250, 180}, kArea);
  EXPECT_EQ(p.x, 0);
  EXPECT_EQ(p.y, 0);
  p = FitIntoArea({1200, 900, 1500, 1100}, kArea);
  EXPECT_EQ(p.x, 980);
  EXPECT_EQ(p.y, 784);
}

TEST(FitIntoArea, WindowLargerThanTheAreaKeepsRightAndBottomEdgesOnIt) {
  const ScreenPoint p = FitIntoArea({-100, -100, 1400, 1100}, kArea);
  EXPECT_EQ(p.x, 1280 - 1500);
  EXPECT_EQ(p.y, 984 - 1200);
}

TEST(FitIntoArea, AreaOfASecondMonitorWithNegativeCoordinates) {
  const ScreenPoint p = FitIntoArea({-100, 50, 200, 250}, {-1920, 0, 0, 1040});
  EXPECT_EQ(p.x, -300);
  EXPECT_EQ(p.y, 50);
}

}  // namespace
}  // namespace snibbet
