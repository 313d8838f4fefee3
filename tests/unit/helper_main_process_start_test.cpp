// The process id the main program puts on the helper's command line: only a
// whole, non-zero 32-bit id after the switch names a main program; anything
// else leaves the helper as a copy started by hand.
#include <gtest/gtest.h>

#include "helper/main_process_start.h"

namespace snibbet::helper {
namespace {

TEST(HelperMainProcessStart, TheSwitchNamesTheMainProcessAndAnythingElseNamesNone) {
  EXPECT_EQ(MainProcessNamedIn(L"SnibbetCm.exe /main:1234"), 1234u);
  EXPECT_EQ(MainProcessNamedIn(L"\"C:\\Program Files\\Snibbet\\SnibbetCm.exe\" /main:4294967295"), 4294967295u);
  EXPECT_EQ(MainProcessNamedIn(L"SnibbetCm.exe /main:56 /other"), 56u);

  EXPECT_EQ(MainProcessNamedIn(L"SnibbetCm.exe"), std::nullopt) << "started by hand";
  EXPECT_EQ(MainProcessNamedIn(L"SnibbetCm.exe /main:"), std::nullopt);
  EXPECT_EQ(MainProcessNamedIn(L"SnibbetCm.exe /main:0"), std::nullopt);
  EXPECT_EQ(MainProcessNamedIn(L"SnibbetCm.exe /main:12x"), std::nullopt);
  EXPECT_EQ(MainProcessNamedIn(L"SnibbetCm.exe /main:4294967296"), std::nullopt) << "beyond 32 bits";
  EXPECT_EQ(MainProcessNamedIn(L"SnibbetCm.exe /main:-5"), std::nullopt);
  EXPECT_EQ(MainProcessNamedIn(L"C:\\x/main:7\\SnibbetCm.exe"), std::nullopt) << "inside a path";
}

}  // namespace
}  // namespace snibbet::helper
