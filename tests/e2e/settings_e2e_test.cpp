// The settings window in the running program: opened from the tray with its
// pages in order, opened only once, and a change closed without Apply that
// leaves the settings key as it was; a language switch that every open window
// follows at once and a close without Apply takes back; start-with-Windows
// through the options program, and its failure.
#include <windows.h>
#include <commctrl.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "testing/probe/probe.h"
#include "tests/e2e/settings_e2e_support.h"

namespace snibbet_e2e {
namespace {

using namespace std::chrono_literals;

using SettingsWindowTest = SettingsE2eTest;

constexpr int kEnglishLanguage = 9;
constexpr int kTestLanguage = 7;       // a language number of its own, German's
constexpr int kTestLanguageFlag = 15;  // German's flag
constexpr char kTestPrefix[] = "Tt ";

// A language file beside English: each English text begun with "Tt ", with
// its own name and language number.
void WriteTestLanguage(const ProgramFolderCopy& folder) {
  std::istringstream english(ReadBytes(folder.File(L"Lang\\en.txt")));
  std::string texts, line;
  while (std::getline(english, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const bool numbered = line.size() > 7 && line[6] == '=' &&
                          line.find_first_not_of("0123456789") == 6;
    if (numbered && line.rfind("100000=", 0) == 0) line = "100000=Testish";
    else if (numbered && line.rfind("100001=", 0) == 0) line = "100001=" + std::to_string(kTestLanguage);
    else if (numbered) line.insert(7, kTestPrefix);
    texts += line + "\r\n";
  }
  std::ofstream(std::filesystem::path(folder.File(L"Lang\\tt.txt")), std::ios::binary) << texts;
}

std::wstring Tt(const std::wstring& text) { return L"Tt " + text; }

TEST_F(SettingsWindowTest, OpensFromTheTrayOnceAndCloseWithNoLeavesTheKeyAsItWas) {
  StartRunning();
  probe::Process& snibbet = *snibbet_;
  PickSettings();
  HWND settings = probe::WaitForWindow({.className = L"TMainForm", .pid = snibbet.Pid(), .visibleOnly = true}, 10s);
  ASSERT_NE(settings, nullptr) << "the settings window did not open";
  EXPECT_EQ(probe::CaptionOf(settings), L"Settings");
  EXPECT_TRUE(probe::WaitUntil([&] { return GetForegroundWindow() == settings; }, 5s)) << "not in front";
  EXPECT_TRUE(GetWindowLongW(settings, GWL_EXSTYLE) & WS_EX_APPWINDOW) << "its own taskbar button";
  HWND tree = ChildOfClass(settings, WC_TREEVIEWW);
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(TreeTexts(tree), (std::vector<std::wstring>{L"Main settings", L"Hotkeys", L"Templates", L"Sounds", L"Other"}));

  // The key as the opening stored it: the point a close without Apply returns to.
  ASSERT_TRUE(snibbet.WaitIdle(5s));
  const std::vector<probe::NamedRegValue> before = probe::ListRegValues(kSettingsKey);
  ASSERT_FALSE(before.empty());

  // The tray's Settings while the window is open opens no second one.
  PickSettings();
  ASSERT_TRUE(snibbet.WaitIdle(5s));
  int windows = 0;
  for (const probe::WindowInfo& window : probe::VisibleWindowsOf(snibbet.Pid()))
    if (probe::ClassNameOf(window.hwnd) == L"TMainForm") ++windows;
  EXPECT_EQ(windows, 1);
  EXPECT_TRUE(IsWindow(settings));

  // A live change: the box, then Apply enabled.
  HWND hideTrayIcon = ChildWithText(settings, L"Hide the Orvane Paste tray icon");
  // Text 340 is the editor's Save as well: the Apply button reads "Save".
  HWND apply = ChildWithText(settings, L"Save");
  ASSERT_NE(hideTrayIcon, nullptr);
  ASSERT_NE(apply, nullptr);
  EXPECT_FALSE(IsWindowEnabled(apply));
  PostMessageW(hideTrayIcon, BM_CLICK, 0, 0);
  EXPECT_TRUE(probe::WaitUntil([&] { return IsWindowEnabled(apply) != FALSE; }, 5s)) << "Apply not enabled";
  EXPECT_EQ(SendMessageW(hideTrayIcon, BM_GETCHECK, 0, 0), BST_CHECKED);

  // Close, No: the stored settings come back and the window goes.
  PostMessageW(settings, WM_CLOSE, 0, 0);
  // The box is read again until its buttons are there.
  std::optional<probe::MessageBoxInfo> question;
  ASSERT_TRUE(probe::WaitUntil(
      [&] {
        question = probe::FindMessageBox(snibbet.Pid());
        return question && question->Button(IDNO);
      },
      5s))
      << "no question on close";
  EXPECT_NE(question->text.find(L"unsaved changes"), std::wstring::npos) << probe::ToUtf8(question->text);
  std::string buttons;
  for (const probe::DialogButton& button : question->buttons)
    buttons += std::to_string(button.id) + ":" + probe::ToUtf8(button.text) + " ";
  ASSERT_TRUE(probe::PressButton(*question, IDNO)) << buttons;
  EXPECT_TRUE(probe::WaitForNoWindow({.className = L"TMainForm", .pid = snibbet.Pid()}, 5s));
  ASSERT_TRUE(snibbet.WaitIdle(5s));
  const std::vector<probe::NamedRegValue> after = probe::ListRegValues(kSettingsKey);
  ASSERT_EQ(after.size(), before.size());
  for (size_t i = 0; i < before.size(); ++i) {
    EXPECT_EQ(after[i].name, before[i].name);
    EXPECT_EQ(after[i].value.type, before[i].value.type) << probe::ToUtf8(before[i].name);
    EXPECT_EQ(after[i].value.data, before[i].value.data) << probe::ToUtf8(before[i].name);
  }

  // The tray's Settings works again once the window is gone.
  PickSettings();
  EXPECT_NE(probe::WaitForWindow({.className = L"TMainForm", .pid = snibbet.Pid(), .visibleOnly = true}, 10s), nullptr);
}

TEST_F(SettingsWindowTest, ALanguageSwitchTranslatesEveryOpenWindowAndCloseWithNoTakesItBack) {
  WriteTestLanguage(folder_);
  UseTemplateFile(L"language.zqt", {TextTemplate("hello", "Hello")});
  StartRunning();
  ASSERT_NE(StartTarget(), nullptr);
  HWND editor = OpenEditorFromPopup();
  ASSERT_NE(editor, nullptr);
  const std::wstring editorCaption = probe::CaptionOf(editor);
  ASSERT_EQ(editorCaption.rfind(L"Template editor - [", 0), 0u) << probe::ToUtf8(editorCaption);
  const std::string trayTexts = TrayMenuTexts();
  ASSERT_NE(trayTexts.find("TrayMenu Active | Sounds |"), std::string::npos) << trayTexts;

  ASSERT_NE(OpenSettings(), nullptr);
  HWND apply = Control(L"Save");
  HWND languages = ChildOfClass(settings_, WC_COMBOBOXEXW);
  ASSERT_NE(apply, nullptr);
  ASSERT_NE(languages, nullptr);
  const std::vector<ListItem> items = ComboExItems(languages);
  int english = -1, test = -1;
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i].text == L"English") english = static_cast<int>(i);
    if (items[i].text == L"Testish") test = static_cast<int>(i);
  }
  ASSERT_EQ(items.size(), 2u);
  ASSERT_GE(english, 0);
  ASSERT_GE(test, 0);
  EXPECT_EQ(items[static_cast<size_t>(test)].image, kTestLanguageFlag) << "the language's own flag";
  EXPECT_EQ(SendMessageW(languages, CB_GETCURSEL, 0, 0), english);

  // The other language chosen in the list by the user's keys.
  probe::PhysicalClick(CentreOf(languages));
  probe::PumpMessages(300ms);
  probe::PhysicalKeys({test > english ? "Down" : "Up"});
  probe::PhysicalKeys({"Return"});
  ASSERT_TRUE(probe::WaitUntil([&] { return probe::CaptionOf(settings_) == Tt(L"Settings"); }, 5s))
      << probe::ToUtf8(probe::CaptionOf(settings_));
  const std::vector<std::wstring> nodes{Tt(L"Main settings"), Tt(L"Hotkeys"), Tt(L"Templates"), Tt(L"Sounds"),
                                        Tt(L"Other")};
  HWND tree = ChildOfClass(settings_, WC_TREEVIEWW);
  EXPECT_TRUE(probe::WaitUntil([&] { return TreeTexts(tree) == nodes; }, 5s));
  EXPECT_TRUE(probe::WaitUntil([&] { return probe::WindowText(apply) == Tt(L"Save"); }, 5s));
  EXPECT_TRUE(probe::WaitUntil([&] { return IsWindowEnabled(apply) != FALSE; }, 5s));
  EXPECT_TRUE(probe::WaitUntil([&] { return probe::CaptionOf(editor) == Tt(editorCaption); }, 5s))
      << "the open editor did not follow: " << probe::ToUtf8(probe::CaptionOf(editor));
  EXPECT_EQ(SendMessageW(languages, CB_GETCURSEL, 0, 0), test);
  // The Sounds page's events are made again in the new language; none gains a sound.
  HWND events = nullptr;
  for (HWND child : probe::ChildWindows(settings_))
    if (probe::ClassNameOf(child) == WC_TREEVIEWW && child != tree) events = child;
  ASSERT_NE(events, nullptr);
  const std::vector<ListItem> eventItems = TreeItems(events);
  ASSERT_EQ(eventItems.size(), 4u);
  EXPECT_EQ(eventItems[0].text, Tt(L"A character key typed"));
  for (const ListItem& event : eventItems) EXPECT_LT(event.image, 0) << probe::ToUtf8(event.text);
  EXPECT_NE(TrayMenuTexts().find("TrayMenu Tt Active | Tt Sounds |"), std::string::npos) << LogLine("TrayMenu ");
  EXPECT_EQ(probe::ReadRegDword(kSettingsKey, L"Language"), static_cast<DWORD>(kEnglishLanguage))
      << "nothing stored before Apply";

  // Close, No: the stored language comes back everywhere.
  PostMessageW(settings_, WM_CLOSE, 0, 0);
  Answer(Tt(L"There are unsaved changes."), IDNO);
  ASSERT_TRUE(probe::WaitForNoWindow({.className = L"TMainForm", .pid = snibbet_->Pid()}, 5s));
  EXPECT_EQ(probe::CaptionOf(editor), editorCaption);
  EXPECT_NE(TrayMenuTexts().find("TrayMenu Active | Sounds |"), std::string::npos) << LogLine("TrayMenu ");
  EXPECT_EQ(probe::ReadRegDword(kSettingsKey, L"Language"), static_cast<DWORD>(kEnglishLanguage));
}

TEST_F(SettingsWindowTest, StartWithWindowsRunsTheOptionsProgramOnceAndTheRunValueFollows) {
  const std::wstring commandLog = folder_.File(L"options-program.txt");
  const EnvironmentScope logTo(L"VARNOCK_COMMAND_LOG", commandLog);
  // Slow, as a user at the elevation prompt: the poll runs while the user clicks on.
  const EnvironmentScope slow(L"VARNOCK_DELAY_MS", L"1000");
  const auto commandLines = [&] {
    std::vector<std::string> lines;
    std::istringstream log(ReadBytes(commandLog));
    for (std::string line; std::getline(log, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
    }
    return lines;
  };
  const std::string program = probe::ToUtf8(folder_.File(L"Snibbet.exe"));
  StartRunning();
  ASSERT_NE(OpenSettings(), nullptr);
  HWND startWithWindows = Control(L"Start Orvane Paste with Windows");
  HWND apply = Control(L"Save");
  ASSERT_NE(startWithWindows, nullptr);
  ASSERT_NE(apply, nullptr);
  ASSERT_EQ(SendMessageW(startWithWindows, BM_GETCHECK, 0, 0), BST_UNCHECKED);

  Click(startWithWindows);
  ASSERT_TRUE(probe::WaitUntil([&] { return IsWindowEnabled(apply) != FALSE; }, 5s));
  EXPECT_TRUE(commandLines().empty()) << "nothing reaches the system before Apply";
  Click(apply);
  ASSERT_TRUE(probe::WaitUntil([&] { return !commandLines().empty(); }, 5s)) << "the options program did not run";
  // During the poll: Apply again starts nothing, and the window will not close.
  Click(apply);
  PostMessageW(settings_, WM_CLOSE, 0, 0);
  ASSERT_TRUE(probe::WaitUntil([&] { return !IsWindowEnabled(apply); }, 5s)) << "the apply did not end";
  EXPECT_EQ(MachineRunValue(), folder_.File(L"Snibbet.exe"));
  EXPECT_EQ(SendMessageW(startWithWindows, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_TRUE(IsWindow(settings_)) << "closed during the poll";
  EXPECT_FALSE(probe::FindMessageBox(snibbet_->Pid()).has_value()) << "a question during the poll";
  probe::PumpMessages(1500ms);
  std::vector<std::string> lines = commandLines();
  ASSERT_EQ(lines.size(), 1u) << "a second start";
  const std::string optionsProgram = probe::ToUtf8(folder_.File(L"Varnock.exe"));
  EXPECT_EQ(lines[0], "\"" + optionsProgram + "\" \"" + program + "\" 1 0");

  // Off again: the value goes.
  Click(startWithWindows);
  ASSERT_TRUE(probe::WaitUntil([&] { return IsWindowEnabled(apply) != FALSE; }, 5s));
  Click(apply);
  ASSERT_TRUE(probe::WaitUntil([&] { return commandLines().size() == 2; }, 5s));
  ASSERT_TRUE(probe::WaitUntil([&] { return !IsWindowEnabled(apply); }, 5s));
  EXPECT_EQ(MachineRunValue(), std::nullopt);
  EXPECT_EQ(SendMessageW(startWithWindows, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  lines = commandLines();
  EXPECT_EQ(lines[1], "\"" + optionsProgram + "\" \"" + program + "\" 0 0");

  // Without the options program, beside another change: the error box, the
  // box shows the real state, and the other change stays unapplied, not stored.
  folder_.Remove(L"Varnock.exe");
  HWND hideTrayIcon = Control(L"Hide the Orvane Paste tray icon");
  ASSERT_NE(hideTrayIcon, nullptr);
  const std::optional<DWORD> hiddenBefore = probe::ReadRegDword(kSettingsKey, L"HideTrayIcon");
  ASSERT_EQ(hiddenBefore, 0u);
  Click(hideTrayIcon);
  Click(startWithWindows);
  ASSERT_TRUE(probe::WaitUntil([&] { return IsWindowEnabled(apply) != FALSE; }, 5s));
  Click(apply);
  const std::optional<probe::MessageBoxInfo> error = WaitForBox();
  ASSERT_TRUE(error.has_value()) << "no error box";
  EXPECT_EQ(error->caption, L"Error");
  EXPECT_FALSE(error->text.empty());
  EXPECT_EQ(error->text.find(L"RunElevated"), std::wstring::npos) << "the system's message: " << probe::ToUtf8(error->text);
  ASSERT_TRUE(probe::PressButton(*error, IDOK));
  ASSERT_TRUE(probe::WaitUntil([&] { return !IsWindow(error->hwnd); }, 5s));
  EXPECT_TRUE(probe::WaitUntil([&] { return SendMessageW(startWithWindows, BM_GETCHECK, 0, 0) == BST_UNCHECKED; }, 5s));
  EXPECT_TRUE(IsWindowEnabled(apply));
  EXPECT_EQ(MachineRunValue(), std::nullopt);
  EXPECT_EQ(commandLines().size(), 2u);
  EXPECT_EQ(probe::ReadRegDword(kSettingsKey, L"HideTrayIcon"), hiddenBefore) << "the failed apply stored it";

  // Now the window closes as any other: it asks, and No leaves the key as it was.
  PostMessageW(settings_, WM_CLOSE, 0, 0);
  Answer(L"There are unsaved changes.", IDNO);
  EXPECT_TRUE(probe::WaitForNoWindow({.className = L"TMainForm", .pid = snibbet_->Pid()}, 5s));
  ASSERT_TRUE(snibbet_->WaitIdle(5s));
  EXPECT_EQ(probe::ReadRegDword(kSettingsKey, L"HideTrayIcon"), hiddenBefore);
}

}  // namespace
}  // namespace snibbet_e2e
