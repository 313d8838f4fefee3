// Exceptions stop at the Win32 boundary: window procedures, timers and hooks
// hand them to the application's handler and the loop goes on. From inside a
// hook they are reported later, from the loop.
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/unit/ui_test_support.h"
#include "ui/button.h"
#include "ui/exceptions.h"
#include "ui/form.h"
#include "ui/handles.h"
#include "ui/timer.h"

namespace {

constexpr UINT kThrow = WM_APP + 1;
constexpr UINT kStop = WM_APP + 2;

class ThrowingForm : public ui::Form {
 public:
  ThrowingForm() : Form({.className = L"TThrowingForm"}) {}
  ui::Button btnBoom{*this, {.name = L"btnBoom", .width = 80, .height = 24}};
  int stopsSeen = 0;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == kThrow) throw std::runtime_error("window procedure failed");
    if (message == kStop) {
      ++stopsSeen;
      ui::Terminate();
      return 0;
    }
    return Form::HandleMessage(message, wParam, lParam);
  }
};

class ExceptionTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    App().SetExceptionHandler([this](const std::exception_ptr& error) {
      reported.push_back(ui::ExceptionMessage(error));
      reportedInsideHook.push_back(ui::HookScope::Inside() || inHookBody);
    });
  }
  std::vector<std::wstring> reported;
  std::vector<bool> reportedInsideHook;
  static inline bool inHookBody = false;
};

TEST_F(ExceptionTest, WindowProcedureExceptionReachesTheHandlerAndTheLoopGoesOn) {
  ThrowingForm form;
  form.Create();
  PostMessageW(form.Handle(), kThrow, 0, 0);
  PostMessageW(form.Handle(), kStop, 0, 0);
  App().Run();
  EXPECT_EQ(reported, (std::vector<std::wstring>{L"window procedure failed"}));
  EXPECT_EQ(form.stopsSeen, 1);
}

TEST_F(ExceptionTest, ControlCallbackExceptionReachesTheHandler) {
  ThrowingForm form;
  form.btnBoom.onClick = [] { throw std::logic_error("click failed"); };
  form.Create();
  SendMessageW(form.btnBoom.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(reported, (std::vector<std::wstring>{L"click failed"}));
}

TEST_F(ExceptionTest, TimerCallbackExceptionReachesTheHandlerAndTheTimerKeepsRunning) {
  int ticks = 0;
  ui::Timer timer(10, [&] {
    if (++ticks == 1) throw std::runtime_error("tick failed");
    ui::Terminate();
  });
  timer.Start();
  App().Run();
  EXPECT_EQ(ticks, 2);
  EXPECT_EQ(reported, (std::vector<std::wstring>{L"tick failed"}));
}

TEST_F(ExceptionTest, NonStandardExceptionIsReportedAsUnknown) {
  ThrowingForm form;
  form.btnBoom.onClick = [] { throw 42; };
  form.Create();
  SendMessageW(form.btnBoom.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(reported, (std::vector<std::wstring>{L"Unknown error"}));
}

TEST_F(ExceptionTest, InsideAHookExceptionsAreQueuedAndReportedFromTheLoop) {
  ThrowingForm form;
  form.Create();
  // A simulated hook that fails itself and also reaches a window procedure
  // that fails (a SendMessage from the hook).
  const LRESULT answer = ui::GuardedHook(LRESULT{7}, [&]() -> LRESULT {
    inHookBody = true;
    SendMessageW(form.Handle(), kThrow, 0, 0);
    throw std::runtime_error("hook failed");
  });
  inHookBody = false;
  EXPECT_EQ(answer, 7);
  EXPECT_TRUE(reported.empty());  // nothing modal inside the hook
  ASSERT_TRUE(PumpUntil([&] { return reported.size() == 2; }));
  EXPECT_EQ(reported, (std::vector<std::wstring>{L"window procedure failed", L"hook failed"}));
  EXPECT_EQ(reportedInsideHook, (std::vector<bool>{false, false}));
}

// A real low-level keyboard hook on this thread, fed by SendInput.
int g_hookCalls = 0;
LRESULT CALLBACK FailingKeyboardHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code < 0) return CallNextHookEx(nullptr, code, wParam, lParam);
  return ui::GuardedHook(LRESULT{1}, [&]() -> LRESULT {
    ++g_hookCalls;
    ui::ReportLater(std::make_exception_ptr(std::runtime_error("reported later")));
    throw std::runtime_error("thrown in hook");
  });
}

TEST_F(ExceptionTest, LowLevelHookFailuresAreReportedFromTheLoopAfterTheHookReturns) {
  g_hookCalls = 0;
  ui::HookHandle hook(SetWindowsHookExW(WH_KEYBOARD_LL, &FailingKeyboardHook, GetModuleHandleW(nullptr), 0));
  ASSERT_TRUE(hook);
  INPUT key{};
  key.type = INPUT_KEYBOARD;
  key.ki.wVk = VK_F24;  // swallowed by the hook (it answers 1), reaches no program
  ASSERT_EQ(SendInput(1, &key, sizeof key), 1u);
  key.ki.dwFlags = KEYEVENTF_KEYUP;
  ASSERT_EQ(SendInput(1, &key, sizeof key), 1u);

  ASSERT_TRUE(PumpUntil([&] { return reported.size() == 4; }));
  EXPECT_EQ(g_hookCalls, 2);
  EXPECT_EQ(reported, (std::vector<std::wstring>{L"reported later", L"thrown in hook", L"reported later",
                                                 L"thrown in hook"}));
  EXPECT_EQ(reportedInsideHook, (std::vector<bool>(4, false)));
}

TEST_F(ExceptionTest, AFailingHandlerDoesNotLoopOrEscape) {
  int calls = 0;
  App().SetExceptionHandler([&](const std::exception_ptr&) {
    ++calls;
    // The fallback is a plain modal box; close it at once so the test goes on.
    SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
      KillTimer(nullptr, id);
      if (HWND box = FindWindowW(L"#32770", L"Error")) PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    throw std::runtime_error("handler failed");
  });
  ui::Guarded([] { throw std::runtime_error("first"); });
  EXPECT_EQ(calls, 1);
}

}  // namespace
