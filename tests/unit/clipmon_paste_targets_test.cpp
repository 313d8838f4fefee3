// The paste-target table: which paste into a window counts as the first.
#include <gtest/gtest.h>

#include "clipboard/paste_targets.h"

namespace snibbet {
namespace {

HWND Window(std::uintptr_t n) { return reinterpret_cast<HWND>(n); }

TEST(ClipmonPasteTargets, FirstPasteThenQuietForThirtySeconds) {
  PasteTargetTable table;
  bool newWindow = false;
  EXPECT_TRUE(table.NotePaste(Window(1), 1000, newWindow));
  EXPECT_TRUE(newWindow);

  newWindow = false;
  EXPECT_FALSE(table.NotePaste(Window(1), 31000, newWindow));  // exactly 30 s: not yet
  EXPECT_FALSE(table.NotePaste(Window(1), 61000, newWindow));  // the tick moved on each paste
  EXPECT_TRUE(table.NotePaste(Window(1), 91001, newWindow));
  EXPECT_FALSE(newWindow);  // known, just not lately
}

TEST(ClipmonPasteTargets, TickWrapCountsAsShortGap) {
  PasteTargetTable table;
  bool newWindow = false;
  table.NotePaste(Window(7), 0xFFFFFF00u, newWindow);
  EXPECT_FALSE(table.NotePaste(Window(7), 0x100u, newWindow));
}

TEST(ClipmonPasteTargets, HundredAndFirstWindowStartsAfresh) {
  PasteTargetTable table;
  bool newWindow = false;
  for (std::uintptr_t n = 1; n <= 100; ++n) table.NotePaste(Window(n), 5, newWindow);
  EXPECT_EQ(table.Size(), 100u);
  EXPECT_TRUE(table.NotePaste(Window(101), 6, newWindow));
  EXPECT_EQ(table.Size(), 1u);
  newWindow = false;
  EXPECT_TRUE(table.NotePaste(Window(1), 7, newWindow));  // forgotten
  EXPECT_TRUE(newWindow);
}

}  // namespace
}  // namespace snibbet
