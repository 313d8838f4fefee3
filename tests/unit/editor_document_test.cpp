// The template editor's file commands over a fake file system: what each asks,
// what it saves and loads, when the file is untitled, when changes count as
// unsaved, and that a failure changes neither the table nor the file. Also the
// content kept per kind while a template's kind is switched, and the names.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/template_editor_logic.h"
#include "tests/unit/editor_test_support.h"

namespace snibbet {
namespace {

class EditorDocumentTest : public ::testing::Test {
 protected:
  EditorDocumentTest() : files_(table_) {
    files_.files[L"C:\\docs\\main.zqt"] = {Named("alpha"), Named("beta")};
    files_.files[L"C:\\docs\\other.zqt"] = {Named("gamma")};
    files_.files[L"C:\\docs\\bad.zqt"] = {Named("broken1"), Named("broken2")};
    files_.Load(table_, L"", false);
    document_.Shown();
  }
  void EditFirst(std::string content) {
    table_.First();
    table_.Edit();
    table_.SetTemplate(std::move(content));
  }

  TemplateTable table_;
  FakeFiles files_;
  TemplateEditorDocument document_{table_, files_};
};

TEST(EditorNamesTest, UntitledExtensionFolderAndLinks) {
  EXPECT_TRUE(IsUntitledTemplatesFile(L"New"));
  EXPECT_TRUE(IsUntitledTemplatesFile(L"main.zqt"));
  EXPECT_FALSE(IsUntitledTemplatesFile(L"C:\\docs\\main.zqt"));
  EXPECT_FALSE(IsUntitledTemplatesFile(L"\\\\server\\share\\t.zqt"));

  EXPECT_EQ(WithTemplatesExtension(L"C:\\a\\mine"), L"C:\\a\\mine.zqt");
  EXPECT_EQ(WithTemplatesExtension(L"C:\\a\\mine.ZQT"), L"C:\\a\\mine.ZQT");
  EXPECT_EQ(WithTemplatesExtension(L"C:\\a\\mine.zqt.txt"), L"C:\\a\\mine.zqt.txt.zqt");
  EXPECT_EQ(WithTemplatesExtension(L"qt"), L"qt.zqt");

  EXPECT_EQ(FolderOfPath(L"C:\\docs\\main.zqt"), L"C:\\docs\\");
  EXPECT_EQ(FolderOfPath(L"New"), L"");

  for (const wchar_t* link : {L"http://example.com", L"HTTPS://example.com/a", L"mailto:me@example.com", L"ftp://host/f"})
    EXPECT_TRUE(IsOpenableLink(link)) << link;
  for (const wchar_t* link : {L"file:///C:/Windows/notepad.exe", L"C:\\Windows\\notepad.exe", L"javascript:x()",
                              L"http:", L"news:group", L"\\\\server\\share\\run.bat", L""})
    EXPECT_FALSE(IsOpenableLink(link)) << link;
}

TEST(EditorKindCachesTest, SwitchingBackBeforePostRestoresAndAfterPostStartsEmpty) {
  TemplateTable table;
  table.Open();
  table.MergeRecords({{"note", {}, kTemplateText, "plain words"}});
  table.First();
  TemplateKindCaches caches;

  caches.SwitchKind(table, kTemplateRichText);
  EXPECT_EQ(table.Current()->Kind, kTemplateRichText);
  EXPECT_EQ(table.Current()->Template, "");
  table.SetTemplate("{\\rtf1 rich}");
  caches.SwitchKind(table, kTemplatePicture);
  EXPECT_EQ(table.Current()->Template, "");
  caches.SwitchKind(table, kTemplateText);
  EXPECT_EQ(table.Current()->Template, "plain words");
  caches.SwitchKind(table, kTemplateRichText);
  EXPECT_EQ(table.Current()->Template, "{\\rtf1 rich}");

  // The record changed (posted): nothing of the earlier kinds comes back.
  table.Post();
  caches.Clear();
  caches.SwitchKind(table, kTemplateText);
  EXPECT_EQ(table.Current()->Template, "");
  EXPECT_EQ(table.Current()->Kind, kTemplateText);
}

TEST_F(EditorDocumentTest, ChangesCountFromShowingOnAndSavesClearThem) {
  EXPECT_FALSE(document_.Modified());
  EXPECT_FALSE(document_.Untitled());
  // A filter or a sort is no change of the file.
  table_.SetFilterText("a");
  table_.SetFiltered(true);
  table_.SetFiltered(false);
  table_.SortByName();
  EXPECT_FALSE(document_.Modified());

  EditFirst("changed");
  EXPECT_TRUE(document_.Modified());
  EXPECT_TRUE(document_.Save());
  EXPECT_FALSE(document_.Modified());
  EXPECT_EQ(files_.files[L"C:\\docs\\main.zqt"][0].Template, "changed");  // the edit was posted first
  EXPECT_TRUE(files_.asked.empty());

  table_.Close();
  table_.Open();
  EXPECT_TRUE(document_.Modified());
}

TEST_F(EditorDocumentTest, NewAsksFirstStartsEmptyAndUntitledAndSaveBecomesSaveAs) {
  EditFirst("changed");
  files_.answers = {Answer::Cancel};
  document_.New();
  EXPECT_EQ(Names(table_), (std::vector<std::string>{"alpha", "beta"}));
  EXPECT_EQ(table_.RowAt(0).Template, "changed");

  files_.answers = {Answer::No};
  document_.New();
  EXPECT_EQ(table_.RowCount(), 0u);
  EXPECT_EQ(files_.fileName, L"New");
  EXPECT_EQ(files_.titled, L"C:\\docs\\main.zqt");
  EXPECT_TRUE(document_.Untitled());
  EXPECT_TRUE(document_.Modified());
  EXPECT_EQ(files_.files[L"C:\\docs\\main.zqt"][0].Template, "x");  // No saved nothing

  // Save on the untitled file is Save As; cancelling it keeps the changes unsaved.
  files_.asked.clear();
  files_.chosen.reset();
  EXPECT_FALSE(document_.Save());
  EXPECT_EQ(files_.asked, std::vector<std::wstring>{L"save in C:\\docs\\"});
  EXPECT_TRUE(document_.Modified());
  EXPECT_TRUE(document_.Untitled());

  table_.Append();
  table_.SetName("fresh");
  files_.chosen = L"C:\\docs\\fresh";
  EXPECT_TRUE(document_.Save());
  EXPECT_EQ(files_.fileName, L"C:\\docs\\fresh.zqt");
  EXPECT_EQ(files_.files[L"C:\\docs\\fresh.zqt"].size(), 1u);
  EXPECT_FALSE(document_.Untitled());
  EXPECT_FALSE(document_.Modified());
}

TEST_F(EditorDocumentTest, AFileNameWithoutAFolderIsUntitledWhenShown) {
  files_.fileName = L"New";
  document_.Shown();
  EXPECT_TRUE(document_.Untitled());
  files_.chosen.reset();
  document_.Save();
  EXPECT_EQ(files_.asked, std::vector<std::wstring>{L"save in C:\\docs\\"});
}

TEST_F(EditorDocumentTest, SaveAsWritesTheChosenFileWholeThenTakesItsNameKeepingTheCurrentTemplate) {
  files_.files[L"C:\\docs\\taken.zqt"] = {Named("old one")};
  table_.LocateName("beta");
  EditFirst("edited");
  table_.LocateName("beta");
  files_.chosen = L"C:\\docs\\taken.zqt";
  EXPECT_TRUE(document_.SaveAs());
  EXPECT_EQ(files_.fileName, L"C:\\docs\\taken.zqt");
  EXPECT_EQ(Names(table_), (std::vector<std::string>{"alpha", "beta"}));  // what was in memory, not the old file
  EXPECT_EQ(table_.RowAt(0).Template, "edited");
  ASSERT_TRUE(table_.Current());
  EXPECT_EQ(table_.Current()->Name, "beta");
  EXPECT_EQ(files_.files[L"C:\\docs\\main.zqt"][0].Template, "x");  // the old file untouched
  EXPECT_FALSE(document_.Modified());
}

TEST_F(EditorDocumentTest, AFailedSaveChangesNoFileNameAndKeepsTheChangesUnsaved) {
  files_.files[L"C:\\docs\\taken.zqt"] = {Named("old one")};
  EditFirst("edited");
  files_.saveFails = true;
  files_.chosen = L"C:\\docs\\taken.zqt";
  EXPECT_FALSE(document_.SaveAs());
  EXPECT_EQ(files_.fileName, L"C:\\docs\\main.zqt");
  EXPECT_EQ(files_.files[L"C:\\docs\\taken.zqt"].size(), 1u);
  EXPECT_EQ(files_.files[L"C:\\docs\\taken.zqt"][0].Name, "old one");
  EXPECT_EQ(Names(table_), (std::vector<std::string>{"alpha", "beta"}));
  EXPECT_TRUE(document_.Modified());
  EXPECT_FALSE(document_.Save());
  EXPECT_TRUE(document_.Modified());
}

TEST_F(EditorDocumentTest, OpenAsksAboutChangesAndADamagedFileChangesNothing) {
  EditFirst("edited");
  files_.answers = {Answer::Yes};
  files_.chosen = L"C:\\docs\\other.zqt";
  document_.Open();
  EXPECT_EQ(files_.asked, (std::vector<std::wstring>{L"save?", L"open in C:\\docs\\"}));
  EXPECT_EQ(files_.files[L"C:\\docs\\main.zqt"][0].Template, "edited");  // Yes saved first
  EXPECT_EQ(Names(table_), std::vector<std::string>{"gamma"});
  EXPECT_EQ(files_.fileName, L"C:\\docs\\other.zqt");
  EXPECT_FALSE(document_.Modified());

  files_.chosen = L"C:\\docs\\bad.zqt";
  document_.Open();
  EXPECT_EQ(Names(table_), std::vector<std::string>{"gamma"});
  EXPECT_EQ(files_.fileName, L"C:\\docs\\other.zqt");
}

TEST_F(EditorDocumentTest, ImportAsksAboutChangesMergesAndMarksUnsaved) {
  files_.chosen = L"C:\\prog\\Templates\\Set.zqt";
  files_.files[*files_.chosen] = {Named("ALPHA", "from the set"), Named("delta")};
  document_.Import();
  EXPECT_EQ(files_.asked, std::vector<std::wstring>{L"import from C:\\prog\\Templates\\"});
  EXPECT_EQ(Names(table_), (std::vector<std::string>{"alpha", "beta", "delta"}));
  EXPECT_EQ(table_.RowAt(0).Template, "from the set");
  EXPECT_TRUE(document_.Modified());
  EXPECT_EQ(files_.files[L"C:\\docs\\main.zqt"].size(), 2u);  // nothing saved yet

  files_.asked.clear();
  files_.answers = {Answer::Cancel};
  document_.Import();
  EXPECT_EQ(files_.asked, std::vector<std::wstring>{L"save?"});

  files_.answers = {Answer::No};
  files_.chosen = L"C:\\docs\\bad.zqt";
  document_.Import();
  EXPECT_EQ(Names(table_), (std::vector<std::string>{"alpha", "beta", "delta"}));
}

TEST_F(EditorDocumentTest, MailSendsTheFileOnDiskOnlyWhenThereIsOne) {
  document_.Mail();
  EXPECT_EQ(files_.mailed, std::vector<std::wstring>{L"C:\\docs\\main.zqt"});
  files_.answers = {Answer::No};
  document_.New();
  document_.Mail();
  EXPECT_EQ(files_.mailed.size(), 1u);
}

TEST_F(EditorDocumentTest, ClosingAsksAndNoThrowsTheChangesAway) {
  EXPECT_TRUE(document_.CanClose());
  EXPECT_TRUE(files_.asked.empty());

  EditFirst("edited");
  files_.answers = {Answer::Cancel};
  EXPECT_FALSE(document_.CanClose());
  files_.answers = {Answer::No};
  EXPECT_TRUE(document_.CanClose());
  EXPECT_EQ(table_.RowAt(0).Template, "x");
  EXPECT_FALSE(table_.Editing());
}

TEST_F(EditorDocumentTest, ClosingTheUntitledFileWithNoBringsBackTheTitledOne) {
  files_.answers = {Answer::No};
  document_.New();
  table_.Append();
  table_.SetName("scratch");
  table_.Post();
  files_.answers = {Answer::No};
  EXPECT_TRUE(document_.CanClose());
  EXPECT_EQ(files_.fileName, L"C:\\docs\\main.zqt");
  EXPECT_EQ(Names(table_), (std::vector<std::string>{"alpha", "beta"}));
}

TEST_F(EditorDocumentTest, ClosingWithYesOnAnUntitledFileStaysOpenWhenSaveAsIsCancelled) {
  files_.answers = {Answer::No};
  document_.New();
  files_.answers = {Answer::Yes};
  files_.chosen.reset();
  EXPECT_FALSE(document_.CanClose());
  EXPECT_TRUE(document_.Modified());
  files_.answers = {Answer::Yes};
  files_.chosen = L"C:\\docs\\kept.zqt";
  EXPECT_TRUE(document_.CanClose());
  EXPECT_TRUE(files_.files.contains(L"C:\\docs\\kept.zqt"));
}

TEST_F(EditorDocumentTest, ANameStillBeingTypedIsTakenBeforeEachCommand) {
  int flushes = 0;
  document_.onFlushControls = [&] {
    ++flushes;
    table_.First();
    table_.Edit();
    table_.SetName("typed");
  };
  EXPECT_TRUE(document_.Save());
  EXPECT_EQ(flushes, 1);
  EXPECT_EQ(files_.files[L"C:\\docs\\main.zqt"][0].Name, "beta");  // saved in name order
  EXPECT_EQ(files_.files[L"C:\\docs\\main.zqt"][1].Name, "typed");
}

}  // namespace
}  // namespace snibbet
