#include "core/clipboard_format_rules.h"

#include <gtest/gtest.h>

namespace snibbet {
namespace {

constexpr std::uint32_t kText = 1, kBitmap = 2, kMetafilePict = 3, kDib = 8, kPalette = 9,
                        kUnicodeText = 13, kEnhMetafile = 14, kHDrop = 15, kDibV5 = 17;
constexpr std::uint32_t kRegistered = 0xC0A0;

TEST(ClipboardFormatRules, OleEmbeddingFormatsAreNeverSaved) {
  for (bool fullSet : {false, true}) {
    EXPECT_FALSE(ShouldSaveClipboardFormat(kRegistered, L"Embed Source", fullSet));
    EXPECT_FALSE(ShouldSaveClipboardFormat(kRegistered, L"Native", fullSet));
    EXPECT_FALSE(ShouldSaveClipboardFormat(kRegistered, L"NATIVE", fullSet));
  }
}

TEST(ClipboardFormatRules, FullSetDropsMetafilesAndOleObjectFormats) {
  EXPECT_TRUE(ShouldSaveClipboardFormat(kEnhMetafile, L"", false));
  EXPECT_TRUE(ShouldSaveClipboardFormat(kRegistered, L"DataObject", false));
  EXPECT_TRUE(ShouldSaveClipboardFormat(kRegistered, L"Ole Private Data", false));

  EXPECT_FALSE(ShouldSaveClipboardFormat(kEnhMetafile, L"", true));
  EXPECT_FALSE(ShouldSaveClipboardFormat(kMetafilePict, L"", true));
  EXPECT_FALSE(ShouldSaveClipboardFormat(kRegistered, L"DataObject", true));
  EXPECT_FALSE(ShouldSaveClipboardFormat(kRegistered, L"Ole Private Data", true));
  for (std::uint32_t kept : {kText, kUnicodeText, kDibV5, kHDrop}) {
    EXPECT_TRUE(ShouldSaveClipboardFormat(kept, L"", true)) << kept;
  }
  EXPECT_TRUE(ShouldSaveClipboardFormat(kRegistered, L"HTML Format", true));
}

// Handles that are not global memory must never be treated as such.
TEST(ClipboardFormatRules, HandleFormatsAreNotCopiedAsMemory) {
  EXPECT_EQ(ClipboardFormatDataKind(kEnhMetafile), ClipboardDataKind::EnhancedMetafile);
  for (std::uint32_t f : {0u, kBitmap, kPalette, kMetafilePict, 0x80u, 0x82u, 0x83u, 0x8Eu, 0x200u, 0x2FFu,
                          0x300u, 0x3FFu, 0x10000u}) {
    EXPECT_EQ(ClipboardFormatDataKind(f), ClipboardDataKind::NotSaveable) << f;
    EXPECT_FALSE(ShouldSaveClipboardFormat(f, L"", false)) << f;
  }
  for (std::uint32_t f : {kText, 4u, kDib, kUnicodeText, kHDrop, 16u, kDibV5, 0x81u, 0x400u, kRegistered}) {
    EXPECT_EQ(ClipboardFormatDataKind(f), ClipboardDataKind::GlobalMemory) << f;
  }
}

}  // namespace
}  // namespace snibbet
