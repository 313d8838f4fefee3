// Change notifications: the format listener, the viewer chain when the
// listener is missing, the flag the paste steps wait on and the sound.
#include <gtest/gtest.h>

#include "tests/unit/clipmon_test_support.h"

namespace snibbet {
namespace {

using test::ClipmonTest;

// A plain window that joins the viewer chain and counts what it is passed.
class ChainPeer {
 public:
  ChainPeer() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ClipmonChainPeer";
    RegisterClassW(&wc);
    window_ = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, this);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    next_ = SetClipboardViewer(window_);
    joined_ = true;
    draws = 0;  // joining sends one
  }
  ~ChainPeer() {
    Leave();
    DestroyWindow(window_);
  }
  void Leave() {
    if (joined_) ChangeClipboardChain(window_, next_);
    joined_ = false;
  }
  HWND Handle() const { return window_; }
  HWND Next() const { return next_; }
  int draws = 0;

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<ChainPeer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == WM_DRAWCLIPBOARD) {
      ++self->draws;
      if (self->next_) SendMessageW(self->next_, message, wParam, lParam);
      return 0;
    }
    if (self && message == WM_CHANGECBCHAIN) {
      if (reinterpret_cast<HWND>(wParam) == self->next_) {
        self->next_ = reinterpret_cast<HWND>(lParam);
      } else if (self->next_) {
        SendMessageW(self->next_, message, wParam, lParam);
      }
      return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }
  HWND window_ = nullptr;
  HWND next_ = nullptr;
  bool joined_ = false;
};

TEST_F(ClipmonTest, CopyByAnotherProcessSetsTheFlagEndsTheWaitAndSounds) {
  TQvClipboardMonitor& monitor = MakeMonitor();
  ASSERT_TRUE(monitor.UseFormatListener());
  EXPECT_TRUE(warnings.empty());

  // The notification is posted: it waits in the queue until the wait runs.
  CopyInOtherProcess(L"copied elsewhere", false);
  EXPECT_FALSE(ClipboardChangedFlag);
  const ULONGLONG start = GetTickCount64();
  monitor.WaitForClipboardChange();
  const ULONGLONG waited = GetTickCount64() - start;
  EXPECT_TRUE(ClipboardChangedFlag);
  EXPECT_GE(waited, 25u);   // the 30 ms after the change
  EXPECT_LT(waited, 200u);  // not the whole 300 ms
  ASSERT_EQ(sounds.size(), 1u);
  EXPECT_EQ(sounds[0].slot, kClipboardSoundSlot);
  EXPECT_FALSE(sounds[0].force);

  // Nothing changes: the whole wait.
  ClipboardChangedFlag = false;
  const ULONGLONG again = GetTickCount64();
  monitor.WaitForClipboardChange();
  EXPECT_GE(GetTickCount64() - again, 320u);
  EXPECT_FALSE(ClipboardChangedFlag);
}

TEST_F(ClipmonTest, DuringAPasteAChangeSetsTheFlagButPlaysNoSound) {
  TQvClipboardMonitor& monitor = MakeMonitor();
  monitor.SetMonitoring(false);
  CopyInOtherProcess(L"while pasting");
  EXPECT_TRUE(PumpUntil([] { return ClipboardChangedFlag; }));
  EXPECT_TRUE(sounds.empty());
  EXPECT_FALSE(monitor.SnapshotHeld());
}

TEST_F(ClipmonTest, StoppedMonitorHearsNothingAndStartsAgainOnce) {
  TQvClipboardMonitor& monitor = MakeMonitor();
  monitor.UnregisterViewer();
  CopyInOtherProcess(L"unheard");
  PumpFor(150);
  EXPECT_FALSE(ClipboardChangedFlag);

  // Registered twice: still one listener, so one sound per change.
  monitor.RegisterViewer();
  monitor.RegisterViewer();
  CopyInOtherProcess(L"heard");
  EXPECT_TRUE(PumpUntil([] { return ClipboardChangedFlag; }));
  PumpFor(100);
  EXPECT_EQ(sounds.size(), 1u);
  EXPECT_TRUE(monitor.tmrRestart.Enabled());
  monitor.UnregisterViewer();
  EXPECT_FALSE(monitor.tmrRestart.Enabled());
}

TEST_F(ClipmonTest, WithoutTheListenerTheViewerChainServes) {
  ChainPeer peer;  // first in the chain; the monitor joins in front of it
  TQvClipboardMonitor& monitor = MakeMonitor(false);
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0], L"Failed to locate Vista Clipboard API");
  EXPECT_FALSE(monitor.UseFormatListener());
  EXPECT_EQ(monitor.NextViewer(), peer.Handle());
  EXPECT_TRUE(sounds.empty());  // joining is not the user's change

  peer.draws = 0;
  CopyInOtherProcess(L"through the chain");
  PumpFor(100);
  EXPECT_TRUE(ClipboardChangedFlag);
  EXPECT_EQ(sounds.size(), 1u);
  EXPECT_EQ(peer.draws, 1);  // passed on down the chain

  // The peer leaves: the monitor now links to the one after it.
  peer.Leave();
  EXPECT_EQ(monitor.NextViewer(), peer.Next());
  peer.draws = 0;
  CopyInOtherProcess(L"peer gone");
  PumpFor(100);
  EXPECT_EQ(peer.draws, 0);
  EXPECT_EQ(sounds.size(), 2u);

  // Leaving and joining again: never its own next viewer.
  monitor.UnregisterViewer();
  ClipboardChangedFlag = false;
  CopyInOtherProcess(L"outside the chain");
  PumpFor(100);
  EXPECT_FALSE(ClipboardChangedFlag);
  monitor.RegisterViewer();
  EXPECT_NE(monitor.NextViewer(), monitor.Handle());
  ClipboardChangedFlag = false;
  CopyInOtherProcess(L"back in the chain");
  PumpFor(100);
  EXPECT_TRUE(ClipboardChangedFlag);
}

}  // namespace
}  // namespace snibbet
