// The clipboard history store on the real clipboard, another process copying:
// switched off (as in the program) it only reads the index at start; switched
// on by the test it saves each copy as an item with all its files and line,
// keeps to the history limit, spares favourites and drops duplicates.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "clipboard/history_index.h"
#include "core/utf8.h"
#include "tests/unit/clipmon_test_support.h"

namespace snibbet {
namespace {

namespace fs = std::filesystem;
using test::ClipmonTest;

std::string ReadFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// An item's text file (UTF-8 with its mark, CR LF) as lines.
std::vector<std::wstring> TextFileLines(const fs::path& path) {
  std::wstring text = Utf8ToWide(ReadFile(path));
  if (text.starts_with(L'\xFEFF')) text.erase(0, 1);
  std::vector<std::wstring> lines;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = std::min(text.find(L"\r\n", start), text.size());
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

// The folder's files with their bytes.
std::map<std::wstring, std::string> FolderContent(const fs::path& folder) {
  std::map<std::wstring, std::string> content;
  for (const auto& entry : fs::directory_iterator(folder)) content[entry.path().filename().wstring()] = ReadFile(entry.path());
  return content;
}

std::wstring SeededLine(int number) {
  return BuildHistoryIndexLine({number, HistoryKind::Text, 4, 0, L"01.01.2024 00:00:00", L's', L""});
}

class ClipmonHistory : public ClipmonTest {
 protected:
  void SetUp() override {
    ClipmonTest::SetUp();
    folder_ = fs::temp_directory_path() / (L"clipmon_history_" + std::to_wstring(GetCurrentProcessId()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override {
    ClipmonTest::TearDown();
    fs::remove_all(folder_);
  }
  TQvClipboardMonitor& Monitor(std::optional<ClipboardHistorySettings> switchedOn) {
    ClipboardMonitorOptions options;
    options.historyFolder = folder_.wstring() + L"\\";
    if (switchedOn) options.historySettings = [this] { return settings_; };
    if (switchedOn) settings_ = *switchedOn;
    return MakeMonitor(true, std::move(options));
  }
  void Write(const std::wstring& name, const std::string& bytes) { std::ofstream(folder_ / name, std::ios::binary) << bytes; }
  // Copies `text` in another process and waits for the history to list `lines` items newest `number`.
  void CopyAndWaitFor(TQvClipboardMonitor& monitor, const std::wstring& text, int number) {
    CopyInOtherProcess(text);
    ASSERT_TRUE(PumpUntil([&] {
      return !monitor.History().History().empty() && ItemNumberOfLine(monitor.History().History()[0]) == number &&
             !monitor.Saving();
    }, 5000)) << "item " << number << " was not saved";
  }
  bool HasFiles(int number) { return fs::exists(folder_ / (std::to_wstring(number) + L".stm")); }

  fs::path folder_;
  ClipboardHistorySettings settings_;
};

TEST_F(ClipmonHistory, SwitchedOffItReadsTheLastNumberAndWritesNothing) {
  Write(kHistoryIndexFile, WriteHistoryIndex({SeededLine(7), L"**broken line**", SeededLine(12)}));
  const auto before = FolderContent(folder_);
  TQvClipboardMonitor& monitor = Monitor(std::nullopt);
  EXPECT_EQ(monitor.History().ItemNumber(), 12);
  for (const wchar_t* text : {L"first copy", L"second copy", L"third copy"}) {
    CopyInOtherProcess(text);
    PumpFor(300);  // a save would have run 150 ms after the change
  }
  EXPECT_FALSE(monitor.tmrSave.Enabled());
  EXPECT_EQ(FolderContent(folder_), before);
}

TEST_F(ClipmonHistory, SwitchedOnEachCopyBecomesAnItemWithItsFilesAndLine) {
  TQvClipboardMonitor& monitor = Monitor(ClipboardHistorySettings{true, 30, false});
  CopyAndWaitFor(monitor, L"alpha", 1);
  CopyAndWaitFor(monitor, L"7 beta", 2);
  CopyAndWaitFor(monitor, std::wstring(2000, L'g'), 3);
  const auto& lines = monitor.History().History();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(ReadHistoryIndex(ReadFile(folder_ / kHistoryIndexFile)), lines);
  for (int n = 1; n <= 3; ++n) {
    for (const wchar_t* suffix : {L".stm", L".fmt", L".txt", L".ico"})
      EXPECT_TRUE(fs::exists(folder_ / (std::to_wstring(n) + suffix))) << n << suffix;
    EXPECT_EQ(ItemNumberOfLine(lines[3 - n]), n);
    EXPECT_EQ(lines[3 - n].substr(6, 2), L"1 ") << "a text item";
    EXPECT_EQ(HashOfLine(lines[3 - n]), 0) << "no hash without UniqueClipboard";
  }
  EXPECT_EQ(lines[2].substr(8, 10), L"5         ");
  EXPECT_EQ(lines[2][48], L'a');
  EXPECT_EQ(lines[1][48], L' ') << "a digit is no marker";
  EXPECT_EQ(lines[0].substr(8, 10), L"2000      ");
  EXPECT_EQ(TextFileLines(folder_ / L"3.txt"),
            (std::vector<std::wstring>{std::wstring(1024, L'g'), L"..."}));
  EXPECT_EQ(TextFileLines(folder_ / L"1.fmt")[0], L"UNICODETEXT");
  // The item's stream is the whole clipboard, as a paste's snapshot keeps it.
  ClipboardStream stream(std::vector<std::uint8_t>(monitor.Snapshot().Bytes()));
  const std::string saved = ReadFile(folder_ / L"3.stm");
  EXPECT_EQ(std::vector<std::uint8_t>(saved.begin(), saved.end()), monitor.Snapshot().Bytes());
  EXPECT_TRUE(stream.ReadAllRecords().has_value());
}

TEST_F(ClipmonHistory, TheLimitSparesFavouritesAndUniqueContentKeepsTheNewerCopy) {
  Write(kHistoryIndexFile, WriteHistoryIndex({SeededLine(2), SeededLine(1)}));
  Write(kFavouritesIndexFile, WriteHistoryIndex({SeededLine(1)}));
  for (const char* name : {"1.stm", "1.txt", "2.stm", "2.txt"}) Write(fs::path(name).wstring(), "seeded");
  TQvClipboardMonitor& monitor = Monitor(ClipboardHistorySettings{true, 2, true});
  CopyAndWaitFor(monitor, L"one", 3);
  EXPECT_TRUE(HasFiles(1)) << "a favourite lost its files";
  EXPECT_TRUE(HasFiles(2));
  CopyAndWaitFor(monitor, L"two", 4);
  EXPECT_FALSE(HasFiles(2));
  EXPECT_FALSE(fs::exists(folder_ / L"2.txt"));
  EXPECT_TRUE(HasFiles(1));
  CopyAndWaitFor(monitor, L"one", 5);
  const auto& lines = monitor.History().History();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(ItemNumberOfLine(lines[0]), 5);
  EXPECT_EQ(ItemNumberOfLine(lines[1]), 4);
  EXPECT_FALSE(HasFiles(3)) << "the older copy of the same content stayed";
  EXPECT_NE(HashOfLine(lines[0]), 0);
  EXPECT_NE(HashOfLine(lines[0]), HashOfLine(lines[1]));
}

}  // namespace
}  // namespace snibbet
