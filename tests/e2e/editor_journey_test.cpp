// The template editor's journey with the real Snibbet.exe and SnibbetCm.exe
// and physical input: the hotkey's pop-up, its Edit button, a new template
// added, named and written, Ctrl+S, the editor closed; the file on disk holds
// the template, and the next hotkey after its name pastes it.
// With SNIBBET_EDITOR_SCREENSHOT set to a path, the screen is saved there
// while the editor shows the new template.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "templates/zqt_codec.h"
#include "testing/probe/probe.h"
#include "tests/e2e/app_e2e_support.h"

namespace snibbet_e2e {
namespace {

using namespace std::chrono_literals;

std::string ReadBytes(const std::wstring& path) {
  std::ifstream file(std::filesystem::path(path), std::ios::binary);
  std::stringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

POINT CentreOf(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

POINT CentreOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return CentreOf(r);
}

class EditorJourneyTest : public SnibbetTest {
 protected:
  void SetUp() override {
    SnibbetTest::SetUp();
    if (!probe::XdotoolAvailable()) GTEST_SKIP() << "needs Wine and xdotool";
    for (DWORD pid : probe::ProcessesNamed(L"SnibbetCm.exe")) probe::Process::Attach(pid).Kill();
    templateFile_ = folder_.File(L"journey.zqt");
    snibbet::TemplateRecord hello;
    hello.Name = "hello";
    hello.Template = "Hello";
    std::ofstream(std::filesystem::path(templateFile_), std::ios::binary) << snibbet::WriteZqt({hello});
    probe::WriteRegString(kSettingsKey, L"TemplatesFileName", templateFile_);
  }

  HWND Find(const wchar_t* className) const {
    return probe::FindTopWindow({.className = className, .pid = snibbet_->Pid(), .visibleOnly = true});
  }
  // The visible child of `parent` of that class whose style has all of `style`.
  static HWND Child(HWND parent, const wchar_t* className, DWORD style = 0, const std::wstring& text = {}) {
    for (HWND child : probe::ChildWindows(parent)) {
      if (!IsWindowVisible(child) || _wcsicmp(probe::ClassNameOf(child).c_str(), className) != 0) continue;
      if ((static_cast<DWORD>(GetWindowLongW(child, GWL_STYLE)) & style) != style) continue;
      if (!text.empty() && probe::WindowText(child) != text) continue;
      return child;
    }
    return nullptr;
  }
  // The file's template of that name, or nothing.
  std::optional<std::string> SavedTemplate(const std::string& name) const {
    const std::string bytes = ReadBytes(templateFile_);
    for (const auto& record : snibbet::ReadZqt(bytes).Records)
      if (record.Name == name) return std::string(record.Template);
    return std::nullopt;
  }

  std::wstring templateFile_;
  probe::Process* snibbet_ = nullptr;
};

TEST_F(EditorJourneyTest, ATemplateAddedAndSavedInTheEditorIsOnDiskAndPastesAfterItsName) {
  snibbet_ = &StartSnibbet({L"/debug"});
  HWND main = WaitForMainWindow(snibbet_->Pid());
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(probe::WaitUntil([&] { return ReadBytes(folder_.File(L"Log.txt")).find("Keyboard hook installed") !=
                                            std::string::npos; }, 10s));
  const std::wstring title = L"Editor target " + std::to_wstring(GetCurrentProcessId());
  Start(TestDir() + L"ProbeTarget.exe", {L"edit", title}, probe::AtEnd::MustRun);
  HWND target = probe::WaitForWindow({.className = L"ProbeTargetWindow", .title = title, .visibleOnly = true}, 10s);
  ASSERT_NE(target, nullptr);
  HWND targetEdit = GetWindow(target, GW_CHILD);
  probe::PhysicalFocus(targetEdit);

  // The pop-up's Edit button opens the editor.
  probe::PhysicalChord({"super", "space"});
  HWND popup = nullptr;
  ASSERT_TRUE(probe::PumpUntil([&] { return (popup = Find(L"TTemplateViewForm")) != nullptr; }, 3s));
  probe::PumpMessages(300ms);
  HWND editButton = Child(popup, L"Button", 0, L"Editor");
  ASSERT_NE(editButton, nullptr);
  probe::PhysicalClick(CentreOf(editButton));
  HWND editor = nullptr;
  ASSERT_TRUE(probe::PumpUntil([&] { return (editor = Find(L"TTemplateSetupForm")) != nullptr; }, 5s))
      << "the editor did not open";
  EXPECT_NE(probe::CaptionOf(editor).find(templateFile_), std::wstring::npos) << probe::ToUtf8(probe::CaptionOf(editor));
  EXPECT_EQ(Find(L"TTemplateViewForm"), nullptr);
  probe::PhysicalFocus(editor);

  // Editor > Add from the menu bar by its keys; the new template's name is typed in place.
  ASSERT_NE(GetMenu(editor), nullptr);
  probe::PhysicalKeys({"F10"});
  probe::PumpMessages(300ms);
  probe::PhysicalKeys({"Right"});
  probe::PumpMessages(300ms);
  probe::PhysicalKeys({"Down"});
  probe::PumpMessages(300ms);
  probe::PhysicalKeys({"Return"});
  HWND grid = Child(editor, WC_LISTVIEWW);
  ASSERT_NE(grid, nullptr);
  ASSERT_TRUE(probe::PumpUntil([&] { return Child(grid, L"Edit") != nullptr; }, 3s)) << "no name to type";
  probe::PhysicalType("zz");
  probe::PhysicalKeys({"Return"});
  ASSERT_TRUE(probe::PumpUntil([&] { return Child(grid, L"Edit") == nullptr; }, 3s));

  HWND memo = Child(editor, L"Edit", ES_MULTILINE);
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

  // Saved: Alt+X closes without a question. Without a window manager X sends
  // keys to the window under the pointer: it stays over a window that outlives
  // the editor, so the release of Alt is not lost with it.
  RECT editorRect{}, targetRect{}, both{};
  GetWindowRect(editor, &editorRect);
  GetWindowRect(target, &targetRect);
  ASSERT_TRUE(IntersectRect(&both, &editorRect, &targetRect));
  probe::PhysicalPointAt(CentreOf(both));
  probe::PhysicalKeys({"alt+x"});
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
  CloseNormally(*snibbet_, main);
}

}  // namespace
}  // namespace snibbet_e2e
