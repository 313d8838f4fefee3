// The settings window in the running program: opened from the tray with its
// pages in order, opened only once, and a change closed without Apply that
// leaves the settings key as it was.
#include <windows.h>
#include <commctrl.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "testing/probe/probe.h"
#include "tests/e2e/app_e2e_support.h"

namespace snibbet_e2e {
namespace {

using namespace std::chrono_literals;

constexpr UINT kTrayCallback = WM_APP + 0x2F10;
constexpr int kSettingsItem = 4;  // Active, Sounds, Templates, Settings

// The node texts of a tree view in another process, top level in order.
std::vector<std::wstring> TreeTexts(HWND tree) {
  std::vector<std::wstring> texts;
  DWORD pid = 0;
  GetWindowThreadProcessId(tree, &pid);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (!process) return texts;
  constexpr SIZE_T kText = 128;
  auto* remote = static_cast<BYTE*>(
      VirtualAllocEx(process, nullptr, sizeof(TVITEMW) + kText * sizeof(wchar_t), MEM_COMMIT, PAGE_READWRITE));
  for (auto node = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)); node;
       node = reinterpret_cast<HTREEITEM>(
           SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(node)))) {
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = node;
    item.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(TVITEMW));
    item.cchTextMax = kText;
    WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote));
    wchar_t text[kText] = {};
    ReadProcessMemory(process, remote + sizeof(TVITEMW), text, sizeof text, nullptr);
    texts.emplace_back(text);
  }
  VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return texts;
}

HWND ChildWithText(HWND parent, const std::wstring& text) {
  for (HWND child : probe::ChildWindows(parent))
    if (probe::WindowText(child) == text) return child;
  return nullptr;
}

HWND ChildOfClass(HWND parent, const std::wstring& className) {
  for (HWND child : probe::ChildWindows(parent))
    if (probe::ClassNameOf(child) == className) return child;
  return nullptr;
}

class SettingsWindowTest : public SnibbetTest {
 protected:
  std::string Log() const {
    std::ifstream file(std::filesystem::path(folder_.File(L"Log.txt")), std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
  }
  probe::Process& StartRunning() {
    probe::Process& snibbet = StartSnibbet({L"/debug"}, probe::AtEnd::MayRun);
    EXPECT_NE(WaitForMainWindow(snibbet.Pid()), nullptr);
    tray_ = probe::WaitForWindow({.className = L"TSnibbetTrayIcon", .pid = snibbet.Pid()}, 5s);
    EXPECT_NE(tray_, nullptr);
    EXPECT_TRUE(probe::WaitUntil([&] { return Log().find("Run") != std::string::npos; }, 10s));
    return snibbet;
  }
  // Picks the tray menu's Settings item; a disabled item leaves the menu
  // open, which Esc then closes.
  void PickSettings(DWORD pid) {
    PostMessageW(tray_, kTrayCallback, 1, WM_RBUTTONUP);
    HWND menu = probe::WaitForWindow({.className = L"#32768", .pid = pid, .visibleOnly = true}, 5s);
    ASSERT_NE(menu, nullptr) << "no menu";
    for (int i = 0; i < kSettingsItem; ++i) PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
    if (!probe::WaitForNoWindow({.className = L"#32768", .pid = pid, .visibleOnly = true}, 1s)) {
      PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
      EXPECT_TRUE(probe::WaitForNoWindow({.className = L"#32768", .pid = pid, .visibleOnly = true}, 5s));
    }
  }
  HWND tray_ = nullptr;
};

TEST_F(SettingsWindowTest, OpensFromTheTrayOnceAndCloseWithNoLeavesTheKeyAsItWas) {
  probe::Process& snibbet = StartRunning();
  PickSettings(snibbet.Pid());
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
  PickSettings(snibbet.Pid());
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
  PickSettings(snibbet.Pid());
  EXPECT_NE(probe::WaitForWindow({.className = L"TMainForm", .pid = snibbet.Pid(), .visibleOnly = true}, 10s), nullptr);
}

}  // namespace
}  // namespace snibbet_e2e
