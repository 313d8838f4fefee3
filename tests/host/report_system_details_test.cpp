// The system facts of an error report as text.
#include "core/system_details_text.h"

#include <gtest/gtest.h>

namespace snibbet {
namespace {

SystemFacts AllFacts() {
  SystemFacts facts;
  facts.productVersion = L"2.3";
  facts.fileVersion = L"2.3.0.1";
  facts.os = OsFacts{5, 1, 2600, 1, L"Service Pack 3"};
  facts.cpu = CpuFacts{L"Intel(R) Core(TM)2 CPU 6600", 2400};
  facts.memory = MemoryFacts{(2048ull << 20) + 12345, (1023ull << 20) + (1ull << 20) - 1};
  facts.screen = ScreenFacts{1280, 1024, 0x04090409};
  return facts;
}

TEST(FormatSystemDetails, EveryFactOnItsOwnLine) {
  EXPECT_EQ(FormatSystemDetails(AllFacts()),
            L"Orvane Paste 2.3 (2.3.0.1)\r\n"
            L"OS: Windows XP Workstation Service Pack 3 (2600)\r\n"
            L"CPU: Intel(R) Core(TM)2 CPU 6600 (2400)\r\n"
            L"RAM: 2048 Mb (1023 Mb)\r\n"
            L"1280x1024  04090409");
}

TEST(FormatSystemDetails, AFactThatCouldNotBeGatheredIsLeftOut) {
  SystemFacts facts = AllFacts();
  facts.fileVersion.reset();
  facts.cpu.reset();
  facts.os->servicePack.clear();
  EXPECT_EQ(FormatSystemDetails(facts),
            L"OS: Windows XP Workstation (2600)\r\n"
            L"RAM: 2048 Mb (1023 Mb)\r\n"
            L"1280x1024  04090409");
  EXPECT_EQ(FormatSystemDetails({}), L"");
}

TEST(FormatSystemDetails, TheLayoutHasEightUpperCaseHexDigits) {
  SystemFacts facts;
  facts.screen = ScreenFacts{800, 600, 0xF0020419};
  EXPECT_EQ(FormatSystemDetails(facts), L"800x600  F0020419");
  facts.screen->keyboardLayout = 0x409;
  EXPECT_EQ(FormatSystemDetails(facts), L"800x600  00000409");
}

TEST(WindowsVersionName, ByVersionBuildAndProductType) {
  EXPECT_EQ(WindowsVersionName({5, 0, 2195, 1, {}}), L"Windows 2000");
  EXPECT_EQ(WindowsVersionName({5, 2, 3790, 3, {}}), L"Windows Server 2003");
  EXPECT_EQ(WindowsVersionName({6, 0, 6002, 1, {}}), L"Windows Vista");
  EXPECT_EQ(WindowsVersionName({6, 1, 7601, 1, {}}), L"Windows 7");
  EXPECT_EQ(WindowsVersionName({6, 1, 7601, 3, {}}), L"Windows Server 2008 R2");
  EXPECT_EQ(WindowsVersionName({10, 0, 19045, 1, {}}), L"Windows 10");
  EXPECT_EQ(WindowsVersionName({10, 0, 22631, 1, {}}), L"Windows 11");
  EXPECT_EQ(WindowsVersionName({10, 0, 20348, 2, {}}), L"Windows Server 2022");
  EXPECT_EQ(WindowsVersionName({12, 4, 30000, 1, {}}), L"Windows 12.4");
  EXPECT_EQ(ProductTypeName(1), L"Workstation");
  EXPECT_EQ(ProductTypeName(2), L"Domain Controller");
  EXPECT_EQ(ProductTypeName(3), L"Server");
}

TEST(CleanProcessorName, TrimmedToFortyEightCharactersWithoutControlCharacters) {
  EXPECT_EQ(CleanProcessorName(L"   Intel(R) Pentium(R) 4 CPU 3.00GHz"), L"Intel(R) Pentium(R) 4 CPU 3.00GHz");
  EXPECT_EQ(CleanProcessorName(std::wstring(L"AMD Athlon\0\0\0", 13)), L"AMD Athlon");
  EXPECT_EQ(CleanProcessorName(L"Genuine\tIntel\r\n  CPU  "), L"Genuine Intel CPU");
  const std::wstring longName = L"0123456789012345678901234567890123456789012345678901234567890";
  EXPECT_EQ(CleanProcessorName(longName), longName.substr(0, 48));
  EXPECT_EQ(CleanProcessorName(L""), L"");
}

}  // namespace
}  // namespace snibbet
