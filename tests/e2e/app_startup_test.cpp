// Snibbet.exe started as a user starts it: hidden, one copy at a time, its
// settings saved at a normal exit, its debug log, and a missing language folder.
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "testing/probe/probe.h"
#include "tests/e2e/app_e2e_support.h"

namespace snibbet_e2e {
namespace {

using namespace std::chrono_literals;
constexpr UINT kSecondInstance = 1215;

std::vector<HWND> MainWindowsOf(DWORD pid) {
  return probe::FindWindows({.className = L"TFirstForm", .pid = pid});
}

TEST_F(SnibbetTest, StartsHiddenWithAnOwnedMainWindowAndSavesEverySettingAtExit) {
  probe::Process& snibbet = StartSnibbet();
  HWND main = WaitForMainWindow(snibbet.Pid());
  ASSERT_NE(main, nullptr);
  EXPECT_NE(probe::OwnerOf(main), nullptr) << "the main window must be owned by the application window";
  ASSERT_TRUE(snibbet.WaitIdle(5s));
  EXPECT_TRUE(probe::VisibleWindowsOf(snibbet.Pid()).empty());

  CloseNormally(snibbet, main);

  const std::vector<std::wstring> written = {
      L"ActionFileName0", L"ActionFileName1", L"ActionFileName2", L"ActionFileName3", L"TemplatesFileName",
      L"TemplatesBreaks", L"KeyboardHideDelay", L"KeyboardName", L"KeyboardShowDelay", L"KeyboardLang",
      L"ActionFileName", L"KeyboardAutoHide", L"KeyboardShowShift", L"KeyboardShowCtrl", L"KeyboardShowAlt",
      L"KeyboardShowWin", L"KeyboardShowCaption", L"KeyboardShowLabels", L"KeyboardCenterInfo",
      L"ShowKeyboardZone", L"ShowCharCtrl", L"ShowLangIcon", L"ShowCaretFlag", L"ShowCaretFlagOnChange",
      L"FastCaretFlag", L"CaretFlagAlphaBlend", L"MaxClipboardHistory", L"UniqueClipboard",
      L"TaskSwitchShowHidden", L"TaskSwitchSmallIcon", L"UniqueProcessHistory", L"ShowIconApp",
      L"ShowIconZqkeys", L"ShowIconWindows", L"ShowIconHints", L"HighPriority", L"HideTrayIcon", L"Language",
      L"ShowHotkeySquare", L"UseGestures", L"SensitivityGestures", L"SCShowTemplates", L"SoundEnabled",
      L"Sound0", L"Sound1", L"Sound2", L"Sound3", L"Sound4", L"Sound5", L"Sound6", L"Sound7", L"Sound8"};
  for (const auto& name : written) {
    EXPECT_TRUE(probe::ReadRegValue(kSettingsKey, name).has_value()) << probe::ToUtf8(name) << " not saved";
  }
  EXPECT_EQ(probe::ReadRegDword(kSettingsKey, L"SCShowTemplates"), 32800u);
  EXPECT_EQ(probe::ReadRegDword(kSettingsKey, L"FirstStart"), 1u);
  EXPECT_FALSE(probe::ReadRegValue(kSettingsKey, L"DisabledLang0").has_value());
  EXPECT_FALSE(probe::ReadRegValue(kSettingsKey, L"AccessDenied").has_value());
}

TEST_F(SnibbetTest, KeyboardWindowsExistHiddenAndKeepTheKeyboardsPlaceAtExit) {
  probe::Process& snibbet = StartSnibbet();
  HWND main = WaitForMainWindow(snibbet.Pid());
  ASSERT_NE(main, nullptr);
  // Both are made early and take the layout's size before the loop; the
  // first idle may come before, in a wait for the helper.
  std::vector<HWND> keyboards, backgrounds;
  probe::WaitUntil(
      [&] {
        keyboards = probe::FindWindows({.className = L"TMainKeyboardForm", .pid = snibbet.Pid()});
        backgrounds = probe::FindWindows({.className = L"TMainKeyboardBackgroundForm", .pid = snibbet.Pid()});
        RECT r{};
        // Its unseen first showing is above the screen; then it is hidden in its place.
        return keyboards.size() == 1 && !backgrounds.empty() && GetWindowRect(keyboards[0], &r) &&
               r.right - r.left == 777 && r.top >= 0 && !IsWindowVisible(keyboards[0]);
      },
      10s);
  ASSERT_EQ(keyboards.size(), 1u);
  ASSERT_EQ(backgrounds.size(), 1u);
  for (HWND window : {keyboards[0], backgrounds[0]}) {
    EXPECT_FALSE(IsWindowVisible(window));
    const LONG_PTR ex = GetWindowLongPtrW(window, GWL_EXSTYLE);
    EXPECT_TRUE(ex & WS_EX_NOACTIVATE);
    EXPECT_TRUE(ex & WS_EX_TOPMOST);
    EXPECT_TRUE(ex & WS_EX_LAYERED);
    EXPECT_FALSE(ex & WS_EX_APPWINDOW);
    EXPECT_EQ(probe::OwnerOf(window), nullptr);
  }
  COLORREF key = 0;
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(keyboards[0], &key, &alpha, &flags));
  EXPECT_EQ(key, RGB(0, 255, 0));  // the see-through face
  EXPECT_TRUE(flags & LWA_COLORKEY);
  ASSERT_TRUE(GetLayeredWindowAttributes(backgrounds[0], &key, &alpha, &flags));
  EXPECT_EQ(key, RGB(255, 255, 255));
  EXPECT_EQ(alpha, 100);
  EXPECT_EQ(flags, static_cast<DWORD>(LWA_COLORKEY | LWA_ALPHA));
  // Placed on its monitor for the built-in layout of 777 x 243.
  RECT bounds{};
  GetWindowRect(keyboards[0], &bounds);
  EXPECT_EQ(bounds.right - bounds.left, 777);
  EXPECT_EQ(bounds.bottom - bounds.top, 243);

  CloseNormally(snibbet, main);
  const auto top = probe::ReadRegDword(kSettingsKey, L"TMainKeyboardFormTop");
  const auto left = probe::ReadRegDword(kSettingsKey, L"TMainKeyboardFormLeft");
  ASSERT_TRUE(top.has_value());
  ASSERT_TRUE(left.has_value());
  EXPECT_EQ(static_cast<LONG>(*top), bounds.top);
  EXPECT_EQ(static_cast<LONG>(*left), bounds.left);
  EXPECT_FALSE(probe::ReadRegValue(kSettingsKey, L"TMainKeyboardFormWidth").has_value());
  EXPECT_FALSE(probe::ReadRegValue(kSettingsKey, L"TMainKeyboardFormState").has_value());
}

TEST_F(SnibbetTest, SecondStartPostsOneMessageToTheRunningCopyAndEnds) {
  probe::TestWindow running(L"TFirstForm", L"SnibbetFirstForm");
  const DWORD before = GetTickCount();
  probe::Process& second = StartSnibbet();
  auto code = second.WaitExit(5s);
  ASSERT_TRUE(code.has_value());
  // Well before the 5 s it waits for a copy that is still starting.
  EXPECT_LT(GetTickCount() - before, 4000u);
  EXPECT_TRUE(MainWindowsOf(second.Pid()).empty());
  ASSERT_TRUE(running.WaitForCount(kSecondInstance, 1, 1s));
  probe::PumpMessages(200ms);
  ASSERT_EQ(running.Count(kSecondInstance), 1u);
  EXPECT_EQ(running.Messages(kSecondInstance)[0].wParam, 0u);
  EXPECT_EQ(running.Messages(kSecondInstance)[0].lParam, 0);
}

TEST_F(SnibbetTest, OnlyTheExactClassAndTitleStopAStart) {
  probe::TestWindow otherTitle(L"TFirstForm", L"SomethingElse");
  probe::TestWindow otherClass(L"TSomeForm", L"SnibbetFirstForm");
  probe::Process& snibbet = StartSnibbet();
  HWND main = WaitForMainWindow(snibbet.Pid());
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(otherTitle.Count(kSecondInstance) + otherClass.Count(kSecondInstance), 0u);
  CloseNormally(snibbet, main);
}

TEST_F(SnibbetTest, TwoStartsAtOnceLeaveOneCopyRunning) {
  probe::Process& first = StartSnibbet({}, probe::AtEnd::MayRun);
  probe::Process& second = StartSnibbet({}, probe::AtEnd::MayRun);
  ASSERT_TRUE(probe::WaitUntil([&] { return !first.Running() || !second.Running(); }, 10s));
  probe::Process& survivor = first.Running() ? first : second;
  HWND main = WaitForMainWindow(survivor.Pid());
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(survivor.WaitIdle(5s));
  EXPECT_TRUE(survivor.Running());
  EXPECT_EQ(probe::FindWindows({.className = L"TFirstForm", .title = L"SnibbetFirstForm"}).size(), 1u);
  // When the other start found the survivor, the survivor answers with its tray menu.
  if (HWND menu = probe::WaitForWindow({.className = L"#32768", .pid = survivor.Pid(), .visibleOnly = true}, 1s)) {
    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(probe::WaitForNoWindow({.className = L"#32768", .pid = survivor.Pid(), .visibleOnly = true}, 5s));
  }
  CloseNormally(survivor, main);
}

TEST_F(SnibbetTest, ASecondStartWhileTheFirstStillShowsABoxRunsNoSecondCopy) {
  // A damaged icon set: the first start says so in a box before its main
  // window exists, and the box stays until the user answers it.
  std::ofstream(std::filesystem::path(folder_.File(L"Icons\\Damaged.zqi")), std::ios::binary) << "XXXX";
  Boxes().LeaveOpen();
  probe::Process& first = StartSnibbet({}, probe::AtEnd::MayRun);
  const auto box = Boxes().WaitForBox(15s);
  ASSERT_TRUE(box.has_value()) << "no box for the damaged icon set";
  ASSERT_TRUE(MainWindowsOf(first.Pid()).empty());

  probe::Process& second = StartSnibbet({}, probe::AtEnd::MayRun);
  ASSERT_TRUE(second.WaitExit(30s).has_value()) << "the second start runs on beside the first";
  EXPECT_EQ(Boxes().Seen().size(), 1u) << "the second start got as far as its own box";
  EXPECT_TRUE(MainWindowsOf(second.Pid()).empty());

  // Answered, the first goes on as the one copy.
  probe::AnswerDefault(box->box);
  const HWND main = WaitForMainWindow(first.Pid());
  ASSERT_NE(main, nullptr) << "the first start did not go on after its box";
  ASSERT_TRUE(first.WaitIdle(10s));
  EXPECT_EQ(probe::FindWindows({.className = L"TFirstForm", .title = L"SnibbetFirstForm"}).size(), 1u);
  CloseNormally(first, main);
}

TEST_F(SnibbetTest, ASettingsKeyThatCannotBeOpenedStartsOnDefaultsAndSaysSoOnce) {
  // Under a volatile parent the settings key, which must outlive the session,
  // cannot be made: the store can neither write nor read it.
  const std::wstring parent = L"SOFTWARE\\OrvaneSoftware";
  probe::DeleteRegKey(parent);
  HKEY volatileParent = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, parent.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                            nullptr, &volatileParent, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(volatileParent);
  struct ParentRemoved {
    std::wstring key;
    ~ParentRemoved() { probe::DeleteRegKey(key); }
  } parentRemoved{parent};
  HKEY probeKey = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                      &probeKey, nullptr) == ERROR_SUCCESS) {
    RegCloseKey(probeKey);
    GTEST_SKIP() << "this system makes lasting keys under a volatile one";
  }

  firstStart_ = true;  // nothing can be written beforehand either
  probe::Process& snibbet = StartSnibbet({}, probe::AtEnd::MustHaveEnded);
  const auto box = Boxes().WaitForBox(20s);
  ASSERT_TRUE(box.has_value()) << "the user was not told";
  EXPECT_EQ(box->box.caption, L"Warning");
  EXPECT_NE(box->box.text.find(L"cannot store its settings"), std::wstring::npos) << box->box.text;
  EXPECT_NE(box->box.text.find(std::wstring(L"HKEY_CURRENT_USER\\") + kSettingsKey), std::wstring::npos);
  const HWND main = WaitForMainWindow(snibbet.Pid());
  ASSERT_NE(main, nullptr) << "the program did not start";
  const HWND helper = probe::WaitForWindow({.className = L"SnibbetCm", .title = L"SnibbetCm"}, 10s);
  ASSERT_NE(helper, nullptr);
  probe::Process helperProcess = probe::Process::Attach(probe::ProcessOf(helper));
  ASSERT_TRUE(snibbet.WaitIdle(10s));
  EXPECT_TRUE(snibbet.Running());

  CloseNormally(snibbet, main);
  EXPECT_EQ(Boxes().Seen().size(), 1u) << "told once";
  EXPECT_TRUE(helperProcess.WaitExit(10s).has_value()) << "the helper outlived the program";
}

TEST_F(SnibbetTest, WithoutADisplayItSaysWhatIsMissingAndEnds) {
  const auto program = probe::UnixPathOf(folder_.File(L"Snibbet.exe"));
  if (!program) GTEST_SKIP() << "needs Wine";
  // Started from the shell as a user would, only without an X display.
  const auto run = probe::RunUnixProgram("env", {"-u", "DISPLAY", "wine", *program}, 60s);
  ASSERT_TRUE(run.has_value()) << "it ran on without a display";
  EXPECT_EQ(run->exitCode, 1) << run->output;
  EXPECT_NE(run->output.find("Orvane Paste cannot start"), std::string::npos) << run->output;
  EXPECT_NE(run->output.find("No display is available"), std::string::npos) << run->output;
}

TEST_F(SnibbetTest, DebugSwitchLogsTheStartAndTheEnd) {
  probe::Process& snibbet = StartSnibbet({L"/debug"});
  HWND main = WaitForMainWindow(snibbet.Pid());
  ASSERT_NE(main, nullptr);
  CloseNormally(snibbet, main);

  std::ifstream log(std::filesystem::path(folder_.File(L"Log.txt")), std::ios::binary);
  ASSERT_TRUE(log.good()) << "no Log.txt in the program folder";
  std::stringstream text;
  text << log.rdbuf();
  std::vector<std::string> events;
  std::string line;
  while (std::getline(text, line)) {
    if (line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
    events.push_back(line.substr(0, line.find(" : ")));
  }
  const std::vector<std::string> expected = {"Initialize", "FirstForm", "Run", "Finalize"};
  std::vector<std::string> seen;
  for (const auto& event : events) {
    if (std::find(expected.begin(), expected.end(), event) != expected.end()) seen.push_back(event);
  }
  EXPECT_EQ(seen, expected);
}

TEST_F(SnibbetTest, WithoutLanguageFilesItSaysSoAndEndsWithoutSaving) {
  firstStart_ = true;  // the key stays empty
  folder_.Remove(L"Lang");
  probe::Process& snibbet = StartSnibbet();
  auto box = Boxes().WaitForBox(10s);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->box.text, L"Cannot load language data!\r\n\r\nCheck folder 'Lang'.");
  EXPECT_EQ(box->box.caption, L"Error");
  auto code = snibbet.WaitExit(10s);
  ASSERT_TRUE(code.has_value());
  EXPECT_TRUE(probe::ListRegValues(kSettingsKey).empty());
}

}  // namespace
}  // namespace snibbet_e2e
