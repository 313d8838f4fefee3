// Template files on disk: the atomic save, damaged and missing files, the
// untitled name, the sample templates and the messages (Windows).
#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "core/lang_table.h"
#include "core/program_folder.h"
#include "templates/atomic_file.h"
#include "templates/template_file_logic.h"
#include "templates/template_files.h"
#include "templates/template_text.h"
#include "tests/unit/qvlib_test_support.h"

namespace snibbet {
namespace {

std::string ReadAll(const std::wstring& file) {
  std::ifstream in(std::filesystem::path(file), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
  std::vector<std::wstring> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
  return names;
}

class TemplateFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    SetTemplateErrorSink([this](const std::wstring& text) { errors.push_back(text); });
    InitializeLanguages();
    Lang().SetText(7, L"Not a template file: %1");
    table.Open();
  }
  void TearDown() override {
    SetTemplateErrorSink({});
    FinalizeLanguages();
  }

  void Add(const std::string& name, const std::string& content) {
    table.Append();
    table.SetName(name);
    table.SetTemplate(content);
    table.Post();
  }

  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (std::size_t r = 0; r < table.RowCount(); ++r) names.emplace_back(table.RowAt(r).Name);
    return names;
  }

  test::TempFolder folder;
  TemplateTable table;
  std::vector<std::wstring> errors;
};

TEST_F(TemplateFiles, SavesAndLoadsTheWholeTable) {
  Add("beta", "second");
  Add("Alpha", "first");
  const std::wstring file = folder.File(L"mine.zqt");
  ASSERT_TRUE(SaveTemplatesToFile(table, file));
  EXPECT_EQ(ReadAll(file), TemplatesToBytes(table));
  EXPECT_EQ(FilesIn(folder.Path()), std::vector<std::wstring>{L"mine.zqt"});  // no temporary file left

  TemplateTable other;
  ASSERT_TRUE(LoadTemplatesFromFile(other, file, false));
  ASSERT_EQ(other.RowCount(), 2u);
  EXPECT_EQ(other.RowAt(0), table.RowAt(0));
  EXPECT_EQ(other.RowAt(1), table.RowAt(1));
  EXPECT_TRUE(errors.empty());
}

TEST_F(TemplateFiles, AnInterruptedWriteLeavesTheOldFile) {
  const std::wstring file = folder.File(L"mine.zqt");
  folder.Write(L"mine.zqt", "the old file");
  const std::string big(3 * 1024 * 1024, 'x');
  const DWORD error = ReplaceFileContents(file, big, [](std::size_t written) { return written < 1024 * 1024; });
  EXPECT_NE(error, static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(ReadAll(file), "the old file");
  EXPECT_EQ(FilesIn(folder.Path()), std::vector<std::wstring>{L"mine.zqt"});

  EXPECT_EQ(ReplaceFileContents(file, big), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(ReadAll(file), big);
}

TEST_F(TemplateFiles, AFileAnotherProgramReadsForAMomentIsReplacedOnceItLetsGo) {
  const std::wstring file = folder.File(L"read.zqt");
  folder.Write(L"read.zqt", "the old file");
  // A reader that shares neither writing nor deleting, as many programs open files.
  HANDLE reader = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  std::thread lettingGo([reader] {
    Sleep(300);
    CloseHandle(reader);
  });
  const DWORD error = ReplaceFileContents(file, "the new file");
  lettingGo.join();
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(ReadAll(file), "the new file");
  EXPECT_EQ(FilesIn(folder.Path()), std::vector<std::wstring>{L"read.zqt"});
}

// A process that runs until the test ends it.
struct RunningProcess {
  RunningProcess() {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    wchar_t command[] = L"cmd.exe";
    if (CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, &startup, &info)) {
      CloseHandle(info.hThread);
    }
  }
  ~RunningProcess() {
    if (!info.hProcess) return;
    TerminateProcess(info.hProcess, 0);
    WaitForSingleObject(info.hProcess, 5000);
    CloseHandle(info.hProcess);
  }
  PROCESS_INFORMATION info{};
};

std::wstring Hex(DWORD value) {
  wchar_t text[16];
  std::swprintf(text, 16, L"%lx", value);
  return text;
}

TEST_F(TemplateFiles, ASaveRemovesWhatSavesKilledMidwayLeftOfThatFileOnly) {
  RunningProcess other;
  ASSERT_NE(other.info.hProcess, nullptr);
  DWORD ended = 0;
  {
    RunningProcess gone;
    ASSERT_NE(gone.info.hProcess, nullptr);
    ended = gone.info.dwProcessId;
  }
  folder.Write(L"big.zqt", "the old file");
  const std::vector<std::wstring> stale{
      L"big.zqt.~" + Hex(GetCurrentProcessId()) + L"-3.tmp",  // an earlier save of this run
      L"big.zqt.~" + Hex(ended) + L"-1.tmp",                   // of a program that has ended
      L"BIG.ZQT.~" + Hex(ended) + L"-2.tmp",
      L"big.zqt.~4d21a0.tmp",                                  // named as older versions did
  };
  const std::vector<std::wstring> kept{
      L"big.zqt.~" + Hex(other.info.dwProcessId) + L"-1.tmp",  // a save that may still run
      L"big.zqt.~2b0f1.tmp",                                   // held open by a running save
      L"big.zqt.~backup.tmp", L"big.zqt.tmp", L"big.zqt~1a.tmp", L"big.zqt.~1a-.tmp",
      L"other.zqt.~" + Hex(ended) + L"-1.tmp", L"big.zqt.~" + Hex(ended) + L"-1.tmp.txt",
  };
  for (const auto& name : stale) folder.Write(name, std::string(1000, 's'));
  for (const auto& name : kept) folder.Write(name, "k");
  const HANDLE held = CreateFileW(folder.File(L"big.zqt.~2b0f1.tmp").c_str(), GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);

  EXPECT_EQ(ReplaceFileContents(folder.File(L"big.zqt"), "the new file"), static_cast<DWORD>(ERROR_SUCCESS));
  CloseHandle(held);
  EXPECT_EQ(ReadAll(folder.File(L"big.zqt")), "the new file");
  std::vector<std::wstring> expected = kept;
  expected.push_back(L"big.zqt");
  std::sort(expected.begin(), expected.end());
  std::vector<std::wstring> present = FilesIn(folder.Path());
  std::sort(present.begin(), present.end());
  EXPECT_EQ(present, expected);
}

TEST_F(TemplateFiles, AFailedSaveReportsAndKeepsWhatWasThere) {
  Add("a", "x");
  // The target is a folder: the new file is written, but it cannot take the folder's place.
  const std::wstring target = folder.File(L"folder.zqt");
  std::filesystem::create_directory(std::filesystem::path(target));
  EXPECT_FALSE(SaveTemplatesToFile(table, target));
  EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::path(target)));
  EXPECT_EQ(FilesIn(folder.Path()), std::vector<std::wstring>{L"folder.zqt"});
  // A folder that does not exist.
  EXPECT_FALSE(SaveTemplatesToFile(table, folder.File(L"missing\\mine.zqt")));
  // The untitled name has no folder and is never written to the working folder.
  EXPECT_FALSE(SaveTemplatesToFile(table, L"New"));
  ASSERT_EQ(errors.size(), 3u);
  EXPECT_NE(errors[0].find(target), std::wstring::npos);
  EXPECT_NE(errors[2].find(L"\"New\""), std::wstring::npos);
}

TEST_F(TemplateFiles, TooManyTemplatesAreRefusedAndTheFileKept) {
  const std::wstring file = folder.File(L"mine.zqt");
  folder.Write(L"mine.zqt", "the old file");
  std::vector<std::string> names;
  for (std::size_t i = 0; i <= kZqtMaxRecords; ++i) names.push_back(std::string(1, 't').append(std::to_string(i)));
  std::vector<TemplateRecordView> views;
  for (const auto& n : names) views.push_back({n, OleDate(), 0, ""});
  table.MergeRecords(views);
  EXPECT_FALSE(SaveTemplatesToFile(table, file));
  EXPECT_EQ(ReadAll(file), "the old file");
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find(file), std::wstring::npos);
  EXPECT_NE(errors[0].find(L"65536"), std::wstring::npos);
}

TEST_F(TemplateFiles, DamagedFilesReportTheirPathAndStayAsTheyAre) {
  const std::string cut = std::string("ZQT1\x02\x00", 6) + std::string("\x02\x00", 2) + "ok" + std::string(8, '\0') +
                          std::string("\x00\x00\x01\x00\x00\x00", 6) + "x" + std::string("\x03\x00", 2) + "cut" +
                          std::string(8, '\0') + std::string("\x00\x00\x10\x00\x00\x00", 6) + "short";
  folder.Write(L"cut.zqt", cut);
  folder.Write(L"bad.zqt", "ZQT");
  const std::wstring cutFile = folder.File(L"cut.zqt");
  const std::wstring badFile = folder.File(L"bad.zqt");

  EXPECT_FALSE(LoadTemplatesFromFile(table, cutFile, false));
  EXPECT_EQ(Names(), std::vector<std::string>{"ok"});  // what was read before the damage
  EXPECT_FALSE(LoadTemplatesFromFile(table, badFile, true));
  EXPECT_FALSE(RemoveTemplatesOfFile(table, badFile));
  EXPECT_EQ(Names(), std::vector<std::string>{"ok"});
  ASSERT_EQ(errors.size(), 3u);
  EXPECT_EQ(errors[0], L"Not a template file: " + cutFile);
  EXPECT_EQ(errors[1], L"Not a template file: " + badFile);
  EXPECT_EQ(ReadAll(cutFile), cut);
  EXPECT_EQ(ReadAll(badFile), "ZQT");
}

TEST_F(TemplateFiles, TheErrorBoxShowsText7WithThePath) {
  SetTemplateErrorSink({});
  Lang().SetText(9, L"Template error");
  folder.Write(L"bad.zqt", "ZQT0");
  {
    test::BoxWatcher watcher(IDOK);
    EXPECT_FALSE(LoadTemplatesFromFile(table, folder.File(L"bad.zqt"), false));
    const test::BoxSeen box = watcher.Result();
    ASSERT_TRUE(box.found);
    EXPECT_EQ(box.caption, L"Template error");
    EXPECT_EQ(box.text, L"Not a template file: " + folder.File(L"bad.zqt"));
  }
}

TEST_F(TemplateFiles, MissingFilesAndTheUntitledNameChangeNothing) {
  Add("kept", "x");
  EXPECT_FALSE(LoadTemplatesFromFile(table, folder.File(L"none.zqt"), false));
  EXPECT_FALSE(RemoveTemplatesOfFile(table, folder.File(L"none.zqt")));
  EXPECT_EQ(Names(), std::vector<std::string>{"kept"});

  // A file that happens to be called "New" in the working folder is not read.
  TemplateTable other;
  other.Open();
  ASSERT_TRUE(SaveTemplatesToFile(other, folder.File(L"New")));
  wchar_t previous[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, previous);
  SetCurrentDirectoryW(folder.Path().c_str());
  EXPECT_FALSE(LoadTemplatesFromFile(table, L"New", false));
  SetCurrentDirectoryW(previous);
  EXPECT_EQ(Names(), std::vector<std::string>{"kept"});
  EXPECT_TRUE(errors.empty());

  TemplateTable closed;
  EXPECT_FALSE(LoadTemplatesFromFile(closed, folder.File(L"none.zqt"), false));
  EXPECT_TRUE(closed.Active());  // opened all the same
}

TEST_F(TemplateFiles, SetsMergeAndComeOutAgain) {
  Add("mine", "x");
  Add("Smile", "old");
  TemplateTable set;
  set.Open();
  for (const char* name : {"smile", "wink"}) {
    set.Append();
    set.SetName(name);
    set.SetTemplate(":-)");
    set.Post();
  }
  const std::wstring setFile = folder.File(L"Smiles.zqt");
  ASSERT_TRUE(SaveTemplatesToFile(set, setFile));
  ASSERT_TRUE(LoadTemplatesFromFile(table, setFile, true));
  ASSERT_TRUE(LoadTemplatesFromFile(table, setFile, true));
  EXPECT_EQ(Names(), (std::vector<std::string>{"mine", "Smile", "wink"}));
  EXPECT_EQ(table.RowAt(1).Template, ":-)");
  ASSERT_TRUE(RemoveTemplatesOfFile(table, setFile));
  EXPECT_EQ(Names(), std::vector<std::string>{"mine"});
}

TEST_F(TemplateFiles, SampleTemplatesComeFromTheSampleSetOrAreBuiltIn) {
  Add("Test", "not the sample");
  const std::wstring sample = folder.File(L"Test.zqt");
  CreateSampleTemplates(table, sample);  // no such file: the built-in one
  EXPECT_EQ(Names(), (std::vector<std::string>{"Test", "test"}));
  CreateSampleTemplates(table, sample);  // "test" is there now
  EXPECT_EQ(table.RowCount(), 2u);

  TemplateTable fromFile;
  fromFile.Open();
  TemplateTable set;
  set.Open();
  set.Append();
  set.SetName("test");
  set.SetTemplate("from the file");
  set.Post();
  ASSERT_TRUE(SaveTemplatesToFile(set, sample));
  CreateSampleTemplates(fromFile, sample);
  ASSERT_EQ(fromFile.RowCount(), 1u);
  EXPECT_EQ(fromFile.RowAt(0).Template, "from the file");

  TemplateTable closed;
  CreateSampleTemplates(closed, sample);
  EXPECT_FALSE(closed.Active());
}

TEST(TemplateFolders, LieInTheProgramFolder) {
  EXPECT_EQ(TemplatesFolder(), ProgramFolder() + L"Templates\\");
  EXPECT_EQ(SampleTemplatesFileName(), ProgramFolder() + L"Templates\\Test.zqt");
}

TEST(TemplateText, UsesTheAnsiCodePage) {
  EXPECT_EQ(TemplateTextToWide("Hello"), L"Hello");
  EXPECT_EQ(WideToTemplateText(L"Hello"), "Hello");
  const NameFolding folding = SystemNameFolding();
  EXPECT_TRUE(folding.Equal("ABC", "abc"));
  if (GetACP() == 1252) {
    EXPECT_EQ(TemplateTextToWide("caf\xE9"), L"caf\u00E9");
    EXPECT_TRUE(folding.Equal("\xC4pfel", "\xE4PFEL"));  // Ä and ä
  }
}

}  // namespace
}  // namespace snibbet
