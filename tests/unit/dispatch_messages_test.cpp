// The data module's message dispatch: what each message of the hook library
// and the input helper does, that they arrive through the thread's real
// queue wherever they were posted, and that every message still reaches its
// window afterwards.
#include <gtest/gtest.h>

#include <vector>

#include "core/hook_messages.h"
#include "hub/data_module.h"
#include "tests/unit/datamodule_test_support.h"
#include "tests/unit/dispatch_test_support.h"
#include "tests/unit/input_records_support.h"
#include "ui/application.h"

namespace snibbet {
namespace {

using test::HelperClickAt;
using test::Message;
using test::RecordedSteps;

class DispatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MSG stale;
    while (PeekMessageW(&stale, nullptr, 0, 0, PM_REMOVE)) {
    }
    ui::Application::Create({.title = L"Orvane Paste"});
    dataModule_.emplace(testing::ProcessInputRecords(), DataModuleOptions{.hookLibrary = test::MissingLibrary(), .parts = &steps_});
  }
  void TearDown() override {
    dataModule_.reset();
    ui::Application::Destroy();
  }
  TDataDM& Module() { return *dataModule_; }

  RecordedSteps steps_;
  std::optional<TDataDM> dataModule_;
};

TEST_F(DispatchTest, AClickOutsideThePopupClosesItAlsoOnMonitorsLeftOfAndAboveThePrimaryOne) {
  steps_.popupBounds = RECT{-300, -200, -100, -50};
  struct Click {
    int x, y;
    bool closes;
  };
  const Click clicks[] = {
      {-250, -100, false},  // inside, both coordinates negative
      {-300, -200, false},  // the top-left corner is inside
      {-101, -51, false},
      {-100, -100, true},  // the right edge is outside
      {-250, -50, true},   // the bottom edge too
      {-350, -100, true},
      {250, 100, true},  // the same point, positive, lies elsewhere
  };
  for (const Click& click : clicks) {
    steps_.popupShown = true;
    const int hidesBefore = steps_.hides;
    Module().Dispatch().aeMainMessage(HelperClickAt(click.x, click.y));
    EXPECT_EQ(steps_.hides - hidesBefore, click.closes ? 1 : 0) << click.x << "," << click.y;
  }
  EXPECT_EQ(steps_.resets, 7) << "every click ends the word being typed";

  // Hidden, or with the mouse over the keyboard window, the pop-up is left alone.
  steps_.popupShown = false;
  Module().Dispatch().aeMainMessage(HelperClickAt(500, 500));
  steps_.popupShown = steps_.mouseOverKeyboard = true;
  Module().Dispatch().aeMainMessage(HelperClickAt(500, 500));
  EXPECT_EQ(steps_.hides, 4);
}

TEST_F(DispatchTest, ALayoutChangeKeepsTheTypedWordOnlyWhileTheProgramsOwnRequestAwaitsItsAnswer) {
  const HKL german = reinterpret_cast<HKL>(0x04070407);
  const HKL us = reinterpret_cast<HKL>(0x04090409);
  steps_.answerPending = true;
  Module().Dispatch().aeMainMessage(Message(WM_HOOK_LAYOUT_CHANGED, 0, reinterpret_cast<LPARAM>(german)));
  EXPECT_EQ(steps_.layouts, std::vector<HKL>{german});
  EXPECT_EQ(steps_.resets, 0);

  Module().Dispatch().aeMainMessage(Message(WM_HOOK_LAYOUT_ACK));
  EXPECT_EQ(steps_.answers, 1);
  Module().Dispatch().aeMainMessage(Message(WM_HOOK_LAYOUT_CHANGED, 0, reinterpret_cast<LPARAM>(us)));
  EXPECT_EQ(steps_.layouts, (std::vector<HKL>{german, us}));
  EXPECT_EQ(steps_.resets, 1) << "a change the program did not ask for empties the history";
}

TEST_F(DispatchTest, AnActivationReportWithoutAWindowCountsAsActivity) {
  Module().Watch().ClassifyForegroundApp(L"iexplore.exe", L"IEFrame");
  const DWORD before = GetTickCount();
  Module().Dispatch().aeMainMessage(Message(WM_HOOK_WINDOW_ACTIVATED, 0));
  EXPECT_LE(Module().Watch().LastActivityTick() - before, GetTickCount() - before);
  EXPECT_FALSE(Module().Watch().ForegroundIsIE());
  EXPECT_EQ(steps_.resets, 1);
}

// A window of the thread that notes the messages it is given.
std::vector<UINT> g_seenByWindow;
LRESULT CALLBACK NotingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= WM_USER) g_seenByWindow.push_back(message);
  return DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(DispatchTest, MessagesPostedToAnyWindowOfTheThreadReachTheHandlersAndThenTheirWindow) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = NotingProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"SnibbetDispatchNotingWindow";
  RegisterClassW(&wc);
  HWND noting = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                wc.hInstance, nullptr);
  ASSERT_NE(noting, nullptr);
  g_seenByWindow.clear();

  const HWND app = ui::ApplicationWindow();
  const HKL layout = reinterpret_cast<HKL>(0x04090409);
  steps_.popupShown = true;
  steps_.popupBounds = RECT{0, 0, 100, 100};
  PostMessageW(app, WM_HOOK_LAYOUT_CHANGED, 0, reinterpret_cast<LPARAM>(layout));
  PostMessageW(app, WM_HOOK_LAYOUT_ACK, 0, 0);
  PostMessageW(noting, WM_HELPER_MOUSE_WHEEL, 42, 0);
  PostMessageW(noting, WM_HELPER_MOUSE_DOWN, 0, PackCursorPos(50, 50));
  PostThreadMessageW(GetCurrentThreadId(), WM_HELPER_MOUSE_DOWN, 0, PackCursorPos(-5, 50));
  // Moves and hovers change nothing.
  PostMessageW(app, WM_HELPER_MOUSE_TRACK, 0, PackCursorPos(5000, 5000));
  PostMessageW(app, WM_HELPER_MOUSE_HOVER, 0, 0);
  test::PumpApplication(50);

  EXPECT_EQ(steps_.layouts, std::vector<HKL>{layout});
  EXPECT_EQ(steps_.answers, 1);
  EXPECT_EQ(steps_.wheels, std::vector<WPARAM>{42});
  EXPECT_EQ(steps_.hides, 1) << "only the click left of the pop-up closes it";
  EXPECT_EQ(steps_.resets, 3);
  EXPECT_EQ(g_seenByWindow, (std::vector<UINT>{WM_HELPER_MOUSE_WHEEL, WM_HELPER_MOUSE_DOWN}))
      << "the dispatch never keeps a message from its window";
  DestroyWindow(noting);
}

}  // namespace
}  // namespace snibbet
