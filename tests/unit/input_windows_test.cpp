#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "core/busy_cursor.h"
#include "core/caret.h"
#include "core/message_pump.h"
#include "core/process_idle.h"
#include "core/window_helpers.h"
#include "tests/unit/input_test_window.h"

namespace snibbet {
namespace {

using testing::EditWindow;

HWND NewTopWindow(const wchar_t* title, DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE) {
  return CreateWindowExW(0, L"STATIC", title, style, 150, 150, 300, 200, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

// Windows shared by the suite: under Wine, closing the window in front takes seconds.
class WindowHelpers : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    edit_ = new EditWindow;
    other_ = NewTopWindow(L"Snibbet other window");
  }
  static void TearDownTestSuite() {
    DestroyWindow(other_);
    delete edit_;
  }
  void SetUp() override { edit_->Activate(); }

  EditWindow& edit = *edit_;
  HWND other = other_;

 private:
  static inline EditWindow* edit_ = nullptr;
  static inline HWND other_ = nullptr;
};

bool IsOnScreenRect(POINT p, HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  return p.x >= r.left && p.x <= r.right && p.y >= r.top && p.y <= r.bottom;
}

TEST_F(WindowHelpers, CaretOfTheFocusedEditLiesInTheEdit) {
  edit.SetText(L"some text");
  SendMessageW(edit.Edit(), EM_SETSEL, 9, 9);
  PumpMessagesFor(30);
  POINT point{};
  int height = 0;
  ASSERT_TRUE(GetCaretScreenPos(point, height, false));
  EXPECT_TRUE(IsOnScreenRect(point, edit.Edit())) << point.x << "," << point.y;
  EXPECT_GT(height, 0);

  SendMessageW(edit.Edit(), EM_SETSEL, 0, 0);
  PumpMessagesFor(30);
  POINT start{};
  ASSERT_TRUE(GetCaretScreenPos(start, height, false));
  EXPECT_LT(start.x, point.x);  // the caret moved left with the selection
}

TEST_F(WindowHelpers, CaretPointIsTheRightEdgeOfTheCaretRectangle) {
  HWND window = edit.Frame();
  SetFocus(window);
  ASSERT_TRUE(CreateCaret(window, nullptr, 3, 16));
  SetCaretPos(10, 20);
  ShowCaret(window);
  POINT expected{13, 20};
  ClientToScreen(window, &expected);

  POINT point{};
  int height = 0;
  ASSERT_TRUE(GetCaretScreenPos(point, height, true));
  EXPECT_EQ(point.x, expected.x);
  EXPECT_EQ(point.y, expected.y);
  EXPECT_EQ(height, 16);

  // (Wine reports every existing caret as blinking, so a hidden one cannot be told here.)
  DestroyCaret();
  EXPECT_FALSE(GetCaretScreenPos(point, height, false));
  SetFocus(edit.Edit());
}

TEST_F(WindowHelpers, ForceForegroundWindowBringsHiddenAndMinimisedWindowsForward) {
  UINT lockBefore = 0, lockAfter = 1;
  SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &lockBefore, 0);

  ForceForegroundWindow(other, false);
  PumpMessagesFor(50);
  EXPECT_EQ(GetForegroundWindow(), other);

  ShowWindow(edit.Frame(), SW_SHOWMINNOACTIVE);
  PumpMessagesFor(50);
  ASSERT_TRUE(IsIconic(edit.Frame()));
  ForceForegroundWindow(edit.Frame(), false);
  PumpMessagesFor(100);
  EXPECT_EQ(GetForegroundWindow(), edit.Frame());
  EXPECT_FALSE(IsIconic(edit.Frame()));

  ForceForegroundWindow(other, false);
  PumpMessagesFor(50);
  ShowWindow(edit.Frame(), SW_HIDE);
  PumpMessagesFor(50);
  ForceForegroundWindow(edit.Frame(), true);
  PumpMessagesFor(100);
  EXPECT_TRUE(IsWindowVisible(edit.Frame()));
  EXPECT_EQ(GetForegroundWindow(), edit.Frame());

  ForceForegroundWindow(nullptr, true);
  ForceForegroundWindow(reinterpret_cast<HWND>(0x7FFF0), true);
  EXPECT_EQ(GetForegroundWindow(), edit.Frame());
  SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &lockAfter, 0);
  EXPECT_EQ(lockAfter, lockBefore);
}

TEST_F(WindowHelpers, WaitForProcessIdleEndsEarlyForAnIdleProcessAndAtTheTimeoutForABusyOne) {
  DWORD start = GetTickCount();
  WaitForWindowProcessIdle(nullptr, 50, 2000);
  EXPECT_LT(GetTickCount() - start, 50u);

  start = GetTickCount();
  WaitForProcessIdle(50, 1500);  // this idle test program is in front
  EXPECT_LT(GetTickCount() - start, 700u);

  std::atomic<bool> stop{false};
  std::thread spinner([&stop] {
    volatile unsigned long long n = 0;
    while (!stop) n = n + 1;
  });
  start = GetTickCount();
  WaitForProcessIdle(50, 600);
  const DWORD busyWait = GetTickCount() - start;
  stop = true;
  spinner.join();
  EXPECT_GE(busyWait, 590u);
  EXPECT_LT(busyWait, 1200u);
  EXPECT_GT(GetWindowProcessCpuMs(edit.Frame()), 100.0);
}

TEST_F(WindowHelpers, PumpMessagesForDispatchesAndKeepsQuitForTheMainLoop) {
  static int timerTicks = 0;
  timerTicks = 0;
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) { ++timerTicks; });
  // On the clock the pump waits by: the coarse tick count may read a
  // millisecond short of a wait that ends on time.
  const WaitClock::time_point start = WaitClock::now();
  EXPECT_TRUE(PumpMessagesFor(150));
  EXPECT_GE(WaitClock::now() - start, std::chrono::milliseconds(150));
  KillTimer(nullptr, timer);
  EXPECT_GE(timerTicks, 3);

  PostQuitMessage(7);
  EXPECT_FALSE(PumpMessagesFor(1000));
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(WindowHelpers, PumpMessagesUntilEndsWhenAMessageMakesItDoneAndElseAtItsTime) {
  static bool done = false;
  done = false;
  const UINT_PTR timer = SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR, DWORD) { done = true; });
  EXPECT_TRUE(PumpMessagesUntil(5000, [] { return done; }));
  KillTimer(nullptr, timer);
  EXPECT_FALSE(PumpMessagesUntil(50, [] { return false; }));

  PostQuitMessage(3);
  EXPECT_FALSE(PumpMessagesUntil(1000, [] { return false; }));
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(WindowHelpers, KeepFormOnMonitorPullsAWindowIntoTheWorkAreaButLeavesAMaximisedOne) {
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  SetWindowPos(other, nullptr, work.left - 120, work.bottom - 50, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
  KeepFormOnMonitor(other);
  RECT moved;
  GetWindowRect(other, &moved);
  EXPECT_EQ(moved.left, work.left);
  EXPECT_EQ(moved.bottom, work.bottom);
  EXPECT_EQ(moved.right - moved.left, 300);

  ShowWindow(other, SW_MAXIMIZE);
  RECT maximised, after;
  GetWindowRect(other, &maximised);
  KeepFormOnMonitor(other);
  GetWindowRect(other, &after);
  EXPECT_TRUE(EqualRect(&maximised, &after));
  ShowWindow(other, SW_RESTORE);
}

TEST_F(WindowHelpers, WindowIconIsACopyTheCallerMayDestroy) {
  SendMessageW(edit.Frame(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(LoadIconW(nullptr, IDI_WARNING)));
  HICON own = reinterpret_cast<HICON>(SendMessageW(edit.Frame(), WM_GETICON, ICON_SMALL2, 0));
  ASSERT_NE(own, nullptr);
  HICON icon = GetWindowIconHandle(edit.Frame(), 100);
  ASSERT_NE(icon, nullptr);
  EXPECT_TRUE(DestroyIcon(icon));
  ICONINFO info{};
  EXPECT_TRUE(GetIconInfo(own, &info));  // the window's icon is untouched
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);

  HICON fallback = GetWindowIconHandle(other, 100);  // no icon anywhere: the standard one
  EXPECT_NE(fallback, nullptr);
  DestroyIcon(fallback);
}

TEST(ProcessInfo, ImageNameOfThisProgramAndOfNoProcess) {
  const std::wstring name = GetProcessImageName(GetCurrentProcessId());
  ASSERT_GE(name.size(), 4u);
  EXPECT_NE(name.find(L"input_unit_tests.exe"), std::wstring::npos) << name;
  EXPECT_EQ(GetProcessImageName(0xFFFFFFF0), L"");
}

TEST(BusyCursor, NestedLevelsAndUnmatchedEnds) {
  BusyCursorEnd(true);
  BusyCursorEnd();
  EXPECT_EQ(BusyCursorLevel(), 0);
  EXPECT_EQ(ScreenCursor(), nullptr);

  BusyCursorBegin();
  BusyCursorBegin();
  BusyCursorEnd();
  EXPECT_EQ(BusyCursorLevel(), 1);
  EXPECT_EQ(ScreenCursor(), LoadCursorW(nullptr, IDC_WAIT));
  BusyCursorBegin(true);
  EXPECT_EQ(BusyCursorLevel(), 1);
  BusyCursorEnd();
  EXPECT_EQ(ScreenCursor(), nullptr);

  BusyCursorBegin();
  BusyCursorBegin();
  BusyCursorEnd(true);
  EXPECT_EQ(BusyCursorLevel(), 0);
  EXPECT_EQ(ScreenCursor(), nullptr);
}

}  // namespace
}  // namespace snibbet
