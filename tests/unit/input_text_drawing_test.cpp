#include "core/text_drawing.h"

#include <gtest/gtest.h>

#include "visual/system_colors.h"

namespace snibbet {
namespace {

constexpr COLORREF kPaper = RGB(10, 20, 30);

// A 120 x 40 bitmap filled with kPaper, black text in the system font.
class TextCanvas : public ::testing::Test {
 protected:
  void SetUp() override {
    HDC screen = GetDC(nullptr);
    dc = CreateCompatibleDC(screen);
    bitmap = CreateCompatibleBitmap(screen, 120, 40);
    ReleaseDC(nullptr, screen);
    old = SelectObject(dc, bitmap);
    RECT all{0, 0, 120, 40};
    HBRUSH paper = CreateSolidBrush(kPaper);
    FillRect(dc, &all, paper);
    DeleteObject(paper);
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    SetTextColor(dc, RGB(0, 0, 0));
  }
  void TearDown() override {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  int CountPixels(const RECT& r, COLORREF color) const {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += GetPixel(dc, x, y) == color ? 1 : 0;
    return n;
  }

  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ old = nullptr;
};

TEST_F(TextCanvas, LimeBrushDrawsTextWithoutBackground) {
  const RECT clip{0, 0, 60, 20};
  DrawTextOutW(dc, {kTransparentBrushColor, false, 0}, clip, 2, L"Wg", 2);
  EXPECT_GT(CountPixels(clip, RGB(0, 0, 0)), 0);
  EXPECT_EQ(CountPixels(clip, kTransparentBrushColor), 0);
  EXPECT_GT(CountPixels(clip, kPaper), 0);
}

TEST_F(TextCanvas, SolidBrushFillsTheClipRectangleOnly) {
  const RECT clip{10, 5, 50, 25};
  DrawTextOutW(dc, {RGB(255, 255, 255), false, 0}, clip, 12, L"Wide text that does not fit", 6);
  EXPECT_EQ(CountPixels(clip, kPaper), 0);
  EXPECT_GT(CountPixels(clip, RGB(255, 255, 255)), 0);
  const RECT right{50, 0, 120, 40};
  EXPECT_EQ(CountPixels(right, kPaper), 70 * 40);  // nothing outside the clip
}

TEST_F(TextCanvas, LoneAmpersandIsShownNotTakenAsPrefix) {
  RECT rect{0, 0, 60, 30};
  EXPECT_GT(DrawTextInRect(dc, {0, true, 0}, rect, L"&", {TextFormat::Left, TextFormat::Top}), 0);
  EXPECT_GT(CountPixels({0, 0, 60, 30}, RGB(0, 0, 0)), 0);
}

TEST_F(TextCanvas, CalcRectMeasuresWithoutDrawing) {
  RECT rect{0, 0, 0, 0};
  DrawTextInRect(dc, {}, rect, L"Measure me", {TextFormat::CalcRect, TextFormat::SingleLine});
  EXPECT_GT(rect.right, 20);
  EXPECT_GT(rect.bottom, 5);
  EXPECT_EQ(CountPixels({0, 0, 120, 40}, kPaper), 120 * 40);
}

TEST(SystemColors, SystemColorValuesAreLookedUp) {
  EXPECT_EQ(ColorToRgb(0xFF000000u | COLOR_HIGHLIGHT), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(ColorToRgb(0x00123456u), 0x00123456u);
  // A system colour blends like its value.
  EXPECT_EQ(SoftBlendColor(0xFF000000u | COLOR_WINDOW, 0xFF000000u | COLOR_HIGHLIGHT, true),
            SoftBlendColor(GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_HIGHLIGHT), true));
}

}  // namespace
}  // namespace snibbet
