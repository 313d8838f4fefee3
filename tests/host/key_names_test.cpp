#include "core/key_names.h"

#include <gtest/gtest.h>

namespace snibbet {
namespace {

TEST(KeyNames, NamedCodesCountAndGaps) {
  int named = 0;
  for (int vk = 1; vk <= 255; ++vk) named += VirtualKeyName(vk).empty() ? 0 : 1;
  EXPECT_EQ(named, 189);
  for (int vk : {7, 10, 11, 14, 15, 22, 26, 58, 64, 94, 136, 143, 152, 159, 184, 185, 193, 218, 224, 225,
                 227, 228, 230, 232, 255}) {
    EXPECT_TRUE(VirtualKeyName(vk).empty()) << vk;
  }
  EXPECT_TRUE(VirtualKeyName(0).empty());
  EXPECT_TRUE(VirtualKeyName(256).empty());
  EXPECT_TRUE(VirtualKeyName(-5).empty());
}

TEST(KeyNames, SpotValues) {
  EXPECT_EQ(VirtualKeyName(91), "Win");
  EXPECT_EQ(VirtualKeyName(92), "RWin");
  EXPECT_EQ(VirtualKeyName(165), "AltGr");
  EXPECT_EQ(VirtualKeyName(222), "\"");
  EXPECT_EQ(VirtualKeyName(223), "8");
  EXPECT_EQ(VirtualKeyName(101), "Nm 5");
  EXPECT_EQ(VirtualKeyName(135), "F24");
  EXPECT_EQ(VirtualKeyName(254), "CLEAR");
}

TEST(KeyNames, LookupByNameTakesLowestCode) {
  EXPECT_EQ(VirtualKeyByName("NM 5"), 101);
  EXPECT_EQ(VirtualKeyByName("ESC"), 27);
  EXPECT_EQ(VirtualKeyByName("SHIFT"), 16);
  EXPECT_EQ(VirtualKeyByName("CTRL"), 17);
  EXPECT_EQ(VirtualKeyByName("\\"), 220);
  EXPECT_EQ(VirtualKeyByName("PA1"), 235);
  EXPECT_EQ(VirtualKeyByName("ATTN"), 240);
  EXPECT_EQ(VirtualKeyByName("NOPE"), 0);
  EXPECT_EQ(VirtualKeyByName(""), 0);
}

}  // namespace
}  // namespace snibbet
