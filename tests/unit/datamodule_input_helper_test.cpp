// The link to the input helper with stand-in helper windows: commands reach
// only a window that is still the helper's, and a hung helper cannot hang the
// program. (Reuse and the 1210 broadcast are tested end to end.)
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "core/input_helper_link.h"
#include "helper/helper_protocol.h"
#include "testing/probe/test_window.h"
#include "ui/application.h"

namespace snibbet {
namespace {

using namespace std::chrono_literals;

class InputHelperLinkTest : public ::testing::Test {
 protected:
  void SetUp() override { ForgetInputHelper(); }
  void TearDown() override {
    ForgetInputHelper();
    // A new application object clears a terminate request left by a test.
    ui::Application::Create({.title = L"Orvane Paste"});
    ui::Application::Destroy();
  }
};

TEST_F(InputHelperLinkTest, CommandsAreSentAndAnsweredAndTheEndDestroysTheHelper) {
  EXPECT_FALSE(SendToInputHelper(WM_HELPER_HOOKS_ON).has_value()) << "no helper known";
  probe::TestWindow helper(kHelperWindowClass, kHelperWindowTitle);
  ASSERT_TRUE(StartInputHelper());
  for (UINT command : {WM_HELPER_HOOKS_ON, WM_HELPER_BLOCK_INPUT, WM_HELPER_UNBLOCK_INPUT, WM_HELPER_WHEEL_CAPTURE_ON,
                       WM_HELPER_WHEEL_CAPTURE_OFF, WM_HELPER_HOOKS_OFF}) {
    EXPECT_TRUE(SendToInputHelper(command).has_value());
    // Sent, not posted: it has arrived when the call returns.
    EXPECT_EQ(helper.Count(command), 1u) << command;
  }
  EndInputHelper();
  EXPECT_EQ(helper.Count(WM_DESTROY), 1u);
  EXPECT_EQ(InputHelperWindow(), nullptr);
}

TEST_F(InputHelperLinkTest, AHandleNoLongerTheHelpersGetsNothing) {
  probe::TestWindow helper(kHelperWindowClass, kHelperWindowTitle);
  ASSERT_TRUE(StartInputHelper());
  EXPECT_TRUE(IsInputHelperWindow(helper.Handle()));
  // Another program's window with the helper's class, or the helper's title.
  SetWindowTextW(helper.Handle(), L"Something else");
  EXPECT_FALSE(IsInputHelperWindow(helper.Handle()));
  probe::TestWindow titleOnly(L"SnibbetLinkTestOther", kHelperWindowTitle);
  EXPECT_FALSE(IsInputHelperWindow(titleOnly.Handle()));
  EXPECT_FALSE(IsInputHelperWindow(nullptr));

  EXPECT_FALSE(SendToInputHelper(WM_HELPER_BLOCK_INPUT).has_value());
  EndInputHelper();
  EXPECT_EQ(helper.Count(WM_HELPER_BLOCK_INPUT), 0u);
  EXPECT_EQ(helper.Count(WM_DESTROY), 0u);
}

// A helper window whose thread stops answering messages.
class HungHelper {
 public:
  HungHelper() {
    thread_ = std::thread([this] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = DefWindowProcW;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = kHelperWindowClass;
      RegisterClassW(&wc);
      window_ = CreateWindowExW(0, kHelperWindowClass, kHelperWindowTitle, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                wc.hInstance, nullptr);
      SetEvent(created_);
      WaitForSingleObject(release_, INFINITE);  // hung: no message is retrieved
      DestroyWindow(window_);
    });
    WaitForSingleObject(created_, INFINITE);
  }
  ~HungHelper() {
    SetEvent(release_);
    thread_.join();
    CloseHandle(created_);
    CloseHandle(release_);
  }
  HWND Window() const { return window_; }

 private:
  HANDLE created_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE release_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HWND window_ = nullptr;
  std::thread thread_;
};

TEST_F(InputHelperLinkTest, AHungHelperCannotHangTheProgram) {
  HungHelper helper;
  ASSERT_TRUE(StartInputHelper());
  ASSERT_EQ(InputHelperWindow(), helper.Window());
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(SendToInputHelper(WM_HELPER_BLOCK_INPUT).has_value());
  EndInputHelper();
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_LT(took, 2 * std::chrono::milliseconds(kInputHelperSendTimeoutMs) + 1s);
}

TEST_F(InputHelperLinkTest, NothingIsLookedForOnceTheApplicationEnds) {
  probe::TestWindow helper(kHelperWindowClass, kHelperWindowTitle);
  ui::Application::Create({.title = L"Orvane Paste"});
  ui::Terminate();
  EXPECT_FALSE(StartInputHelper());
  EXPECT_EQ(InputHelperWindow(), nullptr);
  MSG quit;
  PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  ui::Application::Destroy();
  std::this_thread::sleep_for(200ms);
  EXPECT_EQ(helper.Count(WM_HELPER_RESET_MAIN_WINDOW), 0u);
}

}  // namespace
}  // namespace snibbet
