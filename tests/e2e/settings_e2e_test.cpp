// The settings window in the running program: opened from the tray with its
// pages in order, opened only once, and a change closed without Apply that
// leaves the settings key as it was; a switch to the shipped German that every
// open window, the pop-up and the tray follow at once and a close without
// Apply takes back; start-with-Windows
// through the options program, and its failure.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/lang_file.h"
#include "testing/probe/probe.h"
#include "tests/e2e/settings_e2e_support.h"

namespace snibbet_e2e {
namespace {

using namespace std::chrono_literals;

using SettingsWindowTest = SettingsE2eTest;

constexpr int kEnglishLanguage = 9;
constexpr int kGermanFlag = 15;

// The shipped German texts, found by the English text of the same number, so
// that the journey reads in English and follows every edit of the wording.
class GermanTexts {
 public:
  explicit GermanTexts(const ProgramFolderCopy& folder) {
    for (const auto& entry : snibbet::ParseLanguageFile(ReadBytes(folder.File(L"Lang\\de.txt"))))
      german_[entry.Id] = entry.Text;
    for (const auto& entry : snibbet::ParseLanguageFile(ReadBytes(folder.File(L"Lang\\en.txt"))))
      numbers_.emplace(entry.Text, entry.Id);
  }
  std::wstring operator()(const std::wstring& english) const {
    const auto number = numbers_.find(english);
    if (number == numbers_.end()) {
      ADD_FAILURE() << "no English text " << probe::ToUtf8(english);
      return english;
    }
    const auto text = german_.find(number->second);
    if (text == german_.end()) ADD_FAILURE() << "no German text " << number->second;
    return text == german_.end() ? english : text->second;
  }
  std::string Utf8(const std::wstring& english) const { return probe::ToUtf8((*this)(english)); }

 private:
  std::map<int, std::wstring> german_;
  std::map<std::wstring, int> numbers_;
};

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
  const GermanTexts german(folder_);
  UseTemplateFile(L"language.zqt", {TextTemplate("hello", "Hello")});
  StartRunning();
  ASSERT_NE(StartTarget(), nullptr);
  HWND editor = OpenEditorFromPopup();
  ASSERT_NE(editor, nullptr);
  const std::wstring editorCaption = probe::CaptionOf(editor);
  const std::wstring editorFile = editorCaption.substr(editorCaption.find(L" - ["));
  ASSERT_EQ(editorCaption, L"Template editor" + editorFile);
  HWND popup = probe::WaitForWindow({.className = L"TTemplateViewForm", .pid = snibbet_->Pid()}, 5s);
  ASSERT_NE(popup, nullptr);
  // The pop-up draws its buttons: their texts are read from its log line, "<texts> : <time>".
  const auto popupButtons = [&] {
    const std::string prefix = "TemplateViewForm buttons ";
    std::string line = LogLine(prefix);
    line = line.substr(std::min(line.size(), prefix.size()));
    line = line.substr(0, line.rfind(" : "));
    std::vector<std::wstring> texts;
    for (size_t start = 0; !line.empty();) {
      const size_t end = line.find(" | ", start);
      texts.push_back(probe::FromUtf8(line.substr(start, end - start)));
      if (end == std::string::npos) break;
      start = end + 3;
    }
    return texts;
  };
  const std::vector<std::wstring> englishButtons = popupButtons();
  ASSERT_EQ(englishButtons, (std::vector<std::wstring>{L"Paste", L"Close", L"Editor"}));
  const std::string trayTexts = TrayMenuTexts();
  ASSERT_NE(trayTexts.find("TrayMenu Active | Sounds |"), std::string::npos) << trayTexts;

  ASSERT_NE(OpenSettings(), nullptr);
  HWND apply = Control(L"Save");
  HWND languages = ChildOfClass(settings_, WC_COMBOBOXEXW);
  ASSERT_NE(apply, nullptr);
  ASSERT_NE(languages, nullptr);
  // Every shipped language under its own name and flag.
  const std::vector<ListItem> items = ComboExItems(languages);
  std::map<std::wstring, int> flags;
  int english = -1, deutsch = -1;
  for (size_t i = 0; i < items.size(); ++i) {
    flags[items[i].text] = items[i].image;
    if (items[i].text == L"English") english = static_cast<int>(i);
    if (items[i].text == L"Deutsch") deutsch = static_cast<int>(i);
  }
  EXPECT_EQ(flags, (std::map<std::wstring, int>{{L"English", 2}, {L"Deutsch", kGermanFlag}, {L"\u0420\u0443\u0441\u0441\u043a\u0438\u0439", 29}}));
  ASSERT_GE(english, 0);
  ASSERT_GE(deutsch, 0);
  EXPECT_EQ(SendMessageW(languages, CB_GETCURSEL, 0, 0), english);

  // German chosen in the list by the user's keys.
  probe::PhysicalClick(CentreOf(languages));
  probe::PumpMessages(300ms);
  for (int step = english; step != deutsch; step += deutsch > english ? 1 : -1)
    probe::PhysicalKeys({deutsch > english ? "Down" : "Up"});
  probe::PhysicalKeys({"Return"});
  ASSERT_TRUE(probe::WaitUntil([&] { return probe::CaptionOf(settings_) == german(L"Settings"); }, 5s))
      << probe::ToUtf8(probe::CaptionOf(settings_));
  const std::vector<std::wstring> nodes{german(L"Main settings"), german(L"Hotkeys"), german(L"Templates"),
                                        german(L"Sounds"), german(L"Other")};
  HWND tree = ChildOfClass(settings_, WC_TREEVIEWW);
  EXPECT_TRUE(probe::WaitUntil([&] { return TreeTexts(tree) == nodes; }, 5s));
  EXPECT_TRUE(probe::WaitUntil([&] { return probe::WindowText(apply) == german(L"Save"); }, 5s));
  EXPECT_TRUE(probe::WaitUntil([&] { return IsWindowEnabled(apply) != FALSE; }, 5s));
  EXPECT_TRUE(probe::WaitUntil([&] { return probe::CaptionOf(editor) == german(L"Template editor") + editorFile; }, 5s))
      << "the open editor did not follow: " << probe::ToUtf8(probe::CaptionOf(editor));
  EXPECT_EQ(popupButtons(), (std::vector<std::wstring>{german(L"Paste"), german(L"Close"), german(L"Editor")}))
      << "the pop-up did not follow";
  EXPECT_EQ(SendMessageW(languages, CB_GETCURSEL, 0, 0), deutsch);
  // The Sounds page's events are made again in the new language; none gains a sound.
  HWND events = nullptr;
  for (HWND child : probe::ChildWindows(settings_))
    if (probe::ClassNameOf(child) == WC_TREEVIEWW && child != tree) events = child;
  ASSERT_NE(events, nullptr);
  const std::vector<ListItem> eventItems = TreeItems(events);
  ASSERT_EQ(eventItems.size(), 4u);
  EXPECT_EQ(eventItems[0].text, german(L"A character key typed"));
  for (const ListItem& event : eventItems) EXPECT_LT(event.image, 0) << probe::ToUtf8(event.text);
  const std::string germanTray = "TrayMenu " + german.Utf8(L"Active") + " | " + german.Utf8(L"Sounds") + " |";
  EXPECT_NE(TrayMenuTexts().find(germanTray), std::string::npos) << LogLine("TrayMenu ");
  EXPECT_EQ(probe::ReadRegDword(kSettingsKey, L"Language"), static_cast<DWORD>(kEnglishLanguage))
      << "nothing stored before Apply";

  // Close, No: the stored language comes back everywhere.
  PostMessageW(settings_, WM_CLOSE, 0, 0);
  const std::wstring unsaved = german(L"There are unsaved changes.\r\nDo you want to save them before closing?");
  Answer(unsaved.substr(0, unsaved.find(L"\r\n")), IDNO);
  ASSERT_TRUE(probe::WaitForNoWindow({.className = L"TMainForm", .pid = snibbet_->Pid()}, 5s));
  EXPECT_EQ(probe::CaptionOf(editor), editorCaption);
  EXPECT_EQ(popupButtons(), englishButtons);
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
