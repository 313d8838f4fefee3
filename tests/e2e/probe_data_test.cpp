// The probe's clipboard and registry access and its bridge to native Linux programs.
#include <gtest/gtest.h>

#include "testing/probe/probe.h"

namespace {

using namespace probe;

const ClipboardItem* Find(const std::vector<ClipboardItem>& items, UINT format) {
  for (const auto& item : items)
    if (item.format == format) return &item;
  return nullptr;
}

TEST(ProbeClipboardTest, TextAndArbitraryFormatsSurviveARoundTrip) {
  const UINT custom = RegisterFormat(L"Snibbet Probe Format");
  const std::vector<uint8_t> bytes = {0, 1, 2, 0xFF, 0, 42};
  SetClipboardItems({{CF_UNICODETEXT, L"", TextBytes(std::wstring(L"Grüße\r\nzwei"))}, {custom, L"", bytes}});

  EXPECT_EQ(ClipboardText(), L"Grüße\r\nzwei");
  const auto dump = DumpClipboard();
  const ClipboardItem* own = Find(dump, custom);
  ASSERT_TRUE(own);
  EXPECT_EQ(own->name, L"Snibbet Probe Format");
  ASSERT_GE(own->bytes.size(), bytes.size());
  EXPECT_EQ(std::vector<uint8_t>(own->bytes.begin(), own->bytes.begin() + bytes.size()), bytes);
  // The system's own conversions are part of what a program sees.
  const ClipboardItem* ansi = Find(dump, CF_TEXT);
  ASSERT_TRUE(ansi);
  EXPECT_EQ(ansi->name, L"CF_TEXT");

  SetClipboardText(L"plain");
  EXPECT_EQ(ClipboardText(), L"plain");
  EXPECT_FALSE(Find(DumpClipboard(), custom));
  EmptyTheClipboard();
  EXPECT_FALSE(ClipboardText());
}

TEST(ProbeRegistryTest, TypedValuesRoundTripAndAreListedWithTheirTypes) {
  std::wstring path;
  {
    TempRegKey key;
    path = key.Path();
    WriteRegString(L"\\" + path, L"Name", L"Wert äöü");
    WriteRegDword(L"HKCU\\" + path, L"Hotkey", 32800);
    WriteRegBinary(path, L"Blob", {1, 0, 2});
    WriteRegString(path + L"\\Sub", L"Deep", L"x");

    EXPECT_EQ(ReadRegString(path, L"Name"), L"Wert äöü");
    EXPECT_EQ(ReadRegDword(path, L"Hotkey"), 32800u);
    EXPECT_FALSE(ReadRegDword(path, L"Name"));   // wrong type
    const auto blob = ReadRegValue(path, L"Blob");
    ASSERT_TRUE(blob);
    EXPECT_EQ(blob->type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(blob->data, (std::vector<uint8_t>{1, 0, 2}));

    const auto values = ListRegValues(path);
    ASSERT_EQ(values.size(), 3u);
    std::map<std::wstring, DWORD> types;
    for (const auto& value : values) types[value.name] = value.value.type;
    EXPECT_EQ(types[L"Name"], static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(types[L"Hotkey"], static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(types[L"Blob"], static_cast<DWORD>(REG_BINARY));

    EXPECT_TRUE(DeleteRegValue(path, L"Name"));
    EXPECT_FALSE(ReadRegValue(path, L"Name"));
    EXPECT_FALSE(DeleteRegValue(path, L"Name"));
  }
  EXPECT_FALSE(RegKeyExists(path));   // removed with its subkey
  EXPECT_FALSE(ReadRegValue(L"Software\\SnibbetProbe\\no such key", L"x"));
}

TEST(ProbeUnixTest, NativeProgramsRunWithTheirArgumentsAndExitCode) {
  if (!RunningUnderWine()) GTEST_SKIP() << "native programs exist only under Wine";
  const auto echo = RunUnixProgram("/bin/sh", {"-c", "printf '%s|' \"$@\"", "sh", "a b", "c\"d", "e\\\"f", ""});
  ASSERT_TRUE(echo);
  EXPECT_EQ(echo->exitCode, 0);
  EXPECT_EQ(echo->output, "a b|c\"d|e\\\"f||");
  const auto failed = RunUnixProgram("/bin/sh", {"-c", "echo oops >&2; exit 3"});
  ASSERT_TRUE(failed);
  EXPECT_EQ(failed->exitCode, 3);
  EXPECT_EQ(failed->output, "oops\n");
  EXPECT_FALSE(RunUnixProgram("/bin/sleep", {"5"}, 50ms));
}

TEST(ProbeUnixTest, WindowsAndUnixPathsMapBothWays) {
  if (!RunningUnderWine()) GTEST_SKIP() << "only Wine maps Unix paths";
  const std::wstring windows = WindowsPathOf("/tmp");
  const auto back = UnixPathOf(windows);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->substr(back->size() - 4), "/tmp");
}

}  // namespace
