// The template editor's journey with the real Snibbet.exe and SnibbetCm.exe
// and physical input: the hotkey's pop-up, its Edit button, a new template
// added, named and written, Ctrl+S, the editor closed; the file on disk holds
// the template, and the next hotkey after its name pastes it.
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
  HWND grid = VisibleChild(editor, WC_LISTVIEWW);
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

}  // namespace
}  // namespace snibbet_e2e
