// The program's hook as the system calls it: key events made with SendInput
// pass the real low-level hook, the executor's timer runs the hotkey's action
// from the message loop, and a failure inside the hook lets the event through
// and is reported from the loop afterwards.
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/input_helper_link.h"
#include "helper/helper_protocol.h"
#include "hub/data_module.h"
#include "core/foreground_state.h"
#include "keyboard/actions.h"
#include "keyboard/key_history.h"
#include "keyboard/key_model.h"
#include "keyboard/keyboard_runtime.h"
#include "keyboard/template_hotkey.h"
#include "testing/probe/test_window.h"
#include "tests/unit/datamodule_test_support.h"
#include "tests/unit/ui_test_support.h"
#include "tests/unit/input_records_support.h"
#include "ui/exceptions.h"
#include "ui/handles.h"

namespace snibbet {
namespace {

struct PassedKey {
  DWORD code;
  bool up;
};
std::vector<PassedKey> g_passed;

// Installed before the program's hook, so it is called after it: it sees
// exactly the events the program's hook passed on. It swallows them all, so
// nothing reaches a real window of the session.
LRESULT CALLBACK SpyHook(int nCode, WPARAM wParam, LPARAM lParam) {
  if (nCode == HC_ACTION) {
    const auto& info = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    g_passed.push_back({info.vkCode, wParam == WM_KEYUP || wParam == WM_SYSKEYUP});
    return 1;
  }
  return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

bool Send(WORD vk, bool up, bool extended = false) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
  return SendInput(1, &input, sizeof input) == 1;
}

// The program's windows as the hotkey and the hook reach them.
class CountingWindows : public ProgramWindowsPort {
 public:
  void ShowTemplateView() override { ++shows; }
  bool BringTemplateEditorToFront() override { return false; }
  void QueuePopupKey(std::uint8_t code) override {
    if (onKey) onKey(code);
  }
  void ToggleKeyboardWindow() override {}

  int shows = 0;
  std::function<void(int)> onKey;
};

class HookRuntime : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    App().SetExceptionHandler([this](const std::exception_ptr& error) { reported.push_back(ui::ExceptionMessage(error)); });
    g_passed.clear();
    spy_ = ui::HookHandle(SetWindowsHookExW(WH_KEYBOARD_LL, SpyHook, GetModuleHandleW(nullptr), 0));
    ASSERT_TRUE(spy_);
    runtime_.LoadLayout(L"Standard");
    BindTemplateHotkeyFromSetting(QvActions(), 0x8020);
  }
  void TearDown() override {
    RemoveKeyboardHook();
    QvActions().Clear();
    spy_ = ui::HookHandle();
    UiTest::TearDown();
  }
  bool Passed(DWORD code, bool up) const {
    for (const PassedKey& key : g_passed)
      if (key.code == code && key.up == up) return true;
    return false;
  }

  CountingWindows windows_;
  int& shows = windows_.shows;
  testing::ProgramKeyboardRuntime runtime_{windows_};
  ui::HookHandle spy_;
  std::vector<std::wstring> reported;
};

TEST_F(HookRuntime, WinSpaceThroughTheSystemHookRunsTheActionFromTheLoop) {
  InstallKeyboardHook();
  ASSERT_NE(runtime_.HookHandle(), nullptr);
  ASSERT_TRUE(Send(VK_LWIN, false, true));
  ASSERT_TRUE(Send(VK_SPACE, false));
  ASSERT_TRUE(Send(VK_SPACE, true));
  ASSERT_TRUE(Send(VK_LWIN, true, true));
  ASSERT_TRUE(PumpUntil([&] { return shows == 1; }));
  PumpFor(50);
  EXPECT_EQ(shows, 1);
  EXPECT_FALSE(Passed(VK_SPACE, false)) << "Space reached the applications";
  EXPECT_TRUE(Passed(VK_SPACE, true));
  EXPECT_TRUE(Passed(VK_ESCAPE, true)) << "no Esc key-up: Win alone would open the Start menu";
  EXPECT_TRUE(Passed(VK_LWIN, true));
  EXPECT_EQ(runtime_.Executor().PendingAction(), nullptr);
  EXPECT_EQ(HookNestingDepth(), 0);
  EXPECT_EQ(runtime_.Model().PressedCount(), 0);
}

TEST_F(HookRuntime, AfterRemovalWinSpaceReachesTheApplications) {
  InstallKeyboardHook();
  RemoveKeyboardHook();
  EXPECT_EQ(runtime_.HookHandle(), nullptr);
  EXPECT_FALSE(runtime_.Model().Active());
  ASSERT_TRUE(Send(VK_LWIN, false, true));
  ASSERT_TRUE(Send(VK_SPACE, false));
  ASSERT_TRUE(Send(VK_SPACE, true));
  ASSERT_TRUE(Send(VK_LWIN, true, true));
  ASSERT_TRUE(PumpUntil([&] { return Passed(VK_LWIN, true); }));
  PumpFor(50);
  EXPECT_TRUE(Passed(VK_SPACE, false));
  EXPECT_EQ(shows, 0);
}

TEST_F(HookRuntime, AFailureInsideTheHookPassesTheEventAndIsReportedFromTheLoop) {
  InstallKeyboardHook();
  runtime_.Hook().templateViewActive = true;
  windows_.onKey = [](int) { throw std::runtime_error("pop-up queue broke"); };
  ASSERT_TRUE(Send('K', false));
  ASSERT_TRUE(Send('K', true));
  ASSERT_TRUE(PumpUntil([&] { return reported.size() == 1 && Passed('K', true); }));
  EXPECT_TRUE(Passed('K', false)) << "the failed event was swallowed";
  EXPECT_EQ(reported.front(), L"pop-up queue broke");
  EXPECT_EQ(HookNestingDepth(), 0);
  runtime_.Hook().templateViewActive = false;
}

TEST_F(HookRuntime, WithoutAHelperTheBracketStillOpensAndCloses) {
  // No SnibbetCm: the sends give up at once and the bracket works all the same.
  EXPECT_TRUE(BeginInputBlock());
  EXPECT_TRUE(OwnInputActive());
  EXPECT_TRUE(EndInputBlock());
  EXPECT_FALSE(OwnInputActive());
}

TEST_F(HookRuntime, TheDataModuleSwitchesTheHookAndTellsTheHelperInOrder) {
  probe::TestWindow helper(kHelperWindowClass, kHelperWindowTitle);
  ASSERT_TRUE(StartInputHelper());
  auto winSpace = [&] {
    g_passed.clear();
    const int before = shows;
    Send(VK_LWIN, false, true);
    Send(VK_SPACE, false);
    Send(VK_SPACE, true);
    Send(VK_LWIN, true, true);
    PumpUntil([&] { return Passed(VK_LWIN, true); });
    PumpFor(60);
    return shows - before;
  };
  {
    TDataDM dataModule(testing::ProcessInputRecords(), {.hookLibrary = test::StandInLibrary()});
    ASSERT_TRUE(dataModule.Switch().Start());
    EXPECT_TRUE(runtime_.Model().Active());
    EXPECT_EQ(winSpace(), 1);
    EXPECT_FALSE(Passed(VK_SPACE, false));

    ASSERT_TRUE(dataModule.Switch().Stop());
    EXPECT_FALSE(runtime_.Model().Active());
    EXPECT_EQ(winSpace(), 0);
    EXPECT_TRUE(Passed(VK_SPACE, false)) << "switched off, Win+Space reaches the applications";

    ASSERT_TRUE(dataModule.Switch().Start());
    EXPECT_EQ(winSpace(), 1);
    ASSERT_TRUE(dataModule.Switch().Stop());
  }
  std::vector<UINT> commands;
  for (const auto& message : helper.Messages())
    if (message.message >= WM_HELPER_HOOKS_ON && message.message <= WM_HELPER_UNBLOCK_INPUT)
      commands.push_back(message.message);
  const UINT on = WM_HELPER_HOOKS_ON, off = WM_HELPER_HOOKS_OFF, block = WM_HELPER_BLOCK_INPUT,
             unblock = WM_HELPER_UNBLOCK_INPUT;
  EXPECT_EQ(commands, (std::vector<UINT>{on, block, unblock, off, on, block, unblock, off}));
  ForgetInputHelper();
}

// The bindings' texts ask the runtime's model for key names; once the runtime
// is gone they must not reach its model.
TEST(HookRuntimeBindings, TheBindingListUsesTheRuntimesModelOnlyWhileTheRuntimeLives) {
  TQvActions bindings;
  TKeyHistory history;
  ForegroundState foreground;
  const TQvAction& binding = *bindings.Add('A', 0x80);
  {
    KeyboardRuntime runtime({.bindings = bindings, .keyHistory = history, .foreground = foreground}, nullptr);
    EXPECT_EQ(bindings.KeyModel(), &runtime.Model());
  }
  EXPECT_EQ(bindings.KeyModel(), nullptr);
  EXPECT_EQ(binding.GetShortcutText(), L"Win+A");
}

}  // namespace
}  // namespace snibbet
