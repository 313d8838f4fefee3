// The options program of the program folder, run as the settings window runs
// it: the start-with-Windows value and the shell extension's class key that
// it leaves behind are what the settings window reads back.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/unit/qvlib_test_support.h"

namespace snibbet::test {
namespace {

constexpr wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kExtensionServerKey[] = L"CLSID\\{6B54FAD7-7ACD-4156-888D-118547A98218}\\InprocServer32";
// Spaces and capitals: the value must hold the name exactly as given.
constexpr wchar_t kProgram[] = L"C:\\Program Files\\Orvane Paste\\Snibbet.exe";

std::optional<std::wstring> RunValue() {
  wchar_t buffer[1024] = {};
  DWORD size = sizeof buffer;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, kRunKey, L"Snibbet", RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
    return std::nullopt;
  return std::wstring(buffer);
}

bool ExtensionRegistered() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, kExtensionServerKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

class OptionsProgram : public ::testing::Test {
 protected:
  void SetUp() override { Clean(); }
  void TearDown() override { Clean(); }
  static void Clean() {
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kRunKey, L"Snibbet");
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L"CLSID\\{6B54FAD7-7ACD-4156-888D-118547A98218}");
  }

  // The exit code of Varnock.exe with these parameters; -1 when it did not start or end.
  static int Run(const std::wstring& parameters) {
    const std::wstring file = ProgramDirFromEnvironment() + L"Varnock.exe";
    std::wstring commandLine = L"\"" + file + L"\" " + parameters;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(file.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
      ADD_FAILURE() << "Varnock.exe did not start: " << GetLastError();
      return -1;
    }
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, 10000) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
  }
  static std::wstring Quoted() { return L"\"" + std::wstring(kProgram) + L"\""; }
};

TEST_F(OptionsProgram, WritesAndDeletesTheRunValueAndTheClassKey) {
  ASSERT_EQ(Run(Quoted() + L" 1 2"), 0);
  EXPECT_EQ(RunValue(), std::wstring(kProgram));
  EXPECT_FALSE(ExtensionRegistered()) << "2 must leave the shell extension as it was";

  ASSERT_EQ(Run(Quoted() + L" 1 1"), 0);
  EXPECT_EQ(RunValue(), std::wstring(kProgram));
  EXPECT_TRUE(ExtensionRegistered());

  ASSERT_EQ(Run(Quoted() + L" 0 2"), 0);
  EXPECT_EQ(RunValue(), std::nullopt);
  EXPECT_TRUE(ExtensionRegistered()) << "2 must leave the shell extension as it was";

  ASSERT_EQ(Run(Quoted() + L" 0 0"), 0);
  EXPECT_EQ(RunValue(), std::nullopt);
  EXPECT_FALSE(ExtensionRegistered());
  // Switching off what is off already is no failure.
  EXPECT_EQ(Run(Quoted() + L" 0 0"), 0);
}

TEST_F(OptionsProgram, AWrongCommandLineChangesNothing) {
  ASSERT_EQ(Run(Quoted() + L" 1 1"), 0);
  const std::wstring wrong[] = {L"",           Quoted(),           L"1 1",         L"\"\" 0 0",
                                Quoted() + L" 2 0", Quoted() + L" 0 3", Quoted() + L" 0 0 0", Quoted() + L" yes 0"};
  for (const std::wstring& line : wrong) EXPECT_EQ(Run(line), 1) << std::string(line.begin(), line.end());
  EXPECT_EQ(RunValue(), std::wstring(kProgram));
  EXPECT_TRUE(ExtensionRegistered());
}

}  // namespace
}  // namespace snibbet::test
