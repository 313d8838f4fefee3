// The first-run wizard in the running program: the first start for a new
// user opens it with the sample templates, its demo page pastes a sample with
// the hotkey while it stays in front, its steps are walked and its Settings
// leads to the settings window; the next start shows none. Its
// start-with-Windows box runs the options program, and a template hotkey on
// one of its proposal keys survives it.
#include <windows.h>
#include <commctrl.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "templates/zqt_codec.h"
#include "testing/probe/probe.h"
#include "tests/e2e/app_e2e_support.h"

namespace snibbet_e2e {
namespace {

using namespace std::chrono_literals;

constexpr wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kShellExtensionKey[] = L"CLSID\\{6B54FAD7-7ACD-4156-888D-118547A98218}";

HWND ChildWithText(HWND parent, const std::wstring& text) {
  for (HWND child : probe::ChildWindows(parent))
    if (probe::WindowText(child) == text) return child;
  return nullptr;
}

HWND ChildOfClassPrefix(HWND parent, const std::wstring& prefix) {
  for (HWND child : probe::ChildWindows(parent))
    if (probe::ClassNameOf(child).rfind(prefix, 0) == 0) return child;
  return nullptr;
}

bool Shown(HWND window) { return window && IsWindowVisible(window); }

// The text of a rich edit of another process, read through WM_GETTEXT.
std::wstring RichText(HWND edit) {
  wchar_t text[4096] = {};
  SendMessageTimeoutW(edit, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                      nullptr);
  return text;
}

bool MachineRunValueSet() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  const bool set = RegQueryValueExW(key, L"Snibbet", nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  RegCloseKey(key);
  return set;
}

bool ShellExtensionRegistered() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, kShellExtensionKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

class WizardTest : public SnibbetTest {
 protected:
  void SetUp() override {
    SnibbetTest::SetUp();
    if (!probe::XdotoolAvailable()) GTEST_SKIP() << "needs Wine and xdotool";
    for (DWORD pid : probe::ProcessesNamed(L"SnibbetCm.exe")) probe::Process::Attach(pid).Kill();
    firstStart_ = true;
    // The wizard's questions are answered Yes.
    Boxes().SetPolicy([](const probe::MessageBoxInfo&) { return IDYES; });
    templateFile_ = folder_.File(L"mine.zqt");
    probe::WriteRegString(kSettingsKey, L"TemplatesFileName", templateFile_);
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kRunKey, L"Snibbet");
    RegDeleteTreeW(HKEY_CLASSES_ROOT, kShellExtensionKey);
  }
  void TearDown() override {
    SnibbetTest::TearDown();
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kRunKey, L"Snibbet");
    RegDeleteTreeW(HKEY_CLASSES_ROOT, kShellExtensionKey);
  }

  std::string Log() const {
    std::ifstream file(std::filesystem::path(folder_.File(L"Log.txt")), std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
  }
  probe::Process& StartRunning() {
    probe::Process& snibbet = StartSnibbet({L"/debug"}, probe::AtEnd::MayRun);
    main_ = WaitForMainWindow(snibbet.Pid());
    EXPECT_NE(main_, nullptr);
    EXPECT_TRUE(probe::WaitUntil([&] { return Log().find("Run") != std::string::npos; }, 10s));
    return snibbet;
  }
  HWND WaitForWizard(DWORD pid) {
    return probe::WaitForWindow({.className = L"TWizardForm", .pid = pid, .visibleOnly = true}, 10s);
  }
  static int StepCount(HWND wizard) {
    HWND tree = ChildOfClassPrefix(wizard, WC_TREEVIEWW);
    return tree ? static_cast<int>(SendMessageW(tree, TVM_GETCOUNT, 0, 0)) : -1;
  }
  std::vector<std::string> TemplateNames() const {
    std::ifstream file(std::filesystem::path(templateFile_), std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    const std::string data = bytes.str();
    std::vector<std::string> names;
    for (const auto& record : snibbet::ReadZqt(data).Records) names.emplace_back(record.Name);
    return names;
  }

  std::wstring templateFile_;
  HWND main_ = nullptr;
};

TEST_F(WizardTest, FirstStartShowsTheWizardWhoseDemoPastesASampleAndWhoseSettingsLeadOn) {
  probe::Process& snibbet = StartRunning();
  HWND wizard = WaitForWizard(snibbet.Pid());
  ASSERT_NE(wizard, nullptr) << "no wizard on the first start";
  EXPECT_EQ(probe::CaptionOf(wizard), L"First-run wizard");
  EXPECT_TRUE(GetWindowLongW(wizard, GWL_EXSTYLE) & WS_EX_APPWINDOW) << "its own taskbar button";
  EXPECT_TRUE(probe::WaitUntil([&] { return GetForegroundWindow() == wizard; }, 5s)) << "not in front";
  EXPECT_EQ(StepCount(wizard), 3);
  // The samples are in the template file at once.
  std::vector<std::string> names;
  EXPECT_TRUE(probe::WaitUntil(
      [&] {
        names = TemplateNames();
        return std::find(names.begin(), names.end(), "test") != names.end();
      },
      5s));
  EXPECT_NE(std::find(names.begin(), names.end(), "hello"), names.end());

  HWND next = ChildWithText(wizard, L"Next >");
  HWND prior = ChildWithText(wizard, L"< Back");
  ASSERT_NE(next, nullptr);
  ASSERT_NE(prior, nullptr);
  EXPECT_FALSE(Shown(prior)) << "no Back on the first step";
  PostMessageW(next, BM_CLICK, 0, 0);
  HWND demo = nullptr;
  ASSERT_TRUE(probe::WaitUntil(
      [&] {
        demo = ChildOfClassPrefix(wizard, L"RICHEDIT");
        if (!demo) demo = ChildOfClassPrefix(wizard, L"RichEdit");
        return Shown(demo);
      },
      5s))
      << "the demo page did not show";
  EXPECT_TRUE(probe::WaitUntil([&] { return Shown(prior); }, 2s)) << "Back shows from the second step on";

  // A sample's name and the hotkey: the sample takes the name's place.
  probe::PhysicalFocus(demo);
  ASSERT_TRUE(probe::WaitUntil([&] { return GetForegroundWindow() == wizard; }, 5s));
  probe::PhysicalType("test");
  ASSERT_TRUE(probe::WaitUntil([&] { return RichText(demo) == L"test"; }, 5s)) << probe::ToUtf8(RichText(demo));
  probe::PhysicalChord({"super", "space"});
  EXPECT_TRUE(probe::WaitUntil([&] { return RichText(demo).find(L"text text text") != std::wstring::npos; }, 10s))
      << "not pasted: " << probe::ToUtf8(RichText(demo));
  EXPECT_EQ(RichText(demo).rfind(L"test", 0), std::wstring::npos) << "the name stays: " << probe::ToUtf8(RichText(demo));
  EXPECT_TRUE(probe::WaitUntil([&] { return GetForegroundWindow() == wizard; }, 3s)) << "the wizard lost the front";
  EXPECT_NE(Log().find("ShowTemplateView"), std::string::npos);

  // Back and on to the last step, where Next finishes.
  PostMessageW(prior, BM_CLICK, 0, 0);
  EXPECT_TRUE(probe::WaitUntil([&] { return !Shown(prior); }, 5s)) << "Back did not reach the first step";
  PostMessageW(next, BM_CLICK, 0, 0);
  PostMessageW(next, BM_CLICK, 0, 0);
  EXPECT_TRUE(probe::WaitUntil([&] { return probe::WindowText(next) == L"Finish"; }, 5s));

  // Settings on the last step: one question, then the settings window and no wizard.
  HWND settingsButton = ChildWithText(wizard, L"Settings");
  ASSERT_NE(settingsButton, nullptr);
  PostMessageW(settingsButton, BM_CLICK, 0, 0);
  const std::optional<probe::SeenMessageBox> question = Boxes().WaitForBox(5s);
  ASSERT_TRUE(question.has_value()) << "no question";
  EXPECT_NE(question->box.text.find(L"close the first-run wizard"), std::wstring::npos);
  EXPECT_NE(probe::WaitForWindow({.className = L"TMainForm", .pid = snibbet.Pid(), .visibleOnly = true}, 10s), nullptr)
      << "no settings window";
  EXPECT_TRUE(probe::WaitForNoWindow({.className = L"TWizardForm", .pid = snibbet.Pid()}, 5s));
  EXPECT_EQ(Boxes().Seen().size(), 1u) << "a second question on the last step";
  EXPECT_EQ(probe::ReadRegDword(kSettingsKey, L"FirstStart"), 1u);
  CloseNormally(snibbet, main_);

  // The next start opens no wizard.
  probe::Process& second = StartRunning();
  ASSERT_TRUE(second.WaitIdle(5s));
  probe::PumpMessages(1500ms);
  EXPECT_EQ(probe::FindTopWindow({.className = L"TWizardForm", .pid = second.Pid()}), nullptr);
  EXPECT_EQ(probe::ReadRegDword(kSettingsKey, L"FirstStart"), 1u);
}

TEST_F(WizardTest, StartWithWindowsRunsTheOptionsProgramWithTheShellExtensionUnchanged) {
  // The template hotkey on one of the proposal keys, of another kind there.
  probe::WriteRegDword(kSettingsKey, L"SCShowTemplates", (0x80 << 8) | 'O');
  probe::Process& snibbet = StartRunning();
  HWND wizard = WaitForWizard(snibbet.Pid());
  ASSERT_NE(wizard, nullptr);
  HWND box = ChildWithText(wizard, L"Start Orvane Paste with Windows");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_UNCHECKED) << "the box shows the system's state";

  // On, with no shell extension: a " 1" at the end would register it.
  PostMessageW(box, BM_CLICK, 0, 0);
  EXPECT_TRUE(probe::WaitUntil(MachineRunValueSet, 10s)) << "the options program did not switch it on";
  EXPECT_TRUE(probe::WaitUntil([&] { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }, 5s));
  EXPECT_FALSE(ShellExtensionRegistered());

  // Off, with the shell extension registered: a " 0" at the end would remove it.
  HKEY created = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, kShellExtensionKey, 0, nullptr, 0, KEY_WRITE, nullptr, &created,
                            nullptr),
            ERROR_SUCCESS);
  RegCloseKey(created);
  // The wait for the program ends at its next look (clicks meanwhile change nothing).
  probe::PumpMessages(600ms);
  PostMessageW(box, BM_CLICK, 0, 0);
  EXPECT_TRUE(probe::WaitUntil([] { return !MachineRunValueSet(); }, 10s)) << "the options program did not switch it off";
  EXPECT_TRUE(probe::WaitUntil([&] { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_UNCHECKED; }, 5s));
  EXPECT_TRUE(ShellExtensionRegistered());

  // The proposals left the template hotkey as it was: it opens the pop-up.
  const std::wstring title = L"Wizard target " + std::to_wstring(GetCurrentProcessId());
  Start(TestDir() + L"ProbeTarget.exe", {L"edit", title}, probe::AtEnd::MustRun);
  HWND target = probe::WaitForWindow({.className = L"ProbeTargetWindow", .title = title, .visibleOnly = true}, 10s);
  ASSERT_NE(target, nullptr);
  probe::PhysicalFocus(GetWindow(target, GW_CHILD));
  probe::PhysicalChord({"super", "o"});
  EXPECT_TRUE(probe::WaitUntil([&] { return Log().find("ShowTemplateView") != std::string::npos; }, 5s))
      << "the template hotkey no longer opens the pop-up";
}

}  // namespace
}  // namespace snibbet_e2e
