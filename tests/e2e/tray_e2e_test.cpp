// The tray of the running program: its icon, its menu driven through the
// icon's callback message, the click that opens the template pop-up, the
// balloon counters, Exit and the answer to a second start.
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "testing/probe/probe.h"
#include "tests/e2e/app_e2e_support.h"

namespace snibbet_e2e {
namespace {

using namespace std::chrono_literals;

constexpr UINT kTrayCallback = WM_APP + 0x2F10;
constexpr UINT kBalloonUserClick = WM_USER + 5;

class TrayTest : public SnibbetTest {
 protected:
  std::string Log() const {
    std::ifstream file(std::filesystem::path(folder_.File(L"Log.txt")), std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
  }
  bool WaitForLog(const std::string& needle, std::chrono::milliseconds timeout = 10s) const {
    return probe::WaitUntil([&] { return Log().find(needle) != std::string::npos; }, timeout);
  }
  // The event of the last log line that starts with `prefix` (without its time).
  std::string LogLine(const std::string& prefix) const {
    const std::string log = Log();
    const auto at = log.rfind("\n" + prefix);
    if (at == std::string::npos) return {};
    const std::string line = log.substr(at + 1, log.find('\n', at + 1) - at - 1);
    return line.substr(0, line.rfind(" : "));
  }
  probe::Process& StartRunning() {
    probe::Process& snibbet = StartSnibbet({L"/debug"}, probe::AtEnd::MayRun);
    main_ = WaitForMainWindow(snibbet.Pid());
    EXPECT_NE(main_, nullptr);
    tray_ = probe::WaitForWindow({.className = L"TSnibbetTrayIcon", .pid = snibbet.Pid()}, 5s);
    EXPECT_NE(tray_, nullptr);
    EXPECT_TRUE(WaitForLog("Run"));
    return snibbet;
  }
  HWND WaitForMenu(DWORD pid) {
    return probe::WaitForWindow({.className = L"#32768", .pid = pid, .visibleOnly = true}, 5s);
  }
  static void Key(HWND menu, UINT key) { PostMessageW(menu, WM_KEYDOWN, key, 0); }
  // Opens the menu with the right button and picks the item `downs` steps
  // down (0: closes it with Esc).
  void PickFromMenu(DWORD pid, int downs, bool fromBottom = false) {
    PostMessageW(tray_, kTrayCallback, 1, WM_RBUTTONUP);
    HWND menu = WaitForMenu(pid);
    ASSERT_NE(menu, nullptr) << "no menu";
    if (downs == 0) {
      Key(menu, VK_ESCAPE);
    } else {
      for (int i = 0; i < downs; ++i) Key(menu, fromBottom ? VK_UP : VK_DOWN);
      Key(menu, VK_RETURN);
    }
    EXPECT_TRUE(probe::WaitForNoWindow({.className = L"#32768", .pid = pid, .visibleOnly = true}, 5s));
  }

  static HWND PopupOf(const probe::Process& snibbet) {
    return probe::FindTopWindow({.className = L"TTemplateViewForm", .pid = snibbet.Pid(), .visibleOnly = true});
  }

  HWND main_ = nullptr;
  HWND tray_ = nullptr;
};

TEST_F(TrayTest, IconMenuActiveSwitchAndExit) {
  firstStart_ = true;  // the welcome tip
  probe::Process& snibbet = StartRunning();
  EXPECT_TRUE(WaitForLog("TrayIcon Orvane Paste")) << "the shell did not take the icon:\n" << Log();
  EXPECT_TRUE(WaitForLog("Balloon FirstStart"));
  EXPECT_EQ(probe::ReadRegDword(kSettingsKey, L"FirstStart"), 1u) << "the welcome balloon counts once";

  PickFromMenu(snibbet.Pid(), 0);
  EXPECT_EQ(LogLine("TrayMenu"),
            // The template item names its hotkey, bound from the default setting.
            "TrayMenu Active | Sounds | Templates (Win+Space) | - | Settings | - | Information |   Help: Orvane Paste\tF1 | "
            "  Orvane Paste on the web |   Write to support |   Forum |   Request a feature |   Send report | "
            "  Check for a new version | About Orvane Paste | - | Exit");

  // The first item switches off, and on again.
  PickFromMenu(snibbet.Pid(), 1);
  EXPECT_TRUE(WaitForLog("Stop"));
  PickFromMenu(snibbet.Pid(), 0);
  EXPECT_NE(LogLine("TrayMenu").find("TrayMenu Inactive |"), std::string::npos) << LogLine("TrayMenu");
  PickFromMenu(snibbet.Pid(), 1);
  EXPECT_TRUE(probe::WaitUntil([&] { return Log().rfind("\nStart") > Log().rfind("\nStop"); }, 5s));

  // Exit, the last item: both programs end and the settings are written.
  PickFromMenu(snibbet.Pid(), 1, true);
  auto code = snibbet.WaitExit(10s);
  ASSERT_TRUE(code.has_value()) << "Exit did not end the program";
  EXPECT_EQ(*code, 0u);
  EXPECT_TRUE(probe::WaitUntil([] { return probe::ProcessesNamed(L"SnibbetCm.exe").empty(); }, 5s))
      << "the input helper still runs";
  EXPECT_TRUE(probe::ReadRegValue(kSettingsKey, L"SCShowTemplates").has_value()) << "settings not saved";
  EXPECT_LT(Log().find("Exit"), Log().rfind("Stop"));
}

TEST_F(TrayTest, AboutBoxShowsOnceAndCloseFreesIt) {
  probe::Process& snibbet = StartRunning();
  const probe::WindowQuery aboutBox{.className = L"TAboutForm", .pid = snibbet.Pid(), .visibleOnly = true};
  PickFromMenu(snibbet.Pid(), 2, true);  // About, above Exit
  HWND about = probe::WaitForWindow(aboutBox, 5s);
  ASSERT_NE(about, nullptr) << "no About box";
  EXPECT_EQ(probe::CaptionOf(about), L"About Orvane Paste");
  EXPECT_EQ(probe::OwnerOf(about), nullptr) << "it has a taskbar button of its own";
  std::wstring name, build;
  HWND close = nullptr;
  for (HWND child : probe::ChildWindows(about)) {
    const std::wstring text = probe::WindowText(child);
    if (text.rfind(L"Orvane Paste ", 0) == 0) name = text;
    if (text.rfind(L"Build: ", 0) == 0) build = text;
    if (text == L"Close") close = child;
  }
  EXPECT_GT(name.size(), std::wstring(L"Orvane Paste ").size()) << "no product version: " << name;
  EXPECT_GT(build.size(), std::wstring(L"Build: ").size()) << "no file version: " << build;
  ASSERT_NE(close, nullptr);

  // A second About brings the open box forward.
  PickFromMenu(snibbet.Pid(), 2, true);
  ASSERT_TRUE(snibbet.WaitIdle(5s));
  EXPECT_EQ(probe::FindWindows({.className = L"TAboutForm", .pid = snibbet.Pid()}),
            std::vector<HWND>{about});
  EXPECT_TRUE(IsWindowVisible(about));

  PostMessageW(close, BM_CLICK, 0, 0);
  EXPECT_TRUE(probe::WaitForNoWindow({.className = L"TAboutForm", .pid = snibbet.Pid()}, 5s)) << "not freed";
  EXPECT_TRUE(WaitForLog("AboutForm freed"));
  const std::string log = Log();
  EXPECT_EQ(log.find("AboutForm : "), log.rfind("AboutForm : ")) << "one box was made";

  // Closed, the next About makes a new one.
  PickFromMenu(snibbet.Pid(), 2, true);
  EXPECT_NE(probe::WaitForWindow(aboutBox, 5s), nullptr);
}

TEST_F(TrayTest, LeftClickOpensThePopupForTheFocusedEditOnce) {
  probe::Process& target = Start(TestDir() + L"ProbeTarget.exe", {L"edit", L"TrayTarget"}, probe::AtEnd::MayRun);
  HWND targetWindow = probe::WaitForWindow({.title = L"TrayTarget", .pid = target.Pid(), .visibleOnly = true}, 5s);
  ASSERT_NE(targetWindow, nullptr);
  probe::PhysicalFocus(targetWindow);
  ASSERT_TRUE(probe::WaitUntil([&] { return GetForegroundWindow() == targetWindow; }, 5s));

  probe::Process& snibbet = StartRunning();
  ASSERT_TRUE(snibbet.WaitIdle(5s));
  // The shell's report of a double click: up, double click, up.
  PostMessageW(tray_, kTrayCallback, 1, WM_LBUTTONUP);
  PostMessageW(tray_, kTrayCallback, 1, WM_LBUTTONDBLCLK);
  PostMessageW(tray_, kTrayCallback, 1, WM_LBUTTONUP);
  ASSERT_TRUE(WaitForLog("ShowTemplateView"));
  ASSERT_TRUE(snibbet.WaitIdle(5s));
  probe::PumpMessages(300ms);
  const std::string log = Log();
  EXPECT_EQ(log.find("ShowTemplateView"), log.rfind("ShowTemplateView")) << "the pop-up was asked for twice";
  EXPECT_EQ(GetForegroundWindow(), targetWindow) << "the edit must be in front again";
  EXPECT_NE(LogLine("ShowTemplateView").find("ShowTemplateView "), std::string::npos)
      << "no caret position: " << LogLine("ShowTemplateView");

  // The pop-up shows at the caret of the edit.
  HWND popup = PopupOf(snibbet);
  ASSERT_NE(popup, nullptr) << "the pop-up is not open";
  RECT rect{};
  GetWindowRect(popup, &rect);
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(targetWindow, nullptr), &info));
  POINT caret{info.rcCaret.left, info.rcCaret.bottom};
  ClientToScreen(info.hwndCaret, &caret);
  EXPECT_LT(std::abs(rect.left - caret.x), 40) << rect.left << " " << caret.x;
  EXPECT_TRUE(std::abs(rect.top - caret.y) < 40 || std::abs(rect.bottom - caret.y) < 60) << rect.top << " " << caret.y;
}

TEST_F(TrayTest, ActiveOffLetsTheHotkeyThroughAndOnCatchesItAgain) {
  if (!probe::XdotoolAvailable()) GTEST_SKIP() << "needs Wine and xdotool";
  probe::Process& snibbet = StartRunning();
  probe::Process& target = Start(TestDir() + L"ProbeTarget.exe", {L"edit", L"TrayTarget"}, probe::AtEnd::MayRun);
  // Shown only once its edit exists: the title is there from the creation on.
  HWND targetWindow = probe::WaitForWindow({.title = L"TrayTarget", .pid = target.Pid(), .visibleOnly = true}, 5s);
  ASSERT_NE(targetWindow, nullptr);
  HWND edit = GetWindow(targetWindow, GW_CHILD);
  ASSERT_NE(edit, nullptr);

  PickFromMenu(snibbet.Pid(), 1);  // Active off
  ASSERT_TRUE(WaitForLog("Stop"));
  probe::PhysicalFocus(edit);
  probe::PhysicalChord({"super", "space"});
  EXPECT_TRUE(probe::WaitUntil([&] { return probe::WindowText(edit) == L" "; }, 3s)) << "the hotkey did not reach the edit";
  EXPECT_EQ(PopupOf(snibbet), nullptr);

  PickFromMenu(snibbet.Pid(), 1);  // on again
  ASSERT_TRUE(probe::WaitUntil([&] { return Log().rfind("\nStart") > Log().rfind("\nStop"); }, 5s));
  probe::PhysicalFocus(edit);
  probe::PhysicalChord({"super", "space"});
  EXPECT_TRUE(probe::WaitUntil([&] { return PopupOf(snibbet) != nullptr; }, 3s)) << "the hotkey was not caught";
  EXPECT_EQ(probe::WindowText(edit), L" ");
}

TEST_F(TrayTest, BalloonClickEndsTheTipForGood) {
  firstStart_ = true;  // the welcome tip
  probe::Process& snibbet = StartRunning();
  ASSERT_TRUE(WaitForLog("Balloon FirstStart"));
  PostMessageW(tray_, kTrayCallback, 1, kBalloonUserClick);
  EXPECT_TRUE(probe::WaitUntil([] { return probe::ReadRegDword(kSettingsKey, L"FirstStart") == 1000u; }, 5s));
  (void)snibbet;
}

TEST_F(TrayTest, SecondStartShowsTheTipAndTheMenuOfTheFirst) {
  probe::Process& first = StartRunning();
  ASSERT_TRUE(first.WaitIdle(5s));
  probe::Process& second = StartSnibbet();
  ASSERT_TRUE(second.WaitExit(5s).has_value());
  HWND menu = WaitForMenu(first.Pid());
  ASSERT_NE(menu, nullptr) << "the first copy showed no menu";
  EXPECT_TRUE(WaitForLog("Balloon StartContextMenu"));
  EXPECT_EQ(probe::ReadRegDword(kSettingsKey, L"StartContextMenu"), 1u);
  Key(menu, VK_ESCAPE);
  EXPECT_TRUE(probe::WaitForNoWindow({.className = L"#32768", .pid = first.Pid(), .visibleOnly = true}, 5s));
  const std::string log = Log();
  EXPECT_EQ(log.find("SecondInstance"), log.rfind("SecondInstance")) << "one message 1215";
}

}  // namespace
}  // namespace snibbet_e2e
