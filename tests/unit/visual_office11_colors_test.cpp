#include "visual/office11_colors.h"

#include <gtest/gtest.h>

#include "tests/unit/visual_fake_theme_api.h"
#include "visual/theme_binding.h"

namespace snibbet {
namespace {

using testing::FakeThemeLibrary;

COLORREF NearestOnScreen(COLORREF color) {
  HDC screen = GetDC(nullptr);
  const COLORREF nearest = GetNearestColor(screen, color);
  ReleaseDC(nullptr, screen);
  return nearest;
}

COLORREF BrushColor(HBRUSH brush) {
  LOGBRUSH info{};
  return brush && GetObjectW(brush, sizeof(info), &info) ? info.lbColor : CLR_INVALID;
}

// Starts the theme manager without the theme library: the classic look.
class Office11ColorScheme : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeThemeLibrary::Reset();
    ThemeLibrarySource missing;
    missing.libraryName = L"SnibbetNoSuchThemeLibrary.dll";
    StartThemeManager(missing);
  }
  void TearDown() override {
    while (Office11Brush(21)) Office11ColorsRelease();
    StopThemeManager();
  }
};

TEST_F(Office11ColorScheme, ClassicLookComesFromTheSystemColours) {
  Office11ColorsAddRef();
  EXPECT_EQ(DetectLunaScheme(), Office11Scheme::None);
  EXPECT_EQ(Office11Colors().scheme, Office11Scheme::None);
  EXPECT_EQ(Office11GradientBias(), 75);
  EXPECT_EQ(Office11Color(21), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(Office11Color(46), NearestOnScreen(GetSysColor(COLOR_BTNSHADOW)));
  EXPECT_EQ(Office11Color(47), Office11Color(46));
  EXPECT_EQ(Office11Color(48), GetSysColor(COLOR_HIGHLIGHTTEXT));
  EXPECT_EQ(Office11Color(-1), 0u);
  EXPECT_EQ(Office11Color(49), 0u);

  for (int entry : {12, 13, 14, 15, 18, 19, 20, 21, 26, 27, 28, 29}) {
    EXPECT_EQ(BrushColor(Office11Brush(entry)), Office11Color(entry)) << entry;
  }
  EXPECT_EQ(Office11Brush(0), nullptr);
  EXPECT_EQ(BrushColor(Office11BorderBrush()), BlendColors(Office11Color(4), Office11Color(11), 50));

  Office11ColorsRelease();
  EXPECT_EQ(Office11Brush(21), nullptr);
  EXPECT_EQ(Office11BorderBrush(), nullptr);
  EXPECT_EQ(Office11Color(21), GetSysColor(COLOR_HIGHLIGHT));  // the colours stay readable
}

TEST_F(Office11ColorScheme, LaterUsersShareTheTableAndRefreshFollowsTheSystem) {
  const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  const COLORREF changed = highlight == RGB(200, 16, 32) ? RGB(16, 200, 32) : RGB(200, 16, 32);
  const INT element = COLOR_HIGHLIGHT;

  Office11ColorsAddRef();
  const HBRUSH first = Office11Brush(21);
  ASSERT_TRUE(SetSysColors(1, &element, &changed));
  Office11ColorsAddRef();  // a second user neither refills nor makes new brushes
  EXPECT_EQ(Office11Color(21), highlight);
  EXPECT_EQ(Office11Brush(21), first);

  Office11ColorsRefresh();
  EXPECT_EQ(Office11Color(21), changed);
  EXPECT_EQ(BrushColor(Office11Brush(21)), changed);

  Office11ColorsRelease();
  EXPECT_NE(Office11Brush(21), nullptr);  // one user left
  Office11ColorsRelease();
  EXPECT_EQ(Office11Brush(21), nullptr);
  Office11ColorsRelease();  // one too many is harmless
  SetSysColors(1, &element, &highlight);

  Office11ColorsRefresh();  // without users: the table only
  EXPECT_EQ(Office11Color(21), highlight);
  EXPECT_EQ(Office11Brush(21), nullptr);
}

TEST_F(Office11ColorScheme, LunaStylesGiveTheirPalettes) {
  StopThemeManager();
  StartThemeManager(FakeThemeLibrary::Source());
  Office11ColorsAddRef();
  EXPECT_EQ(Office11Colors().scheme, Office11Scheme::Blue);
  EXPECT_EQ(Office11Color(21), RGB(0x00, 0x00, 0x80));
  EXPECT_EQ(Office11Color(46), RGB(0x59, 0x87, 0xD6));
  EXPECT_EQ(Office11Color(47), RGB(0x03, 0x38, 0x93));
  EXPECT_EQ(Office11GradientBias(), 41);

  FakeThemeLibrary::color = L"Metallic";
  Office11ColorsRefresh();
  EXPECT_EQ(Office11Colors().scheme, Office11Scheme::Silver);
  EXPECT_EQ(Office11Color(21), RGB(0x4B, 0x4B, 0x6F));
  EXPECT_EQ(BrushColor(Office11Brush(21)), RGB(0x4B, 0x4B, 0x6F));

  FakeThemeLibrary::failName = true;  // a failing query falls back to the system colours
  Office11ColorsRefresh();
  EXPECT_EQ(Office11Colors().scheme, Office11Scheme::None);
  EXPECT_EQ(Office11Color(21), GetSysColor(COLOR_HIGHLIGHT));

  FakeThemeLibrary::failName = false;
  FakeThemeLibrary::active = false;  // styles switched off
  SendMessageW(ThemeChangeWindow(), WM_THEMECHANGED, 0, 0);
  EXPECT_EQ(DetectLunaScheme(), Office11Scheme::None);
}

TEST_F(Office11ColorScheme, ShadeTintAndBlendTakeSystemColourReferences) {
  EXPECT_EQ(ShadeColor(RGB(255, 255, 255), 85), RGB(0xD9, 0xD9, 0xD9));
  EXPECT_EQ(TintColor(RGB(255, 255, 255), 55), RGB(255, 255, 255));
  EXPECT_EQ(ShadeColor(0xFF000000u | COLOR_WINDOW, 100), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(TintColor(0xFF000000u | COLOR_BTNTEXT, 0), RGB(255, 255, 255));
  EXPECT_EQ(BlendColors(0xFF000000u | COLOR_HIGHLIGHT, RGB(0, 0, 0), 100),
            NearestOnScreen(GetSysColor(COLOR_HIGHLIGHT)));
}

// A 32-bit top-down drawing surface whose pixels can be read back.
class Surface {
 public:
  Surface(int width, int height) : width_(width) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
    for (int i = 0; i < width * height; ++i) bits_[i] = 0x00ABCDEF;  // an unpainted marker
  }
  ~Surface() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  HDC Dc() const { return dc_; }
  COLORREF Pixel(int x, int y) const {
    GdiFlush();
    const std::uint32_t p = bits_[y * width_ + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  bool Unpainted(int x, int y) const { return Pixel(x, y) == RGB(0xAB, 0xCD, 0xEF); }

 private:
  int width_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
  std::uint32_t* bits_ = nullptr;
};

TEST_F(Office11ColorScheme, GradientFillsBandsFromFirstOverMiddleToSecond) {
  Office11ColorsAddRef();  // classic look: bias 75
  const COLORREF white = RGB(255, 255, 255), black = RGB(0, 0, 0);
  Surface surface(12, 10);

  FillGradientRect(surface.Dc(), RECT{0, 0, 12, 10}, white, false, black);
  EXPECT_EQ(surface.Pixel(3, 0), white);
  EXPECT_EQ(surface.Pixel(3, 5), RGB(159, 159, 159));  // the middle: 255 − 255 × 75 / 200
  EXPECT_EQ(surface.Pixel(3, 9), black);
  EXPECT_EQ(surface.Pixel(11, 9), black);

  // One pixel wide: one band in the middle colour; zero wide: nothing at all.
  Surface thin(3, 3);
  FillGradientRect(thin.Dc(), RECT{1, 0, 2, 3}, white, true, black);
  EXPECT_EQ(thin.Pixel(1, 0), RGB(159, 159, 159));
  EXPECT_EQ(thin.Pixel(1, 2), RGB(159, 159, 159));
  EXPECT_TRUE(thin.Unpainted(0, 0));
  EXPECT_TRUE(thin.Unpainted(2, 0));
  FillGradientRect(thin.Dc(), RECT{0, 0, 0, 3}, white, true, black);
  FillGradientRect(thin.Dc(), RECT{2, 0, 1, 3}, white, true, black);
  FillGradientRect(thin.Dc(), RECT{0, 0, 3, 0}, white, true, black);  // bands of no height
  EXPECT_TRUE(thin.Unpainted(0, 0));
  EXPECT_TRUE(thin.Unpainted(2, 2));

  // Equal colours (one of them named as a system colour) fill in one piece.
  FillGradientRect(surface.Dc(), RECT{0, 0, 12, 10}, 0xFF000000u | COLOR_WINDOW, true, GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(surface.Pixel(0, 0), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(surface.Pixel(6, 5), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(surface.Pixel(11, 9), GetSysColor(COLOR_WINDOW));
}

TEST_F(Office11ColorScheme, PicturesAreLoadedAndTheArrowRecoloured) {
  Office11ColorsAddRef();
  const HBITMAP arrow = Office11Bitmap(Office11Picture::SubmenuExpand);
  ASSERT_NE(arrow, nullptr);
  EXPECT_NE(Office11Bitmap(Office11Picture::ExpandMinus), nullptr);
  EXPECT_NE(Office11Bitmap(Office11Picture::ExpandPlus), nullptr);

  Surface surface(8, 9);
  HDC source = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(source, arrow);
  BitBlt(surface.Dc(), 0, 0, 8, 9, source, 0, 0, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
  EXPECT_EQ(surface.Pixel(0, 0), RGB(255, 255, 255));   // the background stays
  EXPECT_EQ(surface.Pixel(2, 1), Office11Color(0));      // the lightest grey
  EXPECT_EQ(surface.Pixel(2, 4), Office11Color(1));      // the darkest

  Office11ColorsRelease();
  EXPECT_EQ(Office11Bitmap(Office11Picture::SubmenuExpand), nullptr);
}

}  // namespace
}  // namespace snibbet
