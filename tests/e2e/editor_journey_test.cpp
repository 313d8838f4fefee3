// The template editor's journeys with the real Snibbet.exe and SnibbetCm.exe
// and physical input:
//   - the hotkey's pop-up, its Edit button, a new template added, named and
//     written, Ctrl+S, the editor closed; the file on disk holds the template,
//     and the next hotkey after its name pastes it;
//   - templates renamed in place and deleted after the question are so in the
//     file after Save; Esc while renaming keeps the old name;
//   - the tray's Exit with changes unsaved asks first: Cancel keeps the
//     program, No ends it and leaves the file as it was.
// With SNIBBET_EDITOR_SCREENSHOT set to a path, the screen is saved there
// while the editor shows the new template.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>

#include "testing/probe/probe.h"
#include "tests/e2e/editor_e2e_support.h"

namespace snibbet_e2e {
namespace {

using namespace std::chrono_literals;

class EditorJourneyTest : public EditorE2eTest {
 protected:
  void SetUp() override {
    EditorE2eTest::SetUp();
    if (IsSkipped()) return;
    UseTemplateFile(L"journey.zqt", {TextTemplate("hello", "Hello")});
  }
};

TEST_F(EditorJourneyTest, ATemplateAddedAndSavedInTheEditorIsOnDiskAndPastesAfterItsName) {
  StartProgram();
  HWND target = StartTarget();
  ASSERT_NE(target, nullptr);
  HWND targetEdit = GetWindow(target, GW_CHILD);

  // The pop-up's Edit button opens the editor.
  HWND editor = OpenEditorFromPopup();
  ASSERT_NE(editor, nullptr);
  EXPECT_NE(probe::CaptionOf(editor).find(templateFile_), std::wstring::npos) << probe::ToUtf8(probe::CaptionOf(editor));
  EXPECT_EQ(Find(L"TTemplateViewForm"), nullptr);

  // Editor > Add from the menu bar by its keys; the new template's name is typed in place.
  ASSERT_NE(GetMenu(editor), nullptr);
  ChooseMenuItem(1, 0);
  HWND grid = TemplateList(editor);
  ASSERT_NE(grid, nullptr);
  ASSERT_TRUE(probe::PumpUntil([&] { return VisibleChild(grid, L"Edit") != nullptr; }, 3s)) << "no name to type";
  probe::PhysicalType("zz");
  probe::PhysicalKeys({"Return"});
  ASSERT_TRUE(probe::PumpUntil([&] { return VisibleChild(grid, L"Edit") == nullptr; }, 3s));

  HWND memo = VisibleChild(editor, L"Edit", ES_MULTILINE);
  ASSERT_NE(memo, nullptr);
  probe::PhysicalClick(CentreOf(memo));
  probe::PhysicalType("body");
  ASSERT_TRUE(probe::WaitUntil([&] { return probe::WindowText(memo) == L"body"; }, 3s));
  if (const char* shot = std::getenv("SNIBBET_EDITOR_SCREENSHOT")) {
    probe::PumpMessages(500ms);
    probe::RunUnixProgram("import", {"-window", "root", shot}, 10000ms);
  }

  probe::PhysicalKeys({"ctrl+s"});
  ASSERT_TRUE(probe::WaitUntil([&] { return SavedTemplate("zz") == "body"; }, 5s)) << "not saved";
  EXPECT_EQ(SavedTemplate("hello"), "Hello");

  probe::PumpMessages(300ms);  // the save's keys all handled before the next chord

  // Saved: Alt+X closes without a question.
  PressAltXOver(editor, target);
  ASSERT_TRUE(probe::PumpUntil([&] { return Find(L"TTemplateSetupForm") == nullptr; }, 5s)) << "still open";
  probe::PumpMessages(300ms);  // likewise for Alt+X

  // The only match of the typed name is pasted at once.
  probe::PhysicalFocus(targetEdit);
  probe::PumpMessages(1000ms);
  probe::PhysicalType("zz");
  ASSERT_TRUE(probe::WaitUntil([&] { return probe::WindowText(targetEdit) == L"zz"; }, 3s));
  probe::PhysicalChord({"super", "space"});
  EXPECT_TRUE(probe::WaitUntil([&] { return probe::WindowText(targetEdit) == L"body"; }, 5s))
      << probe::ToUtf8(probe::WindowText(targetEdit)) << ReadBytes(folder_.File(L"Log.txt"));
  CloseNormally(*snibbet_, main_);
}

TEST_F(EditorJourneyTest, RenamedAndDeletedTemplatesAreSoInTheFileAfterSaveAndEscKeepsTheOldName) {
  UseTemplateFile(L"names.zqt", {TextTemplate("alpha", "A"), TextTemplate("beta", "B"), TextTemplate("gamma", "C")});
  StartProgram();
  HWND target = StartTarget();
  ASSERT_NE(target, nullptr);
  HWND editor = OpenEditorFromPopup();
  ASSERT_NE(editor, nullptr);
  HWND grid = TemplateList(editor);
  ASSERT_NE(grid, nullptr);
  ASSERT_TRUE(probe::PumpUntil([&] { return ListCount(grid) == 3; }, 3s)) << ListCount(grid);

  // Renamed in place: the edit box starts with the old name selected.
  ASSERT_TRUE(StartRenaming(grid, ListRowOf(grid, L"alpha"))) << "no name to type";
  probe::PhysicalType("greet");
  probe::PhysicalKeys({"Return"});
  ASSERT_TRUE(probe::PumpUntil([&] { return ListRowOf(grid, L"greet") >= 0; }, 3s)) << "not renamed";
  EXPECT_EQ(ListRowOf(grid, L"alpha"), -1);

  // Esc while renaming: the old name stays.
  ASSERT_TRUE(StartRenaming(grid, ListRowOf(grid, L"beta"))) << "no name to type";
  probe::PhysicalType("zzz");
  probe::PhysicalKeys({"Escape"});
  ASSERT_TRUE(probe::PumpUntil([&] { return VisibleChild(grid, L"Edit") == nullptr; }, 3s));
  EXPECT_GE(ListRowOf(grid, L"beta"), 0);
  EXPECT_EQ(ListRowOf(grid, L"zzz"), -1);
  ASSERT_NE(Find(L"TTemplateSetupForm"), nullptr) << "Esc closed the editor";

  // Deleted after its question.
  const int gamma = ListRowOf(grid, L"gamma");
  ASSERT_GE(gamma, 0);
  RECT bounds{};
  bounds.left = LVIR_LABEL;
  const auto row = AskThroughPointer(grid, LVM_GETITEMRECT, static_cast<WPARAM>(gamma), bounds);
  ASSERT_TRUE(row.has_value());
  probe::PhysicalClick(ScreenCentre(grid, *row));
  probe::PumpMessages(300ms);
  Boxes().AnswerWith(IDYES);
  probe::PhysicalKeys({"ctrl+Delete"});
  ASSERT_TRUE(probe::PumpUntil([&] { return ListCount(grid) == 2; }, 5s)) << "not deleted";
  ASSERT_EQ(Boxes().Seen().size(), 1u) << "deleted without asking";
  EXPECT_EQ(Boxes().Seen()[0].box.text, L"Delete the selected template?");
  EXPECT_EQ(ListRowOf(grid, L"gamma"), -1);
  EXPECT_EQ(SavedTemplates().size(), 3u) << "written before Save";

  // The keys to the editor again once the question has gone.
  probe::PhysicalFocus(grid);
  probe::PumpMessages(300ms);
  probe::PhysicalKeys({"ctrl+s"});
  ASSERT_TRUE(probe::WaitUntil([&] { return SavedTemplates().size() == 2u; }, 5s)) << "not saved";
  EXPECT_EQ(SavedTemplate("greet"), "A");
  EXPECT_EQ(SavedTemplate("beta"), "B");
  EXPECT_FALSE(SavedTemplate("alpha").has_value());
  EXPECT_FALSE(SavedTemplate("gamma").has_value());

  // Saved: closing asks nothing more.
  probe::PumpMessages(300ms);
  PressAltXOver(editor, target);
  ASSERT_TRUE(probe::PumpUntil([&] { return Find(L"TTemplateSetupForm") == nullptr; }, 5s)) << "still open";
  EXPECT_EQ(Boxes().Seen().size(), 1u);
  CloseNormally(*snibbet_, main_);
}

TEST_F(EditorJourneyTest, TrayExitWithUnsavedChangesAsksCancelKeepsTheProgramNoEndsItLeavingTheFile) {
  const std::string before = ReadBytes(templateFile_);
  StartProgram();
  HWND target = StartTarget();
  ASSERT_NE(target, nullptr);
  HWND editor = OpenEditorFromPopup();
  ASSERT_NE(editor, nullptr);

  // A change: a new template, named.
  ChooseMenuItem(1, 0);
  HWND grid = TemplateList(editor);
  ASSERT_NE(grid, nullptr);
  ASSERT_TRUE(probe::PumpUntil([&] { return VisibleChild(grid, L"Edit") != nullptr; }, 3s)) << "no name to type";
  probe::PhysicalType("zz");
  probe::PhysicalKeys({"Return"});
  ASSERT_TRUE(probe::PumpUntil([&] { return ListRowOf(grid, L"zz") >= 0; }, 3s));

  // Cancel: the program and the editor go on.
  Boxes().AnswerWith(IDCANCEL);
  ChooseTrayExit();
  ASSERT_TRUE(Boxes().WaitForBox(5s).has_value()) << "Exit asked nothing";
  EXPECT_EQ(Boxes().Seen()[0].box.text, L"There are unsaved changes.\r\nDo you want to save them before closing?");
  probe::PumpMessages(1000ms);
  EXPECT_FALSE(snibbet_->WaitExit(0ms).has_value()) << "Cancel ended the program";
  EXPECT_NE(Find(L"TTemplateSetupForm"), nullptr);

  // No: the program ends; the file is as it was.
  Boxes().AnswerWith(IDNO);
  ChooseTrayExit();
  const auto code = snibbet_->WaitExit(10s);
  ASSERT_TRUE(code.has_value()) << "No kept the program running";
  EXPECT_EQ(*code, 0u);
  ASSERT_EQ(Boxes().Seen().size(), 2u);
  EXPECT_EQ(Boxes().Seen()[1].answer, IDNO);
  EXPECT_EQ(ReadBytes(templateFile_), before);
  EXPECT_EQ(probe::ReadRegString(kSettingsKey, L"TemplatesFileName"), templateFile_);
}

}  // namespace
}  // namespace snibbet_e2e
