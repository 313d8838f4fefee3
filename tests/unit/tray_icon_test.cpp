// The tray icon's window: what the shell's callback messages turn into.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include "hub/tray_icon.h"

namespace snibbet {
namespace {

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

class TrayIconCallbacks : public ::testing::Test {
 protected:
  void SetUp() override {
    icon_.onClick = [this] { ++clicks_; };
    icon_.onBalloonClick = [this] { ++balloonClicks_; };
    icon_.onBalloonHide = [this] { ++balloonHides_; };
  }
  void Post(UINT mouseMessage) { PostMessageW(icon_.Window(), kTrayCallbackMessage, 1, mouseMessage); }

  TrayIcon icon_;
  int clicks_ = 0;
  int balloonClicks_ = 0;
  int balloonHides_ = 0;
};

TEST_F(TrayIconCallbacks, DoubleClickActsOnce) {
  // What the shell reports for a double click: up, double click, up.
  Post(WM_LBUTTONDOWN);
  Post(WM_LBUTTONUP);
  Post(WM_LBUTTONDBLCLK);
  Post(WM_LBUTTONUP);
  Pump();
  EXPECT_EQ(clicks_, 1);

  // A double click met on its own still acts, once.
  Post(WM_LBUTTONDBLCLK);
  Post(WM_LBUTTONUP);
  Pump();
  EXPECT_EQ(clicks_, 2);

  // Two single clicks are two clicks.
  Post(WM_LBUTTONUP);
  Pump();
  Post(WM_LBUTTONUP);
  Pump();
  EXPECT_EQ(clicks_, 4);
}

TEST_F(TrayIconCallbacks, RightButtonAndBalloonEvents) {
  Post(WM_RBUTTONUP);  // no menu attached: nothing happens, and it is no click
  Post(NIN_BALLOONUSERCLICK);
  Post(NIN_BALLOONTIMEOUT);
  Post(NIN_BALLOONHIDE);
  Pump();
  EXPECT_EQ(clicks_, 0);
  EXPECT_EQ(balloonClicks_, 1);
  EXPECT_EQ(balloonHides_, 2);
}

TEST(TrayIconShell, AddedWithHintAndRemoved) {
  TrayIcon icon;
  icon.SetHint(L"Orvane Paste");
  EXPECT_FALSE(icon.InShell());
  EXPECT_FALSE(icon.ShowBalloon(L"t", L"b", 1000)) << "no balloon without the icon";
  icon.SetVisible(true);
  EXPECT_TRUE(icon.InShell()) << "the shell refused the icon";
  EXPECT_TRUE(icon.ShowBalloon(L"Title", L"Body", 1000));
  icon.SetVisible(false);
  EXPECT_FALSE(icon.InShell());
}

}  // namespace
}  // namespace snibbet
