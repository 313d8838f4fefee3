// The settings window's pages in the running program: a hotkey captured by
// physical keys and applied, which then opens the pop-up while the old one
// reaches the application; a template set added to the template file and
// removed again; an event's sound applied and Default bringing it back.
#include <windows.h>
#include <commctrl.h>

#include <set>
#include <string>
#include <vector>

#include "testing/probe/probe.h"
#include "tests/e2e/settings_e2e_support.h"

namespace snibbet_e2e {
namespace {

using namespace std::chrono_literals;

using SettingsPagesTest = SettingsE2eTest;

// Left Ctrl and left Alt with T, as the settings store keeps a hotkey.
constexpr DWORD kCtrlAltT = 0x6054;
constexpr int kHasSoundPicture = 50;

std::set<std::string> NamesOf(const std::vector<snibbet::TemplateRecord>& templates) {
  std::set<std::string> names;
  for (const auto& record : templates) names.insert(record.Name);
  return names;
}

TEST_F(SettingsPagesTest, AHotkeyCapturedByItsKeysOpensThePopupOnceAppliedAndTheOldOneReachesTheApplication) {
  UseTemplateFile(L"hotkeys.zqt", {TextTemplate("hello", "Hello")});
  StartRunning();
  HWND target = StartTarget();
  ASSERT_NE(target, nullptr);
  HWND edit = GetWindow(target, GW_CHILD);
  ASSERT_NE(OpenSettings(), nullptr);
  ShowPage(L"Hotkeys");
  HWND field = Control(L"Win+Space");
  HWND choose = Control(L"...");
  HWND apply = Control(L"Save");
  ASSERT_NE(field, nullptr);
  ASSERT_NE(choose, nullptr);
  ASSERT_NE(apply, nullptr);

  Click(choose);
  HWND capture = probe::WaitForWindow({.className = L"TGetShortKeyForm", .pid = snibbet_->Pid(), .visibleOnly = true}, 5s);
  ASSERT_NE(capture, nullptr) << "the capture dialog did not open";
  ASSERT_TRUE(probe::WaitUntil([&] { return GetForegroundWindow() == capture; }, 5s));
  HWND newKeys = nullptr;
  for (HWND child : probe::ChildWindows(capture))
    if (probe::ClassNameOf(child) == L"Edit" && !(GetWindowLongW(child, GWL_STYLE) & ES_READONLY)) newKeys = child;
  ASSERT_NE(newKeys, nullptr);
  // The capture runs while its field has the focus.
  ASSERT_TRUE(probe::WaitUntil(
      [&] {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(GetWindowThreadProcessId(capture, nullptr), &info) && info.hwndFocus == newKeys;
      },
      5s));
  Sync();
  probe::PhysicalFocus(newKeys);
  probe::PumpMessages(300ms);
  probe::PhysicalChord({"ctrl", "alt", "t"});
  ASSERT_TRUE(probe::WaitUntil([&] { return probe::WindowText(newKeys) == L"Ctrl+Alt+T"; }, 5s))
      << probe::ToUtf8(probe::WindowText(newKeys));
  Click(GetDlgItem(capture, IDOK));
  ASSERT_TRUE(probe::WaitForNoWindow({.className = L"TGetShortKeyForm", .pid = snibbet_->Pid()}, 5s));
  EXPECT_TRUE(probe::WaitUntil([&] { return probe::WindowText(field) == L"Ctrl+Alt+T"; }, 5s))
      << probe::ToUtf8(probe::WindowText(field));
  ASSERT_TRUE(probe::WaitUntil([&] { return IsWindowEnabled(apply) != FALSE; }, 5s));

  Click(apply);
  ASSERT_TRUE(probe::WaitUntil([&] { return !IsWindowEnabled(apply); }, 5s));
  EXPECT_EQ(probe::ReadRegDword(kSettingsKey, L"SCShowTemplates"), kCtrlAltT);
  Click(GetDlgItem(settings_, IDCANCEL));
  ASSERT_TRUE(probe::WaitForNoWindow({.className = L"TMainForm", .pid = snibbet_->Pid()}, 5s));

  // The new hotkey opens the pop-up over the application.
  probe::PhysicalFocus(edit);
  probe::PhysicalChord({"ctrl", "alt", "t"});
  ASSERT_TRUE(probe::PumpUntil([&] { return Find(L"TTemplateViewForm") != nullptr; }, 3s)) << "no pop-up";
  probe::PumpMessages(300ms);
  probe::PhysicalKeys({"Escape"});
  ASSERT_TRUE(probe::PumpUntil([&] { return Find(L"TTemplateViewForm") == nullptr; }, 3s));
  EXPECT_EQ(probe::WindowText(edit), L"");

  // The old one is the application's again.
  probe::PhysicalFocus(edit);
  probe::PhysicalChord({"super", "space"});
  EXPECT_TRUE(probe::WaitUntil([&] { return probe::WindowText(edit) == L" "; }, 3s))
      << "Win+Space did not reach the application: " << probe::ToUtf8(probe::WindowText(edit));
  EXPECT_EQ(Find(L"TTemplateViewForm"), nullptr);
}

TEST_F(SettingsPagesTest, ATemplateSetAddedGoesIntoTheTemplateFileAndRemovedLeavesItAsBefore) {
  // In name order, as the program writes its templates.
  UseTemplateFile(L"sets.zqt", {TextTemplate("bye", "Bye"), TextTemplate("hello", "Hello")});
  const std::string bytesBefore = ReadBytes(templateFile_);
  const std::vector<snibbet::TemplateRecord> before = SavedTemplates();
  const std::vector<snibbet::TemplateRecord> sql = ReadTemplateFile(folder_.File(L"Templates\\SQL.zqt"));
  ASSERT_FALSE(sql.empty());
  std::set<std::string> both = NamesOf(before);
  for (const auto& record : sql) both.insert(record.Name);
  StartRunning();
  ASSERT_NE(OpenSettings(), nullptr);
  ShowPage(L"Templates");
  HWND sets = nullptr;
  for (HWND child : probe::ChildWindows(settings_))
    if (IsWindowVisible(child) && probe::ClassNameOf(child) == L"ListBox") sets = child;
  ASSERT_NE(sets, nullptr);
  ASSERT_EQ(SendMessageW(sets, LB_GETCOUNT, 0, 0), 5);
  HWND add = Control(L"Add");
  HWND remove = Control(L"Remove");
  HWND apply = Control(L"Save");
  ASSERT_NE(add, nullptr);
  ASSERT_NE(remove, nullptr);

  SendMessageW(sets, LB_SETCURSEL, 3, 0);  // SQL
  Click(add);
  Answer(L"Templates\\SQL.zqt", IDYES);
  // Read only once the program is done: a reader holding the file would make its save fail.
  ASSERT_EQ(NamesOf(SavedTemplates()), both) << "not saved with the set";
  for (const auto& record : sql) EXPECT_EQ(SavedTemplate(record.Name), record.Template) << record.Name;
  EXPECT_EQ(SavedTemplate("hello"), "Hello");
  EXPECT_FALSE(IsWindowEnabled(apply)) << "the template file is not a setting";

  Click(remove);
  Answer(L"Templates\\SQL.zqt", IDYES);
  ASSERT_EQ(NamesOf(SavedTemplates()), NamesOf(before));
  const std::vector<snibbet::TemplateRecord> after = SavedTemplates();
  ASSERT_EQ(after.size(), before.size());
  for (size_t i = 0; i < before.size(); ++i) {
    EXPECT_EQ(after[i].Name, before[i].Name);
    EXPECT_EQ(after[i].Kind, before[i].Kind);
    EXPECT_EQ(after[i].Template, before[i].Template);
  }
  EXPECT_EQ(ReadBytes(templateFile_), bytesBefore);
}

TEST_F(SettingsPagesTest, AnEventsSoundIsStoredByApplyAndDefaultBringsEveryDefaultBack) {
  StartRunning();
  ASSERT_NE(OpenSettings(), nullptr);
  ShowPage(L"Sounds");
  HWND tree = nullptr, sound = nullptr;
  for (HWND child : probe::ChildWindows(settings_)) {
    if (!IsWindowVisible(child)) continue;
    if (probe::ClassNameOf(child) == WC_TREEVIEWW && child != ChildOfClass(settings_, WC_TREEVIEWW)) tree = child;
    if (probe::ClassNameOf(child) == L"ComboBox") sound = child;
  }
  ASSERT_NE(tree, nullptr);
  ASSERT_NE(sound, nullptr);
  HWND soundsOn = Control(L"Sounds", L"Button");
  HWND apply = Control(L"Save");
  HWND defaults = Control(L"Default settings");
  ASSERT_NE(soundsOn, nullptr);
  ASSERT_NE(defaults, nullptr);
  const std::vector<ListItem> events = TreeItems(tree);
  ASSERT_EQ(events.size(), 4u);
  EXPECT_EQ(events[0].text, L"A character key typed");
  EXPECT_LT(events[0].image, 0) << "no picture without a sound";
  EXPECT_EQ(probe::WindowText(sound), L"None");

  // The first event's sound chosen from the list by keys.
  HWND soundField = GetWindow(sound, GW_CHILD);
  ASSERT_NE(soundField, nullptr);
  probe::PhysicalFocus(settings_);
  probe::PhysicalClick(CentreOf(soundField));
  for (int press = 0; press < 8 && probe::WindowText(sound) != L"Action"; ++press) {
    probe::PhysicalKeys({"Down"});
    probe::PumpMessages(100ms);
  }
  ASSERT_EQ(probe::WindowText(sound), L"Action");
  Click(soundsOn);
  ASSERT_TRUE(probe::WaitUntil([&] { return IsWindowEnabled(apply) != FALSE; }, 5s));
  ASSERT_TRUE(snibbet_->WaitIdle(5s));
  EXPECT_EQ(TreeItems(tree)[0].image, kHasSoundPicture);
  EXPECT_EQ(probe::ReadRegString(kSettingsKey, L"Sound3"), L"") << "nothing stored before Apply";

  Click(apply);
  ASSERT_TRUE(probe::WaitUntil([&] { return !IsWindowEnabled(apply); }, 5s));
  EXPECT_EQ(probe::ReadRegString(kSettingsKey, L"Sound3"), L"Action");
  EXPECT_EQ(probe::ReadRegDword(kSettingsKey, L"SoundEnabled"), 1u);

  // Default asks first; No changes nothing.
  Click(defaults);
  Answer(L"restore the default settings", IDNO);
  EXPECT_EQ(probe::ReadRegString(kSettingsKey, L"Sound3"), L"Action");
  EXPECT_EQ(probe::WindowText(sound), L"Action");
  Click(defaults);
  Answer(L"restore the default settings", IDYES);
  // The window shows the defaults too.
  EXPECT_TRUE(probe::WaitUntil(
      [&] {
        return probe::WindowText(sound) == L"None" && SendMessageW(soundsOn, BM_GETCHECK, 0, 0) == BST_UNCHECKED &&
               TreeItems(tree)[0].image < 0;
      },
      5s))
      << probe::ToUtf8(probe::WindowText(sound)) << " " << SendMessageW(soundsOn, BM_GETCHECK, 0, 0) << " "
      << TreeItems(tree)[0].image;
  EXPECT_EQ(probe::ReadRegString(kSettingsKey, L"Sound3"), L"");
  EXPECT_EQ(probe::ReadRegDword(kSettingsKey, L"SoundEnabled"), 0u);
  EXPECT_FALSE(IsWindowEnabled(apply)) << "the defaults are stored at once";
}

}  // namespace
}  // namespace snibbet_e2e
