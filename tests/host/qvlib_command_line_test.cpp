#include "core/command_line.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace snibbet {
namespace {

using ::testing::ElementsAre;

TEST(CommandLine, SplitsByWindowsRules) {
  EXPECT_THAT(SplitCommandLine(LR"("C:\Program Files\a.exe" one "two words" th"re"e)"),
              ElementsAre(LR"(C:\Program Files\a.exe)", L"one", L"two words", L"three"));
  EXPECT_THAT(SplitCommandLine(LR"(a.exe \\server\x "a\"b" "c\\" d\\\"e)"),
              ElementsAre(L"a.exe", LR"(\\server\x)", LR"(a"b)", LR"(c\)", LR"(d\"e)"));
  EXPECT_THAT(SplitCommandLine(L"a.exe   \t "), ElementsAre(L"a.exe"));
  EXPECT_THAT(SplitCommandLine(L""), ElementsAre(L""));
}

TEST(CommandLine, DebugSwitchInAnyCaseAfterDashOrSlash) {
  EXPECT_TRUE(HasDebugSwitch(L"Snibbet.exe -DEBUG"));
  EXPECT_TRUE(HasDebugSwitch(L"Snibbet.exe /debug"));
  EXPECT_TRUE(HasDebugSwitch(L"\"C:\\x\\Snibbet.exe\" x \"/DeBuG\""));
  EXPECT_FALSE(HasDebugSwitch(L"Snibbet.exe"));
  EXPECT_FALSE(HasDebugSwitch(L"Snibbet.exe debug"));
  EXPECT_FALSE(HasDebugSwitch(L"Snibbet.exe -debugger"));
  EXPECT_FALSE(HasDebugSwitch(L"Snibbet.exe --debug"));
  // The program path itself is never a switch.
  EXPECT_FALSE(HasDebugSwitch(L"/debug"));
  EXPECT_FALSE(HasDebugSwitch(L"\"/debug\" other"));
}

}  // namespace
}  // namespace snibbet
