// A damaged icon set in the program folder's Icons\: the real program says so
// once at start, with the file's path, then runs as usual; the windows of the
// set's program coming to the front again and again bring no further box.
#include <windows.h>

#include <filesystem>
#include <fstream>

#include "testing/probe/probe.h"
#include "tests/e2e/app_e2e_support.h"
#include "tests/host/icon_set_bytes.h"

namespace snibbet_e2e {
namespace {

using namespace std::chrono_literals;

// A visible window of the test's own thread, brought to the front by that
// thread as a user's click does.
class FrontWindow {
 public:
  explicit FrontWindow(const wchar_t* title, int left) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SnibbetIconSetsFront";
    RegisterClassW(&wc);
    window_ = CreateWindowExW(0, wc.lpszClassName, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, left, 200, 200, 120,
                              nullptr, nullptr, wc.hInstance, nullptr);
  }
  ~FrontWindow() { DestroyWindow(window_); }
  FrontWindow(const FrontWindow&) = delete;
  FrontWindow& operator=(const FrontWindow&) = delete;
  HWND Handle() const { return window_; }

 private:
  HWND window_ = nullptr;
};

// This test program's file name, as an icon set names its application.
std::string OwnProgramName() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  const std::wstring name = std::filesystem::path(path).filename().wstring();
  return std::string(name.begin(), name.end());
}

TEST_F(SnibbetTest, ADamagedIconSetIsReportedOnceAtStartAndNotAgainWhenItsProgramComesToTheFront) {
  // The names of this program, then the file ends inside the set's icon: the
  // read at start fails after the names, so each of this program's windows
  // that comes to the front finds the set again.
  snibbet::test::IconSetBytes set;
  set.executable = OwnProgramName();
  set.icon = snibbet::test::IconBytes();
  const std::string header = set.Header();
  const std::wstring damaged = folder_.File(L"Icons\\Damaged.zqi");
  std::ofstream(std::filesystem::path(damaged), std::ios::binary) << header.substr(0, header.size() - 30);

  probe::Process& snibbet = StartSnibbet();
  const auto box = Boxes().WaitForBox(15s);
  ASSERT_TRUE(box.has_value()) << "no message for the damaged icon set";
  EXPECT_EQ(box->box.text, L"The file \"" + damaged + L"\" is damaged or is not a file of Orvane Paste.");
  EXPECT_EQ(box->box.caption, L"Error");
  const HWND main = WaitForMainWindow(snibbet.Pid());
  ASSERT_NE(main, nullptr) << "the program did not go on after the message";
  ASSERT_TRUE(snibbet.WaitIdle(10s));

  FrontWindow first(L"first", 100);
  FrontWindow second(L"second", 400);
  for (int activation = 0; activation < 50; ++activation) {
    SetForegroundWindow(activation % 2 ? second.Handle() : first.Handle());
    // Long enough for the hook library's report and for the 300 ms poll.
    probe::PumpMessages(activation % 10 == 9 ? 400ms : 120ms);
    ASSERT_EQ(Boxes().Seen().size(), 1u) << "another box after activation " << activation;
  }
  probe::PumpMessages(1s);
  EXPECT_EQ(Boxes().Seen().size(), 1u);

  EXPECT_TRUE(snibbet.Running());
  EXPECT_TRUE(snibbet.WaitIdle(5s));
  CloseNormally(snibbet, main);
}

}  // namespace
}  // namespace snibbet_e2e
