#pragma once
// Shared by the clipboard monitor's tests: a monitor on a fresh application
// object that notes its sounds and warnings, clipboard changes made by
// another process, and the clipboard held open by another thread.
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "clipboard/clipboard_monitor.h"
#include "core/lang_table.h"
#include "tests/unit/clipboard_test_support.h"
#include "tests/unit/ui_test_support.h"
#include "testing/probe/process.h"

namespace snibbet::test {

// The probe lies beside the test programs.
inline std::wstring ProbePath() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.find_last_of(L"\\/") + 1) + L"SnibbetProbe.exe";
}

// Holds the clipboard open from another thread until Release(), or for
// `holdMs` from its opening.
class ClipboardHolder {
 public:
  explicit ClipboardHolder(DWORD holdMs = INFINITE) : thread_([this, holdMs] {
      // Opened for a window of its own, as another program would.
      HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
      while (!OpenClipboard(window)) Sleep(5);
      const ULONGLONG opened = GetTickCount64();
      open_ = true;
      while (!release_ && GetTickCount64() - opened < holdMs) Sleep(5);
      CloseClipboard();
      DestroyWindow(window);
    }) {
    while (!open_) Sleep(1);
  }
  ~ClipboardHolder() { Release(); }
  void Release() {
    release_ = true;
    if (thread_.joinable()) thread_.join();
  }

 private:
  std::atomic<bool> open_{false};
  std::atomic<bool> release_{false};
  std::thread thread_;
};

class ClipmonTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    InitializeLanguages();
    ClipboardChangedFlag = false;
  }
  void TearDown() override {
    UiTest::TearDown();
    FinalizeLanguages();
  }

  // The monitor, registered; the listener as the system offers it unless
  // `withListener` is false (then its look-up fails).
  TQvClipboardMonitor& MakeMonitor(bool withListener = true, ClipboardMonitorOptions options = {}) {
    if (!options.record) options.record = &monitorRecord;
    options.isVistaOrLater = [] { return true; };
    if (!withListener) options.lookUpListenerApi = [] { return FormatListenerApi{}; };
    options.showWarning = [this](std::wstring_view text) { warnings.emplace_back(text); };
    options.playSound = [this](int slot, bool force) { sounds.push_back({slot, force}); };
    TQvClipboardMonitor& monitor = App().CreateForm<TQvClipboardMonitor>(std::move(options));
    monitor.RegisterViewer();
    PumpFor(50);
    sounds.clear();
    ClipboardChangedFlag = false;
    return monitor;
  }

  // Another process puts `text` on the clipboard. With `pump`, this thread's
  // messages are processed meanwhile (a viewer is sent its notification and
  // the writer waits for the answer); without, a posted one stays queued.
  void CopyInOtherProcess(const std::wstring& text, bool pump = true) {
    probe::Process writer = probe::Process::Start(ProbePath(), std::vector<std::wstring>{L"set-clipboard", text});
    if (pump) {
      ASSERT_TRUE(PumpUntil([&] { return !writer.Running(); }, 10000));
    } else {
      ASSERT_TRUE(writer.WaitExit(std::chrono::milliseconds(10000)).has_value());
    }
  }

  static std::wstring ClipboardText() {
    const testing::Bytes bytes = testing::ClipboardBytes(CF_UNICODETEXT);
    if (bytes.size() < sizeof(wchar_t)) return {};
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t)).c_str();
  }

  // Milliseconds until done() holds, pumping messages; -1 when it never did.
  template <class Done>
  long long MsUntil(Done done, DWORD timeoutMs = 3000) {
    const ULONGLONG start = GetTickCount64();
    return PumpUntil(done, timeoutMs) ? static_cast<long long>(GetTickCount64() - start) : -1;
  }

  struct Sound {
    int slot;
    bool force;
  };
  std::vector<Sound> sounds;
  ClipboardMonitorRecord monitorRecord;  // names the monitor MakeMonitor made
  std::vector<std::wstring> warnings;
};

}  // namespace snibbet::test
