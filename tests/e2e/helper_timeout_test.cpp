// The ten-second safety time-out of the real SnibbetCm.exe: a block that the
// main program never ends must not leave the keyboard dead.
#include <gtest/gtest.h>

#include <cstdio>

#include "helper/helper_protocol.h"
#include "tests/e2e/helper_e2e_support.h"

namespace snibbet::helper_e2e {
namespace {

class HelperTimeoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(helper.Window(), nullptr) << "SnibbetCm.exe did not start";
    ASSERT_TRUE(helper.Send(WM_HELPER_HOOKS_ON));
    ASSERT_TRUE(target.Activate());
    ASSERT_TRUE(Xdotool("keydown h"));
    ASSERT_TRUE(PumpUntil([] { return !SeenOf(WM_KEYDOWN).empty(); }, 3000));
    target.ClearText();
    SeenMessages().clear();
  }

  // With a block started just now and never ended: physical keys stay held
  // back for ten seconds (a physical key does not extend the block), then the
  // next physical key, the release of h, ends it and is replayed with the
  // release of a that was held back meanwhile.
  void ExpectTheBlockToTimeOut() {
    PumpFor(1000);
    ASSERT_TRUE(Xdotool("type a"));
    PumpFor(9500);
    EXPECT_EQ(target.Text(), L"") << "still blocked before ten seconds";
    EXPECT_TRUE(SeenOf(WM_KEYUP).empty());

    ASSERT_TRUE(Xdotool("keyup h"));
    ASSERT_TRUE(PumpUntil([] { return SeenOf(WM_KEYUP).size() >= 2; }, 3000));
    std::vector<WPARAM> released;
    for (const Seen& s : SeenOf(WM_KEYUP)) released.push_back(s.wParam);
    EXPECT_EQ(released, (std::vector<WPARAM>{'A', 'H'})) << "both held-back releases are replayed";
    EXPECT_FALSE(KeyHeld('H'));

    ASSERT_TRUE(Xdotool("type z"));
    EXPECT_TRUE(PumpUntil([&] { return target.Text() == L"z"; }, 3000)) << "typing works again";
  }

  HelperProcess helper;
  TargetWindow target;
};

TEST_F(HelperTimeoutTest, BlockWithoutUnblockEndsAtTheFirstPhysicalKeyAfterTenSeconds) {
  ASSERT_TRUE(helper.Send(WM_HELPER_BLOCK_INPUT));
  ExpectTheBlockToTimeOut();
}

TEST_F(HelperTimeoutTest, BlockOfAKilledSenderEndsTheSameWay) {
  wchar_t eventName[64];
  std::swprintf(eventName, 64, L"SnibbetHelperPeerBlocked-%lu", GetCurrentProcessId());
  HANDLE blocked = CreateEventW(nullptr, TRUE, FALSE, eventName);
  ASSERT_NE(blocked, nullptr);
  wchar_t arguments[128];
  std::swprintf(arguments, 128, L"%llx %ls", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(helper.Window())),
                eventName);
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring peerPath(self);
  peerPath.resize(peerPath.find_last_of(L'\\') + 1);
  ChildProcess peer(peerPath + L"helper_peer.exe", arguments);
  ASSERT_TRUE(peer.Started());
  const bool peerBlocked = PumpUntil([&] { return WaitForSingleObject(blocked, 0) == WAIT_OBJECT_0; }, 10000);
  CloseHandle(blocked);
  ASSERT_TRUE(peerBlocked);
  peer.Kill();
  ExpectTheBlockToTimeOut();
}

}  // namespace
}  // namespace snibbet::helper_e2e
