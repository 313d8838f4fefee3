// The colour painters of menu items: the base look everywhere but the
// swatch, and the swatch framed in the menu-text colour in every state.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "ui/gdi.h"
#include "ui/menu.h"
#include "visual/color_swatch_painters.h"

namespace snibbet {
namespace {

constexpr int kWidth = 160;

// An item painted into a 32-bit picture; the pixels as 0x00BBGGRR.
class Canvas {
 public:
  explicit Canvas(int height) : height_(height) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    picture_.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0));
    selected_ = std::make_unique<ui::SelectedObject>(dc_, picture_.Get());
  }
  void Paint(ui::MenuItemPainter& painter, const ui::MenuItem& item, UINT state) {
    painter.Paint({item, dc_, {0, 0, kWidth, height_}, state, nullptr});
    GdiFlush();
  }
  COLORREF At(int x, int y) const {
    const std::uint32_t bgr = bits_[y * kWidth + x];
    return RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF);
  }
  int Height() const { return height_; }

 private:
  int height_;
  ui::MemoryDC dc_;
  ui::Bitmap picture_;
  std::uint32_t* bits_ = nullptr;
  std::unique_ptr<ui::SelectedObject> selected_;
};

struct Look {
  MenuLook look;
  ItemRect frame;  // where the swatch's frame lies in an item at 0, 0
};

class ColorPainterTest : public ::testing::TestWithParam<Look> {
 protected:
  std::unique_ptr<ui::MenuItemPainter> Base() const {
    if (GetParam().look == MenuLook::Xp) return std::make_unique<XpMenuItemPainter>();
    return std::make_unique<ui::StandardMenuItemPainter>();
  }
  static bool InFrame(const ItemRect& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
  }
};

TEST_P(ColorPainterTest, PaintsTheBaseLookAndTheSwatchInEveryState) {
  const ItemRect f = GetParam().frame;
  auto painter = MakeColorMenuItemPainter(GetParam().look);
  auto base = Base();
  ui::MenuItem item(L"miTeal", L"Teal\tCtrl+T");
  item.radio = true;
  item.tag = 0x808000;  // teal
  const COLORREF frameColor = GetSysColor(COLOR_MENUTEXT);
  for (UINT state : {0u, UINT{ODS_SELECTED}, UINT{ODS_CHECKED}, UINT{ODS_SELECTED | ODS_CHECKED},
                     UINT{ODS_GRAYED | ODS_DISABLED}}) {
    SCOPED_TRACE(state);
    // Taller than the look's items: the swatch keeps its size and place.
    Canvas colored(40), plain(40);
    colored.Paint(*painter, item, state);
    plain.Paint(*base, item, state);
    int differing = 0;
    for (int y = 0; y < colored.Height(); ++y) {
      for (int x = 0; x < kWidth; ++x) {
        if (InFrame(f, x, y)) continue;
        differing += colored.At(x, y) != plain.At(x, y);
      }
    }
    EXPECT_EQ(differing, 0);
    for (int x = f.left; x < f.right; ++x) {
      EXPECT_EQ(colored.At(x, f.top), frameColor);
      EXPECT_EQ(colored.At(x, f.bottom - 1), frameColor);
    }
    for (int y = f.top; y < f.bottom; ++y) {
      EXPECT_EQ(colored.At(f.left, y), frameColor);
      EXPECT_EQ(colored.At(f.right - 1, y), frameColor);
    }
    EXPECT_EQ(colored.At(f.left + 1, f.top + 1), RGB(0, 128, 128));
    EXPECT_EQ(colored.At(f.right - 2, f.bottom - 2), RGB(0, 128, 128));
  }
}

TEST_P(ColorPainterTest, BlackTagAndSystemColourTagFillTheSwatch) {
  const ItemRect f = GetParam().frame;
  auto painter = MakeColorMenuItemPainter(GetParam().look);
  ui::MenuItem black(L"miBlack", L"Black"), automatic(L"miAutomatic", L"Automatic");
  black.tag = 0;
  automatic.tag = static_cast<std::intptr_t>(0xFF000000u | COLOR_WINDOW);
  Canvas a(24), b(24);
  a.Paint(*painter, black, 0);
  b.Paint(*painter, automatic, ODS_SELECTED);
  EXPECT_EQ(a.At(f.left + 3, f.top + 3), RGB(0, 0, 0));
  EXPECT_EQ(a.At(f.left, f.top), GetSysColor(COLOR_MENUTEXT));
  EXPECT_EQ(b.At(f.left + 3, f.top + 3), GetSysColor(COLOR_WINDOW));
}

TEST_P(ColorPainterTest, SeparatorsGetNoSwatch) {
  auto painter = MakeColorMenuItemPainter(GetParam().look);
  auto base = Base();
  ui::MenuItem line(L"line", L"-");
  Canvas colored(24), plain(24);
  colored.Paint(*painter, line, 0);
  plain.Paint(*base, line, 0);
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < kWidth; ++x) ASSERT_EQ(colored.At(x, y), plain.At(x, y)) << x << "," << y;
  }
}

INSTANTIATE_TEST_SUITE_P(BothLooks, ColorPainterTest,
                         ::testing::Values(Look{MenuLook::Xp, {5, 6, 17, 19}},
                                           Look{MenuLook::Standard, {3, 4, 15, 16}}),
                         [](const auto& info) { return info.param.look == MenuLook::Xp ? "Xp" : "Standard"; });

}  // namespace
}  // namespace snibbet
