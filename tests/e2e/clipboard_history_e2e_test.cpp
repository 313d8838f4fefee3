// The clipboard history store with the real program: switched off, it reads
// the index at start and writes nothing into the clipboard folder however
// often the user copies.
#include <windows.h>
#include <shlobj.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "testing/probe/probe.h"
#include "tests/e2e/app_e2e_support.h"

namespace snibbet_e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

fs::path ClipboardFolder() {
  wchar_t appData[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData);
  return fs::path(appData) / L"OrvaneSoftware" / L"Snibbet" / L"Clipboard";
}

std::map<std::wstring, std::string> FolderContent(const fs::path& folder) {
  std::map<std::wstring, std::string> content;
  for (const auto& entry : fs::directory_iterator(folder)) {
    std::ifstream file(entry.path(), std::ios::binary);
    content[entry.path().filename().wstring()].assign(std::istreambuf_iterator<char>(file), {});
  }
  return content;
}

class ClipboardHistoryTest : public SnibbetTest {
 protected:
  void SetUp() override {
    SnibbetTest::SetUp();
    for (DWORD pid : probe::ProcessesNamed(L"SnibbetCm.exe")) probe::Process::Attach(pid).Kill();
    fs::create_directories(folder_);
    saved_ = FolderContent(folder_);
  }
  void TearDown() override {
    // The folder is the Wine prefix's: it is left as it was found.
    for (const auto& entry : fs::directory_iterator(folder_)) {
      if (!saved_.contains(entry.path().filename().wstring())) fs::remove(entry.path());
    }
    for (const auto& [name, bytes] : saved_) std::ofstream(folder_ / name, std::ios::binary) << bytes;
    SnibbetTest::TearDown();
  }
  fs::path folder_ = ClipboardFolder();
  std::map<std::wstring, std::string> saved_;
};

TEST_F(ClipboardHistoryTest, CopiesWhileTheProgramRunsWriteNothingIntoTheClipboardFolder) {
  std::ofstream(folder_ / L"ClipboardInfo.txt", std::ios::binary)
      << "7     1 3         0         01.01.2024 10:00:00 a\r\n"
         "garbage\r\n"
         "12    1 5         0         01.01.2024 10:01:00 b\r\n";
  const auto before = FolderContent(folder_);
  probe::Process& snibbet = StartSnibbet();
  HWND main = WaitForMainWindow(snibbet.Pid());
  ASSERT_NE(main, nullptr);
  probe::PumpMessages(500ms);  // the monitor registered and read the index
  for (const wchar_t* text : {L"first copy", L"second copy", L"third copy"}) {
    probe::SetClipboardText(text);
    probe::PumpMessages(400ms);  // a save would come 150 ms after the change
  }
  EXPECT_EQ(FolderContent(folder_), before);
  CloseNormally(snibbet, main);
  EXPECT_EQ(FolderContent(folder_), before);
}

}  // namespace
}  // namespace snibbet_e2e
