#include <gtest/gtest.h>

#include "keyboard/action_file.h"
#include "keyboard/action_shell.h"
#include "keyboard/actions.h"
#include "keyboard/binding_names.h"
#include "keyboard/system_keyboard.h"
#include "tests/host/language_table_scope.h"
#include "tests/unit/actions_test_files.h"

namespace snibbet {

void PrintTo(const ActionFileEntry& e, std::ostream* os) {
  *os << "{key " << int(e.key) << ", set " << e.controlSet << ", kind " << int(e.kind) << ", param " << int(e.param)
      << ", text";
  for (wchar_t c : e.text) *os << ' ' << std::hex << unsigned(c) << std::dec;
  *os << "}";
}

namespace {

using Reason = ActionFileError::Reason;
using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

const std::vector<ActionFileEntry>& GoldenEntries() {
  static const std::vector<ActionFileEntry> entries = {
      {32, 0x80, 8, 1, L""},
      {65, 0x20, 3, 0, L"Gr\u00fc\u00dfe & <tags> \"quoted\" 'single'"},
      {0, 0x90, 9, 0, L""},
      {255, 255, 255, 255, L"\u20ac \U0001F600"},
  };
  return entries;
}

TEST(ActionFileWrite, MatchesTheGoldenFileByteForByte) {
  ScratchFolder folder;
  const std::wstring file = folder.File(L"QvActions.zqa");
  ASSERT_FALSE(WriteActionFile(file, GoldenEntries()));
  EXPECT_EQ(ReadBytes(file), ReadBytes(testing::SourceFile("tests/unit/actions_data/golden.zqa")));
  EXPECT_FALSE(testing::Exists(file + L".new"));
}

TEST(ActionFileRead, ReadsTheGoldenFile) {
  std::vector<ActionFileEntry> entries;
  const ActionFileError error = ReadActionFile(testing::SourceFile("tests/unit/actions_data/golden.zqa"), entries);
  ASSERT_FALSE(entries.empty());
  ASSERT_FALSE(error) << std::string(error.detail.begin(), error.detail.end());
  EXPECT_EQ(entries, GoldenEntries());
}

bool RunningOnWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

TEST(ActionFileWrite, LineBreaksAndTabsAreWrittenAsCharacterReferences) {
  // Written as they are, the reader's attribute-value normalisation would turn them into blanks.
  ScratchFolder folder;
  const std::wstring file = folder.File(L"lines.zqa");
  ASSERT_FALSE(WriteActionFile(file, {{1, 0, 3, 0, L"a\r\nb\tc\nd"}}));
  EXPECT_NE(ReadBytes(file).find("Text=\"a&#xD;&#xA;b&#x9;c&#xA;d\""), std::string::npos);
}

TEST(ActionFileRead, LineBreaksAndTabsSurviveARoundTrip) {
  if (RunningOnWine()) {
    GTEST_SKIP() << "Wine's XmlLite reader turns character references to white space in attribute values into "
                    "blanks";
  }
  ScratchFolder folder;
  const std::wstring file = folder.File(L"lines.zqa");
  const std::vector<ActionFileEntry> entries = {{1, 0, 3, 0, L"a\r\nb\tc\nd\r"}};
  ASSERT_FALSE(WriteActionFile(file, entries));
  std::vector<ActionFileEntry> read;
  ASSERT_FALSE(ReadActionFile(file, read));
  EXPECT_EQ(read, entries);
}

TEST(ActionFileRead, RoundTripKeepsEveryCharacter) {
  std::wstring every;
  for (wchar_t c = 0x20; c < 0x300; ++c) every += c;
  const std::vector<ActionFileEntry> entries = {
      {1, 0, 0, 0, every},
      {2, 0, 0, 0, L"  leading and trailing  blanks  "},
      {4, 0, 0, 0, L"]]> --> <!-- &amp; &#65;"},
  };
  ScratchFolder folder;
  const std::wstring file = folder.File(L"a.zqa");
  ASSERT_FALSE(WriteActionFile(file, entries));
  std::vector<ActionFileEntry> read;
  ASSERT_FALSE(ReadActionFile(file, read));
  EXPECT_EQ(read, entries);
}

TEST(ActionFileRead, EmptyListRoundTrips) {
  ScratchFolder folder;
  const std::wstring file = folder.File(L"empty.zqa");
  ASSERT_FALSE(WriteActionFile(file, {}));
  std::vector<ActionFileEntry> read = {{1, 0, 0, 0, L"x"}};
  EXPECT_FALSE(ReadActionFile(file, read));
  EXPECT_TRUE(read.empty());
}

TEST(ActionFileRead, IgnoresOtherNodesAndDefaultsMissingAttributes) {
  ScratchFolder folder;
  const std::wstring file = folder.File(L"loose.zqa");
  ASSERT_TRUE(WriteBytes(file,
                         "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n"
                         "<!-- a set -->\n"
                         "<QvActions Version=\"2\">\n"
                         "  <Binding Key=\"13\" Extra=\"x\"><Nested Key=\"99\" QVA=\"1\"/>text</Binding>\n"
                         "  <Other Key=\"14\" ControlSet=\" 16 \" QVA=\"2\" Kind=\"3\" Text='it&apos;s'/>\n"
                         "  <?pi data?>\n"
                         "</QvActions>\n"));
  std::vector<ActionFileEntry> entries;
  const ActionFileError error = ReadActionFile(file, entries);
  ASSERT_FALSE(error) << std::string(error.detail.begin(), error.detail.end());
  EXPECT_EQ(entries, (std::vector<ActionFileEntry>{{13, 0, 0, 0, L""}, {14, 16, 2, 3, L"it's"}}));
}

TEST(ActionFileRead, ReadsUtf16Files) {
  ScratchFolder folder;
  const std::wstring file = folder.File(L"utf16.zqa");
  const std::wstring text = L"<?xml version=\"1.0\" encoding=\"UTF-16\"?><QvActions><A Key=\"66\" Text=\"\u00e9\"/></QvActions>";
  std::string bytes = "\xFF\xFE";
  bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
  ASSERT_TRUE(WriteBytes(file, bytes));
  std::vector<ActionFileEntry> entries;
  ASSERT_FALSE(ReadActionFile(file, entries));
  EXPECT_EQ(entries, (std::vector<ActionFileEntry>{{66, 0, 0, 0, L"\u00e9"}}));
}

struct BadFile {
  const char* name;
  std::string bytes;
  Reason reason;
};

class BrokenFiles : public ::testing::TestWithParam<BadFile> {};

TEST_P(BrokenFiles, GiveAnErrorAndNoEntries) {
  ScratchFolder folder;
  const std::wstring file = folder.File(L"bad.zqa");
  ASSERT_TRUE(WriteBytes(file, GetParam().bytes));
  std::vector<ActionFileEntry> entries;
  const ActionFileError error = ReadActionFile(file, entries);
  EXPECT_EQ(error.reason, GetParam().reason) << std::string(error.detail.begin(), error.detail.end());
  EXPECT_TRUE(entries.empty());
  EXPECT_FALSE(error.detail.empty());
}

INSTANTIATE_TEST_SUITE_P(
    ActionFileRead, BrokenFiles,
    ::testing::Values(
        BadFile{"Empty", "", Reason::Malformed},
        BadFile{"Truncated", "<QvActions><A Key=\"32\" ControlSet=\"128\" QVA=\"8\" Kind=\"1\"/><A Key=\"6", Reason::Malformed},
        BadFile{"Unclosed", "<QvActions><A Key=\"32\"/>", Reason::Malformed},
        BadFile{"UnclosedRoot", "<QvActions>", Reason::Malformed},
        BadFile{"UnclosedAfterBlanks", "<QvActions><A/>  ", Reason::Malformed},
        BadFile{"UnclosedText", "<QvActions><A>text", Reason::Malformed},
        BadFile{"MismatchedTag", "<QvActions><A Key=\"3\"></QvActions>", Reason::Malformed},
        BadFile{"TwoRoots", "<QvActions/><QvActions/>", Reason::Malformed},
        BadFile{"Binary", std::string("\x00\x01\x02\xFF\xFE\x7F", 6), Reason::Malformed},
        BadFile{"EntityExpansion",
                "<!DOCTYPE QvActions [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;\">]>"
                "<QvActions><A Key=\"1\" Text=\"&b;\"/></QvActions>",
                Reason::Malformed},
        BadFile{"WrongRoot", "<?xml version=\"1.0\"?><Templates><A Key=\"32\"/></Templates>", Reason::WrongRoot},
        BadFile{"RootNameCase", "<qvactions/>", Reason::WrongRoot}),
    [](const ::testing::TestParamInfo<BadFile>& info) { return std::string(info.param.name); });

TEST(ActionFileRead, ElementsWithNumbersOutsideAByteAreSkipped) {
  ScratchFolder folder;
  const std::wstring file = folder.File(L"odd.zqa");
  ASSERT_TRUE(WriteBytes(file,
                         "<QvActions><A Key=\"256\"/><A Key=\"1\" ControlSet=\"-1\"/><A Key=\"2\" ControlSet=\"256\"/>"
                         "<A Key=\"3\" ControlSet=\"x\"/><A Key=\"4\" QVA=\"eight\"/><A Key=\"5\" Kind=\"\"/>"
                         "<A Key=\"6\" ControlSet=\"255\" QVA=\"8\" Kind=\"1\"/></QvActions>"));
  std::vector<ActionFileEntry> entries;
  const ActionFileError error = ReadActionFile(file, entries);
  ASSERT_FALSE(error) << std::string(error.detail.begin(), error.detail.end());
  EXPECT_EQ(entries, (std::vector<ActionFileEntry>{{6, 255, 8, 1, L""}}));
}

TEST(ActionFileRead, MissingFileIsUnreadable) {
  ScratchFolder folder;
  std::vector<ActionFileEntry> entries;
  EXPECT_EQ(ReadActionFile(folder.File(L"none.zqa"), entries).reason, Reason::Unreadable);
}

TEST(ActionFileWrite, RefusesTextsXmlCannotHoldAndKeepsTheOldFile) {
  ScratchFolder folder;
  const std::wstring file = folder.File(L"keep.zqa");
  ASSERT_TRUE(WriteBytes(file, "old"));
  for (const std::wstring& text : {std::wstring(L"bell\a"), std::wstring(1, static_cast<wchar_t>(0xD800)),
                                   std::wstring(L"nul\0x", 5), std::wstring(1, static_cast<wchar_t>(0xFFFF))}) {
    EXPECT_EQ(WriteActionFile(file, {{1, 0, 3, 0, text}}).reason, Reason::Unwritable);
  }
  EXPECT_EQ(WriteActionFile(file, {{1, 0x100, 3, 0, L""}}).reason, Reason::Unwritable);  // would not read back
  EXPECT_EQ(ReadBytes(file), "old");
}

TEST(ActionFileWrite, ReplacesAnExistingFileAndFailsInAMissingFolder) {
  ScratchFolder folder;
  const std::wstring file = folder.File(L"replace.zqa");
  ASSERT_TRUE(WriteBytes(file, "old"));
  ASSERT_FALSE(WriteActionFile(file, {{7, 0, 1, 0, L""}}));
  std::vector<ActionFileEntry> entries;
  ASSERT_FALSE(ReadActionFile(file, entries));
  EXPECT_EQ(entries.size(), 1u);
  EXPECT_EQ(WriteActionFile(folder.File(L"no folder\\x.zqa"), {}).reason, Reason::Unwritable);
}

class SetFileRemoval : public ::testing::Test {
 protected:
  void SetUp() override {
    texts.Table().SetText(7, L"Cannot read %1.");
    QvActions().Clear();
    Bind(32, 0x80, 8, 1, L"");
    Bind(65, 0x20, 3, 0, L"Gr\u00fc\u00dfe");
    Bind(66, 0x20, 3, 0, L"kept");
  }
  void TearDown() override { QvActions().Clear(); }
  static void Bind(std::uint8_t key, ControlSet set, std::uint8_t kind, std::uint8_t param, const std::wstring& text) {
    TQvAction* b = QvActions().Add(key, set);
    b->SetKind(kind);
    b->SetParam(param);
    b->SetText(text);
  }

  ScratchFolder folder;
  testing::LanguageTableScope texts;
  testing::RecordingShell shell;
  std::vector<std::wstring>& errors = shell.errors;
  int& busy = shell.busy;
};

TEST_F(SetFileRemoval, RemovesTheBindingsTheFileNames) {
  const std::wstring file = folder.File(L"Standard.zqa");
  ASSERT_TRUE(WriteBytes(file,
                         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><QvActions>"
                         "<A Key=\"65\" ControlSet=\"32\" QVA=\"3\" Kind=\"0\" Text=\"Gr\xC3\xBC\xC3\x9F" "e\"/>"
                         "<A Key=\"66\" ControlSet=\"32\" QVA=\"3\" Kind=\"0\" Text=\"other\"/>"
                         "</QvActions>"));
  EXPECT_TRUE(RemoveActionsFromFile(QvActions(), file, shell));
  EXPECT_EQ(QvActions().Size(), 2u);
  EXPECT_EQ(QvActions().Find(65, 0x20, 0x20), nullptr);
  EXPECT_NE(QvActions().Find(66, 0x20, 0x20), nullptr);
  EXPECT_EQ(QvActions().IndexOf(66), (TQvActions::IndexEntry{1, 1}));
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(busy, 0);
  EXPECT_FALSE(QvActions().loading);
}

TEST_F(SetFileRemoval, MissingFileIsFalseWithoutAMessage) {
  EXPECT_FALSE(RemoveActionsFromFile(QvActions(), folder.File(L"Media.zqa"), shell));
  EXPECT_FALSE(RemoveActionsFromFile(QvActions(), folder.Path(), shell));  // a folder is no file
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(QvActions().Size(), 3u);
}

TEST_F(SetFileRemoval, WrongRootShowsText7AndRemovesNothing) {
  const std::wstring file = folder.File(L"ExtChars.zqa");
  ASSERT_TRUE(WriteBytes(file, "<Templates><A Key=\"65\" ControlSet=\"32\" QVA=\"3\" Kind=\"0\" Text=\"kept\"/></Templates>"));
  EXPECT_FALSE(RemoveActionsFromFile(QvActions(), file, shell));
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], L"Cannot read " + file + L".");
  EXPECT_EQ(QvActions().Size(), 3u);
  EXPECT_EQ(busy, 0);
  EXPECT_FALSE(QvActions().loading);
}

TEST_F(SetFileRemoval, TruncatedFileRemovesNothingEvenBeforeTheBreak) {
  const std::wstring file = folder.File(L"AlphabeticalEn.zqa");
  ASSERT_TRUE(WriteBytes(file,
                         "<QvActions><A Key=\"66\" ControlSet=\"32\" QVA=\"3\" Kind=\"0\" Text=\"kept\"/>"
                         "<A Key=\"32\" ControlSet=\"128\" QV"));
  EXPECT_FALSE(RemoveActionsFromFile(QvActions(), file, shell));
  EXPECT_EQ(errors.size(), 1u);
  EXPECT_EQ(QvActions().Size(), 3u);
  EXPECT_NE(QvActions().Find(66, 0x20, 0x20), nullptr);
}

TEST(ActionWiring, FallsBackWhileTheCoreIsNotUp) {
  ProgramBindingShell shell;
  SystemKeyboardLayouts layouts;
  EXPECT_EQ(LanguageText(7, L"fallback"), L"fallback");
  EXPECT_EQ(BindingKeyName(nullptr, 161), L"RShift");
  EXPECT_EQ(shell.LocalizeWebAddress(L"http://www.example.test/"), L"http://www.example.test/");
  EXPECT_NE(layouts.LanguageName(0x0409).find(L"English"), std::wstring::npos);
}

}  // namespace
}  // namespace snibbet
