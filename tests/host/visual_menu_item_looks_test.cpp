// Where the colour swatch sits in each menu look, and the XP look's colours
// per item state.
#include <gtest/gtest.h>

#include "tests/host/visual_test_screen.h"
#include "visual/menu_item_looks.h"

namespace snibbet {
namespace {

TEST(SwatchGeometryTest, EachLookHasItsFixedSwatchFramedAroundTheFill) {
  const SwatchRects xp = SwatchGeometry(MenuLook::Xp, 10, 100);
  EXPECT_EQ(xp.frame, (ItemRect{15, 106, 27, 119}));  // 12 wide, one pixel taller
  EXPECT_EQ(xp.fill, (ItemRect{16, 107, 26, 118}));
  const SwatchRects standard = SwatchGeometry(MenuLook::Standard, 0, 0);
  EXPECT_EQ(standard.frame, (ItemRect{3, 4, 15, 16}));
  EXPECT_EQ(standard.fill, (ItemRect{4, 5, 14, 15}));
}

TEST(SwatchGeometryTest, TheCheckedBoxOfTheXpLookShowsAroundTheSwatch) {
  const ItemRect box = XpCheckBox(0, 0);
  const ItemRect swatch = SwatchGeometry(MenuLook::Xp, 0, 0).frame;
  EXPECT_LT(box.left, swatch.left);
  EXPECT_LT(box.top, swatch.top);
  EXPECT_GT(box.right, swatch.right);
  EXPECT_GT(box.bottom, swatch.bottom);
  EXPECT_LE(box.right, kXpGutterWidth);
  EXPECT_LE(box.bottom, kXpItemHeight);
}

TEST(SwatchColorTest, SystemColoursAreLookedUp) {
  testing::FakeScreen screen;
  EXPECT_EQ(SwatchColor(0, screen), 0u);
  EXPECT_EQ(SwatchColor(0x00FFFF, screen), 0x00FFFFu);
  EXPECT_EQ(SwatchColor(0xFF000000u | kSysWindow, screen), FromHexRgb(0xFFFFFF));
  screen.Set(kSysWindow, FromHexRgb(0x102030));
  EXPECT_EQ(SwatchColor(0xFF000000u | kSysWindow, screen), FromHexRgb(0x102030));
}

TEST(XpItemLookTest, SelectionAndCheckShowInTheHighlightAndDisabledTextIsGray) {
  testing::FakeScreen screen;
  screen.Set(kSysMenuText, FromHexRgb(0x000000));
  const RgbColor highlight = FromHexRgb(0x0A246A);

  const XpItemLook plain = XpItemLookFor({}, screen);
  EXPECT_FALSE(plain.framed);
  EXPECT_FALSE(plain.boxed);
  EXPECT_EQ(plain.gutter, FromHexRgb(0xD4D0C8));
  EXPECT_NE(plain.background, plain.gutter);  // the image column stands out
  EXPECT_EQ(plain.background & 0x010101, 0u);  // blended colours are snapped to the screen
  EXPECT_EQ(plain.text, 0u);

  const XpItemLook selected = XpItemLookFor({.selected = true}, screen);
  EXPECT_TRUE(selected.framed);
  EXPECT_EQ(selected.frame, highlight);
  EXPECT_NE(selected.fill, plain.background);
  EXPECT_GT(BlueOf(selected.fill), RedOf(selected.fill));  // a pale highlight
  EXPECT_EQ(selected.background, plain.background);

  const XpItemLook disabled = XpItemLookFor({.selected = true, .disabled = true}, screen);
  EXPECT_EQ(disabled.text, FromHexRgb(0x808080));
  EXPECT_TRUE(disabled.framed);
  EXPECT_EQ(disabled.fill, plain.background);  // framed, but not offered

  const XpItemLook checked = XpItemLookFor({.checked = true}, screen);
  const XpItemLook checkedSelected = XpItemLookFor({.selected = true, .checked = true}, screen);
  EXPECT_TRUE(checked.boxed);
  EXPECT_FALSE(checked.framed);
  EXPECT_EQ(checked.boxFrame, highlight);
  // Under the selection the box is darker than the selection's fill, so it still shows.
  EXPECT_LT(RedOf(checkedSelected.boxFill), RedOf(checkedSelected.fill));
  EXPECT_LT(RedOf(checkedSelected.boxFill), RedOf(checked.boxFill));
}

}  // namespace
}  // namespace snibbet
