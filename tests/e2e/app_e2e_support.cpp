#include "tests/e2e/app_e2e_support.h"

#include <windows.h>

#include <filesystem>

#include "testing/probe/probe.h"

namespace snibbet_e2e {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

ProgramFolderCopy::ProgramFolderCopy(const std::wstring& source) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  static int serial = 0;
  fs::path target = fs::path(temp) / (L"snibbet-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                      std::to_wstring(++serial));
  fs::remove_all(target);
  std::wstring from = source;
  while (!from.empty() && (from.back() == L'\\' || from.back() == L'/')) from.pop_back();
  fs::create_directories(target);
  for (const auto& entry : fs::recursive_directory_iterator(from)) {
    const fs::path destination = target / fs::relative(entry.path(), from);
    if (entry.is_directory()) {
      fs::create_directories(destination);
    } else {
      fs::copy_file(entry.path(), destination, fs::copy_options::overwrite_existing);
    }
  }
  path_ = target.wstring() + L"\\";
}

ProgramFolderCopy::~ProgramFolderCopy() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

void ProgramFolderCopy::Remove(const std::wstring& relative) const { fs::remove_all(path_ + relative); }

void SnibbetTest::SetUp() { probe::DeleteRegKey(kSettingsKey); }

void SnibbetTest::TearDown() {
  probe::EndToEndTest::TearDown();
  probe::DeleteRegKey(kSettingsKey);
}

probe::Process& SnibbetTest::StartSnibbet(const std::vector<std::wstring>& arguments, probe::AtEnd atEnd) {
  if (!firstStart_ && !probe::ReadRegValue(kSettingsKey, L"FirstStart")) probe::WriteRegDword(kSettingsKey, L"FirstStart", 1);
  probe::LaunchOptions options;
  options.arguments = probe::JoinArguments(arguments);
  options.workDir = folder_.Path();
  return Start(folder_.File(L"Snibbet.exe"), options, atEnd);
}

HWND SnibbetTest::WaitForMainWindow(DWORD pid) {
  return probe::WaitForWindow({.className = L"TFirstForm", .title = L"SnibbetFirstForm", .pid = pid}, 10s);
}

void SnibbetTest::CloseNormally(probe::Process& process, HWND mainWindow) {
  PostMessageW(mainWindow, WM_CLOSE, 0, 0);
  auto code = process.WaitExit(10s);
  ASSERT_TRUE(code.has_value()) << "the program did not end after its main form closed";
  EXPECT_EQ(*code, 0u);
}

}  // namespace snibbet_e2e
