// Physical keys (xdotool) and synthetic keys (SendInput) into ProbeTarget's EDIT
// control, watched by a low-level keyboard hook. Runs under the "x_input" lock.
#include <gtest/gtest.h>

#include "testing/probe/harness.h"
#include "testing/probe/probe.h"

namespace {

using namespace probe;

class ProbeInputTest : public EndToEndTest {
 protected:
  void SetUp() override {
    if (!XdotoolAvailable()) GTEST_SKIP() << "needs Wine and xdotool";
    const std::wstring title = L"Probe input " + std::to_wstring(GetCurrentProcessId());
    target_ = &Start(TestDir() + L"ProbeTarget.exe", {L"edit", title}, AtEnd::MustRun);
    WindowQuery query;
    query.className = L"ProbeTargetWindow";
    query.title = title;
    query.visibleOnly = true;   // shown once its EDIT child exists
    HWND window = WaitForWindow(query, 10s);
    ASSERT_NE(window, nullptr);
    edit_ = GetWindow(window, GW_CHILD);
    ASSERT_NE(edit_, nullptr);
    PhysicalFocus(edit_);
  }

  bool EditShows(const std::wstring& text) {
    return WaitUntil([&] { return WindowText(edit_) == text; }, 5s);
  }

  Process* target_ = nullptr;
  HWND edit_ = nullptr;
};

std::string Sequence(const std::vector<HookedKey>& keys) {
  std::string text;
  for (const auto& key : keys) {
    text += key.Up() ? "^" : "v";
    text += std::to_string(key.vk);
    text += key.Injected() ? "i " : " ";
  }
  return text;
}

size_t CountDowns(const std::vector<HookedKey>& keys, bool injected) {
  size_t count = 0;
  for (const auto& key : keys) count += !key.Up() && key.Injected() == injected;
  return count;
}

TEST_F(ProbeInputTest, PhysicalKeysReachTheFocusedEditAsHardwareInput) {
  KeyboardHookRecorder hook;
  PhysicalType("ab1");
  PhysicalKeys({"shift+z", "BackSpace", "Return", "c"});
  EXPECT_TRUE(EditShows(L"ab1\r\nc")) << ToUtf8(WindowText(edit_));
  ASSERT_TRUE(hook.WaitForDowns('C', 1, 2s));
  const auto keys = hook.Keys();
  EXPECT_EQ(CountDowns(keys, true), 0u);
  EXPECT_GE(CountDowns(keys, false), 8u);   // a, b, 1, shift, z, backspace, return, c
  EXPECT_EQ(hook.DownCount(VK_BACK), 1u);
}

// The program's default hotkey is the left Windows key with Space.
TEST_F(ProbeInputTest, PhysicalWindowsKeyChordReachesTheHookInOrder) {
  KeyboardHookRecorder hook;
  PhysicalChord({"super", "space"});
  ASSERT_TRUE(WaitUntil([&] { return hook.Keys().size() >= 4; }, 2s));
  const auto keys = hook.Keys();
  EXPECT_EQ(Sequence(keys), "v91 v32 ^32 ^91 ");   // VK_LWIN, VK_SPACE, no injected flag
}

TEST_F(ProbeInputTest, SendInputKeysCarryTheInjectedFlag) {
  KeyboardHookRecorder hook;
  SendKeyTap('Q');
  SendUnicodeText(L"é!");
  SendKeyChord({VK_SHIFT, VK_HOME});   // select all of the line ...
  SendKeyTap(VK_DELETE);               // ... and remove it
  SendUnicodeText(L"ok");
  EXPECT_TRUE(EditShows(L"ok")) << ToUtf8(WindowText(edit_));
  ASSERT_TRUE(WaitUntil([&] { return CountDowns(hook.Keys(), true) >= 8; }, 2s));
  const auto keys = hook.Keys();
  EXPECT_EQ(CountDowns(keys, false), 0u);
  EXPECT_EQ(hook.DownCount(VK_PACKET), 4u);
}

TEST_F(ProbeInputTest, PhysicalClickAndTypingWorkAfterFocusMovedAway) {
  // Another window of ours takes the focus; a physical click on the target brings it back.
  TestWindow other(L"ProbeOtherForm", L"Probe other " + std::to_wstring(GetCurrentProcessId()), nullptr, true);
  PhysicalFocus(other.Handle());
  RECT rect{};
  GetWindowRect(edit_, &rect);
  PhysicalClick({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == GetAncestor(edit_, GA_ROOT); }, 5s));
  PhysicalType("xy");
  EXPECT_TRUE(EditShows(L"xy")) << ToUtf8(WindowText(edit_));
}

// Mouse input over a window of our own: physical (X) and synthetic (SendInput).
TEST_F(ProbeInputTest, MouseClicksAndWheelReachTheWindowUnderThePointer) {
  TestWindow window(L"ProbeMouseForm", L"Probe mouse " + std::to_wstring(GetCurrentProcessId()), nullptr, true);
  PhysicalFocus(window.Handle());
  RECT client{};
  GetClientRect(window.Handle(), &client);
  POINT point{client.right / 2, client.bottom / 2};
  ClientToScreen(window.Handle(), &point);

  PhysicalClick(point);
  ASSERT_TRUE(window.WaitForCount(WM_LBUTTONUP, 1, 2s));
  const auto down = window.Messages(WM_LBUTTONDOWN);
  ASSERT_EQ(down.size(), 1u);
  EXPECT_EQ(LOWORD(down[0].lParam), client.right / 2);
  EXPECT_EQ(HIWORD(down[0].lParam), client.bottom / 2);

  PhysicalWheel(point, -2);
  ASSERT_TRUE(window.WaitForCount(WM_MOUSEWHEEL, 2, 2s));
  EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(window.Messages(WM_MOUSEWHEEL)[0].wParam), -WHEEL_DELTA);

  SendMouseClick(point, MouseButton::Right);
  EXPECT_TRUE(window.WaitForCount(WM_RBUTTONUP, 1, 2s));
}

}  // namespace
