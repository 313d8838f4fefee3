// The template hotkey with the real Snibbet.exe and SnibbetCm.exe and physical
// keys (xdotool) into a test program's EDIT window: what the target receives,
// that the action runs once and soon, that SnibbetCm holds physical keys back
// meanwhile, and that no key is left held. The action is seen in the debug
// log ("ExecuteAction 8 1", then the pop-up's "ShowTemplateView").
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "helper/helper_protocol.h"
#include "testing/probe/probe.h"
#include "tests/e2e/app_e2e_support.h"
#include "tests/e2e/hook_helper_spy.h"

namespace snibbet_e2e {
namespace {

using namespace std::chrono_literals;

class HookHotkeyTest : public SnibbetTest {
 protected:
  void SetUp() override {
    SnibbetTest::SetUp();
    if (!probe::XdotoolAvailable()) GTEST_SKIP() << "needs Wine and xdotool";
    for (DWORD pid : probe::ProcessesNamed(L"SnibbetCm.exe")) probe::Process::Attach(pid).Kill();
  }
  void TearDown() override {
    if (spyHook_) UnhookWindowsHookEx(spyHook_);
    if (spyLibrary_) FreeLibrary(spyLibrary_);
    SnibbetTest::TearDown();
  }

  // SnibbetCm with the spy on its thread, then Snibbet (which reuses it), then
  // the target focused. `setting`: SCShowTemplates written first, unless 0.
  void StartAll(DWORD setting = 0) {
    if (setting) probe::WriteRegDword(kSettingsKey, L"SCShowTemplates", setting);
    probe::LaunchOptions options;
    options.workDir = folder_.Path();
    Start(folder_.File(L"SnibbetCm.exe"), options, probe::AtEnd::MayRun);
    HWND helper = probe::WaitForWindow({.className = L"SnibbetCm", .title = L"SnibbetCm"}, 10s);
    ASSERT_NE(helper, nullptr);
    spyLibrary_ = LoadLibraryW((TestDir() + L"hook_helper_spy.dll").c_str());
    ASSERT_NE(spyLibrary_, nullptr);
    auto proc = reinterpret_cast<HOOKPROC>(GetProcAddress(spyLibrary_, "SpyCallWndProc"));
    spyHook_ = SetWindowsHookExW(WH_CALLWNDPROC, proc, spyLibrary_, GetWindowThreadProcessId(helper, nullptr));
    ASSERT_NE(spyHook_, nullptr);

    snibbet_ = &StartSnibbet({L"/debug"});
    main_ = WaitForMainWindow(snibbet_->Pid());
    ASSERT_NE(main_, nullptr);
    ASSERT_TRUE(spy_.WaitForCount(snibbet::WM_HELPER_HOOKS_ON, 1, 10s) || Commands(snibbet::WM_HELPER_HOOKS_ON) > 0)
        << "SnibbetCm was not told to hook";

    const std::wstring title = L"Hotkey target " + std::to_wstring(GetCurrentProcessId());
    Start(TestDir() + L"ProbeTarget.exe", {L"edit", title}, probe::AtEnd::MustRun);
    HWND window = probe::WaitForWindow({.className = L"ProbeTargetWindow", .title = title, .visibleOnly = true}, 10s);
    ASSERT_NE(window, nullptr);
    edit_ = GetWindow(window, GW_CHILD);
    ASSERT_NE(edit_, nullptr);
    probe::PhysicalFocus(edit_);
  }

  size_t Commands(UINT command) const {
    size_t count = 0;
    for (const auto& message : spy_.Messages(kHookSpyCommand)) count += message.wParam == command;
    return count;
  }
  std::vector<UINT> CommandSequence() const {
    std::vector<UINT> sequence;
    for (const auto& message : spy_.Messages(kHookSpyCommand)) sequence.push_back(static_cast<UINT>(message.wParam));
    return sequence;
  }
  // The action has run as often as `count` once SnibbetCm unblocked that often.
  bool WaitForActions(size_t count) {
    return probe::WaitUntil([&] { return Commands(snibbet::WM_HELPER_UNBLOCK_INPUT) >= count; }, 5s);
  }
  bool EditShows(const std::wstring& text) {
    return probe::WaitUntil([&] { return probe::WindowText(edit_) == text; }, 3s);
  }
  size_t Logged(const std::string& event) {
    std::ifstream log(std::filesystem::path(folder_.File(L"Log.txt")), std::ios::binary);
    std::stringstream text;
    text << log.rdbuf();
    size_t count = 0;
    std::string line;
    while (std::getline(text, line)) {
      if (line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
      const std::string name = line.substr(0, line.find(" : "));
      count += name == event || name.starts_with(event + " ");
    }
    return count;
  }
  void ExpectNoKeyHeld() {
    for (int vk : {VK_LWIN, VK_RWIN, VK_SPACE, VK_SHIFT, VK_CONTROL, VK_MENU, int{'Q'}, int{'X'}})
      EXPECT_EQ(GetAsyncKeyState(vk) & 0x8000, 0) << "key " << vk << " still reads as held";
  }
  void Finish() { CloseNormally(*snibbet_, main_); }
  // A visible template pop-up of the program under test.
  bool PopupShown() const {
    return nullptr != probe::FindTopWindow({.className = L"TTemplateViewForm", .pid = snibbet_->Pid(), .visibleOnly = true});
  }

  probe::TestWindow spy_{kHookSpyWindowClass, L"spy"};
  HMODULE spyLibrary_ = nullptr;
  HHOOK spyHook_ = nullptr;
  probe::Process* snibbet_ = nullptr;
  HWND main_ = nullptr;
  HWND edit_ = nullptr;
};

TEST_F(HookHotkeyTest, WinSpaceRunsTheActionOnceSoonAndTheTargetKeepsWhatWasTyped) {
  StartAll();
  // Called first (installed last): it sees the physical Space press and its time.
  probe::KeyboardHookRecorder keys;
  probe::PhysicalType("ab");
  ASSERT_TRUE(EditShows(L"ab"));
  probe::PhysicalChord({"super", "space"});
  ASSERT_TRUE(WaitForActions(1));
  probe::PumpMessages(300ms);

  EXPECT_EQ(probe::WindowText(edit_), L"ab") << "Space reached the target";
  EXPECT_EQ(Logged("ExecuteAction 8 1"), 1u);
  EXPECT_EQ(Logged("ShowTemplateView"), 1u);
  EXPECT_EQ(Commands(snibbet::WM_HELPER_BLOCK_INPUT), 1u);

  DWORD spaceTime = 0;
  for (const auto& key : keys.Keys())
    if (key.vk == VK_SPACE && !key.Up() && !key.Injected() && !spaceTime) spaceTime = key.time;
  ASSERT_NE(spaceTime, 0u);
  DWORD blockTime = 0;
  for (const auto& message : spy_.Messages(kHookSpyCommand))
    if (message.wParam == snibbet::WM_HELPER_BLOCK_INPUT) blockTime = static_cast<DWORD>(message.lParam);
  // The executor's tick starts it (hook_bench measures how soon); the bound is
  // coarse so that a loaded machine cannot fail it, yet far below any fallback
  // that would start it late.
  EXPECT_LT(blockTime - spaceTime, 1000u) << "the action started " << blockTime - spaceTime << " ms after the key";
  ExpectNoKeyHeld();
  Finish();
}

TEST_F(HookHotkeyTest, KeysTypedDuringTheActionAreHeldBackAndDeliveredAfterIt) {
  probe::TestWindow hold(kHookSpyHoldClass, L"hold");
  StartAll();
  probe::PhysicalType("ab");
  ASSERT_TRUE(EditShows(L"ab"));
  probe::KeyboardHookRecorder keys;
  // Wine takes the keys held in X as held again when a window appears under
  // the pointer (X reports the keymap on entering it), and the pop-up opens
  // right under the edit's centre: the pointer waits on the caption.
  RECT frame{};
  GetWindowRect(GetParent(edit_), &frame);
  probe::PhysicalPointAt(POINT{(frame.left + frame.right) / 2, frame.top + 8});
  probe::PhysicalKeyDown("super");
  probe::PhysicalKeyDown("space");
  ASSERT_TRUE(WaitForActions(1));
  ASSERT_EQ(Commands(snibbet::WM_HELPER_BLOCK_INPUT), 1u);
  // Input is still blocked and the action not finished: the user lets go and types on.
  probe::Xdotool({"keyup", "space", "keyup", "super", "key", "x"});
  EXPECT_EQ(Commands(kHookSpyHoldEnded), 0u) << "the action ended before the keys were typed";
  ASSERT_TRUE(probe::WaitUntil([&] { return Commands(kHookSpyHoldEnded) == 1; }, 5s));
  probe::PumpMessages(300ms);

  EXPECT_EQ(probe::WindowText(edit_), L"abx") << "the key typed during the action arrives after it, once";
  bool replayedWinRelease = false;
  for (const auto& key : keys.Keys()) replayedWinRelease |= key.vk == VK_LWIN && key.Up() && key.Injected();
  EXPECT_TRUE(replayedWinRelease) << "the held-back Win release was not replayed";
  EXPECT_EQ(Logged("ExecuteAction 8 1"), 1u);
  ExpectNoKeyHeld();
  if (HasFailure()) {
    for (const auto& key : keys.Keys())
      std::printf("key %lu %s%s at %lu\n", static_cast<unsigned long>(key.vk), key.Up() ? "up" : "down", key.Injected() ? " injected" : "",
                  static_cast<unsigned long>(key.time));
  }
  Finish();
}

TEST_F(HookHotkeyTest, RightWinFiresTooWhileSpaceAloneAndCtrlSpaceReachTheTarget) {
  StartAll();
  // The X server of the tests gives Super_R no key code, and Wine resyncs the
  // modifiers with X at each physical key, so the chord comes from SendInput.
  auto send = [](WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = (vk == VK_RWIN ? KEYEVENTF_EXTENDEDKEY : 0) | (up ? KEYEVENTF_KEYUP : 0);
    return SendInput(1, &input, sizeof input) == 1;
  };
  ASSERT_TRUE(send(VK_RWIN, false));
  ASSERT_TRUE(send(VK_SPACE, false));
  ASSERT_TRUE(send(VK_SPACE, true));
  // Let go after the action: SnibbetCm holds back only physical keys, so an
  // injected release during the action would pass unseen.
  ASSERT_TRUE(WaitForActions(1));
  ASSERT_TRUE(send(VK_RWIN, true));
  probe::PumpMessages(200ms);
  EXPECT_EQ(probe::WindowText(edit_), L"");
  EXPECT_EQ(Logged("ExecuteAction 8 1"), 1u);
  // The pop-up is open now; Esc closes it without reaching the target.
  ASSERT_TRUE(PopupShown());
  probe::PhysicalKeys({"Escape"});
  ASSERT_TRUE(probe::WaitUntil([&] { return !PopupShown(); }, 3s));
  const size_t blocks = Commands(snibbet::WM_HELPER_BLOCK_INPUT);

  probe::PhysicalType("a b");
  EXPECT_TRUE(EditShows(L"a b")) << "Space alone: " << probe::ToUtf8(probe::WindowText(edit_));
  probe::PhysicalChord({"ctrl", "space"});
  probe::PhysicalType("c");
  ASSERT_TRUE(probe::WaitUntil([&] { return probe::WindowText(edit_).ends_with(L"c"); }, 3s))
      << probe::ToUtf8(probe::WindowText(edit_));
  probe::PumpMessages(200ms);
  EXPECT_EQ(Logged("ExecuteAction 8 1"), 1u) << "Ctrl+Space fired the hotkey";
  EXPECT_EQ(Commands(snibbet::WM_HELPER_BLOCK_INPUT), blocks);
  ExpectNoKeyHeld();
  Finish();
}

TEST_F(HookHotkeyTest, AnotherChordInTheSettingsFiresAndWinSpaceNoLongerDoes) {
  StartAll(0x2000 | 'Q');  // left Ctrl + Q
  probe::PhysicalChord({"super", "space"});
  probe::PhysicalType("z");
  ASSERT_TRUE(EditShows(L" z")) << probe::ToUtf8(probe::WindowText(edit_));
  EXPECT_EQ(Logged("ExecuteAction 8 1"), 0u);

  probe::PhysicalChord({"ctrl", "q"});
  ASSERT_TRUE(WaitForActions(1));
  probe::PumpMessages(200ms);
  EXPECT_EQ(Logged("ExecuteAction 8 1"), 1u);
  ExpectNoKeyHeld();
  Finish();
  const std::vector<UINT> sequence = CommandSequence();
  EXPECT_EQ(sequence, (std::vector<UINT>{snibbet::WM_HELPER_HOOKS_ON, snibbet::WM_HELPER_BLOCK_INPUT,
                                         snibbet::WM_HELPER_UNBLOCK_INPUT, snibbet::WM_HELPER_HOOKS_OFF}));
}

}  // namespace
}  // namespace snibbet_e2e
