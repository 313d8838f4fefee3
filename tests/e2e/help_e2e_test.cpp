// Help in the running program: the template editor's Help item, F1 and the
// settings window's Help button open the program's help file (the viewer's
// window titled with the file's title); with the file gone nothing shows and
// the program goes on.
#include <windows.h>

#include <string>

#include "testing/probe/probe.h"
#include "tests/e2e/editor_e2e_support.h"

namespace snibbet_e2e {
namespace {

using namespace std::chrono_literals;

constexpr UINT kTrayCallback = WM_APP + 0x2F10;
constexpr int kSettingsItem = 4;  // Active, Sounds, Templates, Settings
constexpr wchar_t kHelpWindowClass[] = L"HH Parent";
constexpr wchar_t kHelpTitle[] = L"Orvane Paste Help";  // the title in the help project
constexpr int kEditorHelpMenu = 2;                      // File, Editor, Help

class HelpTest : public EditorE2eTest {
 protected:
  void SetUp() override {
    EditorE2eTest::SetUp();
    if (IsSkipped()) return;
    UseTemplateFile(L"Help.zqt", {TextTemplate("greeting", "Hello")});
  }

  HWND HelpWindow() const {
    return probe::FindTopWindow({.className = kHelpWindowClass, .pid = snibbet_->Pid(), .visibleOnly = true});
  }
  // The viewer's window, waited for, then closed again.
  void ExpectHelpWindowThenClose(const char* what) {
    HWND help = nullptr;
    EXPECT_TRUE(probe::PumpUntil([&] { return (help = HelpWindow()) != nullptr; }, 10s)) << what << ": no help window";
    if (!help) return;
    EXPECT_EQ(probe::CaptionOf(help), kHelpTitle) << what;
    // The viewer may still be settling its panes: ask again until it goes.
    probe::PumpMessages(500ms);
    const bool closed = probe::PumpUntil(
        [&] {
          if (HWND open = HelpWindow()) PostMessageW(open, WM_CLOSE, 0, 0);
          probe::PumpMessages(300ms);
          return HelpWindow() == nullptr;
        },
        10s);
    EXPECT_TRUE(closed) << what << ": the help window stays";
  }

  HWND OpenSettingsFromTray() {
    HWND tray = probe::WaitForWindow({.className = L"TSnibbetTrayIcon", .pid = snibbet_->Pid()}, 5s);
    if (!tray) {
      ADD_FAILURE() << "no tray window";
      return nullptr;
    }
    PostMessageW(tray, kTrayCallback, 1, WM_RBUTTONUP);
    HWND menu = probe::WaitForWindow({.className = L"#32768", .pid = snibbet_->Pid(), .visibleOnly = true}, 5s);
    if (!menu) {
      ADD_FAILURE() << "no tray menu";
      return nullptr;
    }
    for (int i = 0; i < kSettingsItem; ++i) PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
    HWND settings = probe::WaitForWindow({.className = L"TMainForm", .pid = snibbet_->Pid(), .visibleOnly = true}, 10s);
    if (!settings) ADD_FAILURE() << "the settings window did not open";
    return settings;
  }
  // The settings window's Help button (its caption is language text 104).
  static HWND HelpButton(HWND settings) { return VisibleChild(settings, L"Button", 0, L"Information"); }
};

TEST_F(HelpTest, TheEditorsHelpItemF1AndTheSettingsWindowsHelpButtonOpenTheHelpFile) {
  StartProgram();
  StartTarget();
  HWND editor = OpenEditorFromPopup();
  ASSERT_NE(editor, nullptr);
  ChooseMenuItem(kEditorHelpMenu, 0);
  ExpectHelpWindowThenClose("the editor's Help item");

  probe::PhysicalFocus(editor);
  probe::PhysicalKeys({"F1"});
  ExpectHelpWindowThenClose("F1 in the editor");
  PostMessageW(editor, WM_CLOSE, 0, 0);
  ASSERT_TRUE(probe::PumpUntil([&] { return Find(L"TTemplateSetupForm") == nullptr; }, 5s));

  HWND settings = OpenSettingsFromTray();
  ASSERT_NE(settings, nullptr);
  HWND help = HelpButton(settings);
  ASSERT_NE(help, nullptr);
  PostMessageW(help, BM_CLICK, 0, 0);
  ExpectHelpWindowThenClose("the settings window's Help button");

  probe::PhysicalFocus(settings);
  probe::PhysicalKeys({"F1"});
  ExpectHelpWindowThenClose("F1 in the settings window");
  EXPECT_TRUE(IsWindow(settings));
  PostMessageW(settings, WM_CLOSE, 0, 0);
  CloseNormally(*snibbet_, main_);
}

TEST_F(HelpTest, WithoutTheHelpFileHelpShowsNothingAndTheProgramGoesOn) {
  folder_.Remove(L"Snibbet.chm");
  StartProgram();
  HWND settings = OpenSettingsFromTray();
  ASSERT_NE(settings, nullptr);
  HWND help = HelpButton(settings);
  ASSERT_NE(help, nullptr);
  PostMessageW(help, BM_CLICK, 0, 0);
  probe::PhysicalFocus(settings);
  probe::PhysicalKeys({"F1"});
  ASSERT_TRUE(snibbet_->WaitIdle(5s));
  probe::PumpMessages(1500ms);

  EXPECT_EQ(HelpWindow(), nullptr);
  EXPECT_FALSE(probe::FindMessageBox(snibbet_->Pid())) << "no box of the viewer's or ours";
  for (const probe::WindowInfo& window : probe::VisibleWindowsOf(snibbet_->Pid()))
    EXPECT_NE(probe::ClassNameOf(window.hwnd), L"TQvBugMessageForm") << "no error report";
  EXPECT_TRUE(IsWindow(settings));
  EXPECT_TRUE(IsWindow(main_)) << "the program runs on";
  PostMessageW(settings, WM_CLOSE, 0, 0);
  CloseNormally(*snibbet_, main_);
}

}  // namespace
}  // namespace snibbet_e2e
