// Snibbet and the hook library: Start loads it and hands it the application
// window, the library's reports reach that window, the program's end calls
// UnHook and frees it, and each broken library is named in a message box.
#include <windows.h>

#include <filesystem>
#include <fstream>

#include "testing/probe/probe.h"
#include "tests/e2e/app_e2e_support.h"
#include "tests/e2e/datamodule_spy_protocol.h"

namespace snibbet_e2e {
namespace {

using namespace std::chrono_literals;

class DataModuleHookTest : public SnibbetTest {
 protected:
  // Puts a build of SnibbetH.dll from the test folder into the program's folder.
  void UseLibraryBuild(const std::wstring& subfolder) {
    std::filesystem::copy_file(TestDir() + subfolder + L"\\SnibbetH.dll", folder_.File(L"SnibbetH.dll"),
                               std::filesystem::copy_options::overwrite_existing);
  }

  // Started and through its start-up (the helper found, the library bound):
  // its debug log says "Run" once the message loop is about to run.
  probe::Process& StartAndWait(HWND& main) {
    probe::Process& snibbet = StartSnibbet({L"/debug"}, probe::AtEnd::MustHaveEnded);
    main = WaitForMainWindow(snibbet.Pid());
    EXPECT_NE(main, nullptr);
    EXPECT_TRUE(probe::WaitUntil([&] { return LogSays("Run"); }, 15s)) << "start-up did not finish";
    return snibbet;
  }

  bool LogSays(const std::string& event) {
    std::ifstream log(std::filesystem::path(folder_.File(L"Log.txt")), std::ios::binary);
    std::string line;
    while (std::getline(log, line))
      if (line.find(event + " : ") != std::string::npos) return true;
    return false;
  }

  std::vector<std::wstring> BoxTexts() {
    std::vector<std::wstring> texts;
    for (const auto& seen : Boxes().Seen()) texts.push_back(seen.box.text);
    return texts;
  }
};

TEST_F(DataModuleHookTest, StartHandsTheApplicationWindowToHookAndTheEndUnhooksAndFrees) {
  UseLibraryBuild(L"snibbeth_spy");
  probe::TestWindow spy(kSpyWindowClass, L"spy");
  HWND main = nullptr;
  probe::Process& snibbet = StartAndWait(main);
  ASSERT_TRUE(spy.WaitForCount(kSpyHooked, 1, 5s));
  const auto hooked = spy.Messages(kSpyHooked)[0];
  EXPECT_EQ(static_cast<DWORD>(hooked.lParam), snibbet.Pid());
  EXPECT_EQ(reinterpret_cast<HWND>(hooked.wParam), probe::OwnerOf(main)) << "the application window";
  EXPECT_EQ(spy.Count(kSpyUnHooked), 0u);

  CloseNormally(snibbet, main);
  ASSERT_TRUE(spy.WaitForCount(kSpyFreed, 1, 2s)) << "the library was not freed before the end";
  std::vector<UINT> order;
  for (const auto& message : spy.Messages())
    if (message.message >= kSpyHooked && message.message <= kSpyFreed) order.push_back(message.message);
  EXPECT_EQ(order, (std::vector<UINT>{kSpyHooked, kSpyUnHooked, kSpyFreed}));
  EXPECT_TRUE(Boxes().Seen().empty());
}

// A visible window of the test's own thread: it is brought to the front by its
// own thread, as a user's click does (Wine raises no WinEvent when another
// thread sets the foreground).
class FrontWindow {
 public:
  explicit FrontWindow(const wchar_t* title) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SnibbetDataModuleFront";
    RegisterClassW(&wc);
    window_ = CreateWindowExW(0, wc.lpszClassName, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 200, 200, 120,
                              nullptr, nullptr, wc.hInstance, nullptr);
  }
  ~FrontWindow() { DestroyWindow(window_); }
  FrontWindow(const FrontWindow&) = delete;
  FrontWindow& operator=(const FrontWindow&) = delete;
  HWND Handle() const { return window_; }

 private:
  HWND window_ = nullptr;
};

TEST_F(DataModuleHookTest, OurLibraryReportsEachNewForegroundWindowToTheApplicationWindow) {
  probe::TestWindow spy(kSpyWindowClass, L"spy");
  FrontWindow first(L"first");
  FrontWindow second(L"second");
  HWND main = nullptr;
  probe::Process& snibbet = StartAndWait(main);
  const HWND application = probe::OwnerOf(main);

  // Watch the messages Snibbet's GUI thread takes from its queue.
  HMODULE spyLibrary = LoadLibraryW((TestDir() + L"datamodule_message_spy.dll").c_str());
  ASSERT_NE(spyLibrary, nullptr);
  auto spyProc = reinterpret_cast<HOOKPROC>(GetProcAddress(spyLibrary, "SpyGetMessage"));
  HHOOK watch = SetWindowsHookExW(WH_GETMESSAGE, spyProc, spyLibrary, GetWindowThreadProcessId(main, nullptr));
  ASSERT_NE(watch, nullptr);
  PostMessageW(main, WM_NULL, 0, 0);  // the spy is loaded into Snibbet at its next message
  probe::PumpMessages(300ms);

  for (HWND front : {first.Handle(), second.Handle(), first.Handle()}) {
    spy.Clear();
    SetForegroundWindow(front);
    ASSERT_TRUE(probe::WaitUntil(
        [&] {
          probe::PumpMessages(20ms);
          return spy.Count(kSpyActivationSeen) > 0;
        },
        3s))
        << "no report of the new foreground window";
    const auto seen = spy.Messages(kSpyActivationSeen);
    EXPECT_EQ(reinterpret_cast<HWND>(seen[0].wParam), application);
    EXPECT_EQ(reinterpret_cast<HWND>(seen[0].lParam), front);
  }
  UnhookWindowsHookEx(watch);
  FreeLibrary(spyLibrary);
  CloseNormally(snibbet, main);
}

TEST_F(DataModuleHookTest, WithoutTheLibraryTheProgramSaysSoAndRunsOnInactive) {
  folder_.Remove(L"SnibbetH.dll");
  HWND main = nullptr;
  probe::Process& snibbet = StartAndWait(main);
  ASSERT_TRUE(Boxes().WaitForBox(5s).has_value());
  EXPECT_EQ(Boxes().Seen()[0].box.caption, L"Error");
  EXPECT_TRUE(snibbet.Running());
  CloseNormally(snibbet, main);
  EXPECT_EQ(BoxTexts(), std::vector<std::wstring>{L"Cannot load the hook library SnibbetH.dll."});
}

TEST_F(DataModuleHookTest, WithoutHookStartNamesTheEntryAndTheEndSaysNothingMore) {
  UseLibraryBuild(L"snibbeth_without_hook");
  HWND main = nullptr;
  probe::Process& snibbet = StartAndWait(main);
  ASSERT_TRUE(Boxes().WaitForBox(5s).has_value());
  EXPECT_TRUE(snibbet.Running());
  CloseNormally(snibbet, main);
  EXPECT_EQ(BoxTexts(), std::vector<std::wstring>{L"Function \"Hook\" is not found in the hook library SnibbetH.dll."});
}

TEST_F(DataModuleHookTest, WithoutUnHookTheEndNamesTheEntryAndStillEnds) {
  UseLibraryBuild(L"snibbeth_without_unhook");
  HWND main = nullptr;
  probe::Process& snibbet = StartAndWait(main);
  probe::PumpMessages(500ms);
  EXPECT_TRUE(Boxes().Seen().empty()) << "Start needs no UnHook";
  CloseNormally(snibbet, main);
  EXPECT_EQ(BoxTexts(),
            std::vector<std::wstring>{L"Function \"UnHook\" is not found in the hook library SnibbetH.dll."});
  // Told to end as the program ends; its process goes a moment later.
  EXPECT_TRUE(probe::WaitUntil([] { return probe::ProcessesNamed(L"SnibbetCm.exe").empty(); }, 5s))
      << "the helper is ended all the same";
}

}  // namespace
}  // namespace snibbet_e2e
