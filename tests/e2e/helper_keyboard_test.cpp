// The key block of the real SnibbetCm.exe, with physical keys from xdotool and
// injected keys from SendInput, typed over an EDIT window of this process.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "helper/helper_protocol.h"
#include "tests/e2e/helper_e2e_support.h"

namespace snibbet::helper_e2e {
namespace {

constexpr LPARAM kExtendedBit = 1 << 24;

std::vector<int> HeldKeys() {
  std::vector<int> held;
  for (int vk = 1; vk <= 255; ++vk) {
    if (KeyHeld(vk)) held.push_back(vk);
  }
  return held;
}

// The keys still held once the last releases had their time to arrive: a
// text is complete at its last press, its release may still be on its way.
std::vector<int> HeldKeysOnceReleased() {
  PumpUntil([] { return HeldKeys().empty(); }, 3000);
  return HeldKeys();
}

std::vector<WPARAM> KeysOf(UINT message) {
  std::vector<WPARAM> keys;
  for (const Seen& s : SeenOf(message)) keys.push_back(s.wParam);
  return keys;
}

// The key presses (+) and releases (-) seen, in order: "+A -A +B".
std::string KeySequence() {
  std::string sequence;
  for (const Seen& s : SeenMessages()) {
    if (s.message != WM_KEYDOWN && s.message != WM_KEYUP) continue;
    if (!sequence.empty()) sequence += ' ';
    sequence += s.message == WM_KEYDOWN ? '+' : '-';
    sequence += static_cast<char>(s.wParam);
  }
  return sequence;
}

// On its own thread, a low-level hook called before SnibbetCm's that sends
// the helper a new block at the first key it sees the helper type again, as
// a main program would whose next typing begins then.
class BlockAtFirstReplay {
 public:
  explicit BlockAtFirstReplay(HWND helper) : thread_([this, helper] { Run(helper); }) {
    while (!ready_) Sleep(1);
  }
  ~BlockAtFirstReplay() {
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    thread_.join();
  }
  bool Sent() const { return sent_; }

 private:
  static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam) {
    const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    if (code == HC_ACTION && key->dwExtraInfo == kHelperReplayMarker && !active_->sent_.exchange(true)) {
      DWORD_PTR result = 0;
      SendMessageTimeoutW(active_->helper_, WM_HELPER_BLOCK_INPUT, 0, 0, SMTO_NORMAL, 5000, &result);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  void Run(HWND helper) {
    helper_ = helper;
    active_ = this;
    threadId_ = GetCurrentThreadId();
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue, for WM_QUIT
    HHOOK hook = SetWindowsHookExW(WH_KEYBOARD_LL, Proc, GetModuleHandleW(nullptr), 0);
    ready_ = true;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    if (hook) UnhookWindowsHookEx(hook);
  }

  static inline BlockAtFirstReplay* active_ = nullptr;
  HWND helper_ = nullptr;
  DWORD threadId_ = 0;
  std::atomic<bool> ready_{false};
  std::atomic<bool> sent_{false};
  std::thread thread_;
};

class HelperKeyboardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(helper.Window(), nullptr) << "SnibbetCm.exe did not start, error " << helper.Process().StartError();
    ASSERT_TRUE(helper.Send(WM_HELPER_HOOKS_ON));
    ASSERT_TRUE(target.Activate());
    SeenMessages().clear();
  }

  bool TextBecomes(const std::wstring& text) {
    return PumpUntil([&] { return target.Text() == text; }, 3000);
  }
  bool KeyUpsReach(std::size_t count) {
    return PumpUntil([&] { return SeenOf(WM_KEYUP).size() + SeenOf(WM_SYSKEYUP).size() >= count; }, 3000);
  }
  // Presses `keys` physically (xdotool names) and waits until all presses arrived.
  void HoldPhysically(const std::string& keys, std::size_t count) {
    ASSERT_TRUE(Xdotool("keydown " + keys));
    ASSERT_TRUE(PumpUntil([&] { return SeenOf(WM_KEYDOWN).size() >= count; }, 3000));
    SeenMessages().clear();
  }

  HelperProcess helper;
  TargetWindow target;
};

TEST_F(HelperKeyboardTest, BlockHoldsBackPhysicalKeysLetsInjectedOnesThroughAndDeliversTheHeldBackAtUnblock) {
  ASSERT_TRUE(helper.Send(WM_HELPER_BLOCK_INPUT));
  ASSERT_TRUE(Xdotool("type abc"));
  PumpFor(300);
  InjectKey('X', false);
  InjectKey('X', true);
  EXPECT_TRUE(TextBecomes(L"x"));
  EXPECT_TRUE(KeyUpsReach(1)) << "X's release, not to be taken for a replayed one";
  EXPECT_EQ(KeysOf(WM_KEYDOWN), (std::vector<WPARAM>{'X'}));

  SeenMessages().clear();
  ASSERT_TRUE(helper.Send(WM_HELPER_UNBLOCK_INPUT));
  EXPECT_TRUE(TextBecomes(L"xabc"));
  EXPECT_TRUE(KeyUpsReach(3)) << "the text is complete before the last release arrives";
  PumpFor(100);
  EXPECT_EQ(KeySequence(), "+A -A +B -B +C -C") << "in the order typed, nothing twice";

  ASSERT_TRUE(Xdotool("type d"));
  EXPECT_TRUE(TextBecomes(L"xabcd")) << "typing works again after the block";
  EXPECT_EQ(HeldKeysOnceReleased(), std::vector<int>{});
}

TEST_F(HelperKeyboardTest, KeyHeldBeforeTheBlockIsReleasedAtUnblockWithItsExtendedFlag) {
  HoldPhysically("Right", 1);
  ASSERT_TRUE(helper.Send(WM_HELPER_BLOCK_INPUT));
  ASSERT_TRUE(Xdotool("keyup Right"));
  PumpFor(300);
  EXPECT_TRUE(SeenOf(WM_KEYUP).empty()) << "the release is held back during the block";
  EXPECT_TRUE(KeyHeld(VK_RIGHT));

  ASSERT_TRUE(helper.Send(WM_HELPER_UNBLOCK_INPUT));
  EXPECT_FALSE(KeyHeld(VK_RIGHT)) << "replayed before the unblock message returned";
  ASSERT_TRUE(KeyUpsReach(1));
  const auto ups = SeenOf(WM_KEYUP);
  ASSERT_EQ(ups.size(), 1u);
  EXPECT_EQ(ups[0].wParam, static_cast<WPARAM>(VK_RIGHT));
  EXPECT_NE(ups[0].lParam & kExtendedBit, 0);
  EXPECT_EQ(HeldKeysOnceReleased(), std::vector<int>{});
}

TEST_F(HelperKeyboardTest, SeveralReleasesReplayInTheOrderReleasedTenMillisecondsApart) {
  HoldPhysically("c a Home b", 4);
  ASSERT_TRUE(helper.Send(WM_HELPER_BLOCK_INPUT));
  ASSERT_TRUE(Xdotool("keyup b"));
  ASSERT_TRUE(Xdotool("keyup Home c a"));
  PumpFor(300);
  ASSERT_TRUE(helper.Send(WM_HELPER_UNBLOCK_INPUT));
  ASSERT_TRUE(KeyUpsReach(4));
  const auto ups = SeenOf(WM_KEYUP);
  EXPECT_EQ(KeysOf(WM_KEYUP), (std::vector<WPARAM>{'B', VK_HOME, 'C', 'A'}));
  for (std::size_t i = 1; i < ups.size(); ++i) EXPECT_GE(ups[i].time - ups[i - 1].time, 9u) << i;
  EXPECT_NE(ups[1].lParam & kExtendedBit, 0) << "Home from the navigation block is an extended key";
  EXPECT_EQ(ups[0].lParam & kExtendedBit, 0);
  EXPECT_EQ(HeldKeysOnceReleased(), std::vector<int>{});
}

TEST_F(HelperKeyboardTest, LettersTypedDuringTheBlockKeepTheShiftHeldFromBeforeIt) {
  HoldPhysically("shift", 1);
  ASSERT_TRUE(helper.Send(WM_HELPER_BLOCK_INPUT));
  ASSERT_TRUE(Xdotool("keydown c keyup c keydown d keyup d keyup shift"));
  PumpFor(300);
  EXPECT_EQ(target.Text(), L"");
  ASSERT_TRUE(helper.Send(WM_HELPER_UNBLOCK_INPUT));
  EXPECT_TRUE(TextBecomes(L"CD")) << "the letters came without Shift";
  EXPECT_EQ(HeldKeysOnceReleased(), std::vector<int>{});
}

TEST_F(HelperKeyboardTest, ABlockBegunWhileTheHeldBackKeysAreTypedAgainKeepsTheRestForItsEnd) {
  HoldPhysically("Right", 1);
  ASSERT_TRUE(helper.Send(WM_HELPER_BLOCK_INPUT));
  ASSERT_TRUE(Xdotool("keyup Right"));
  ASSERT_TRUE(Xdotool("type ab"));
  PumpFor(300);
  {
    BlockAtFirstReplay nextBlock(helper.Window());
    ASSERT_TRUE(helper.Send(WM_HELPER_UNBLOCK_INPUT));
    PumpFor(300);
    EXPECT_TRUE(nextBlock.Sent());
  }
  EXPECT_FALSE(KeyHeld(VK_RIGHT)) << "Right's release came before the new block";
  EXPECT_EQ(target.Text(), L"") << "keys of the user's typed while the new block is on";

  ASSERT_TRUE(helper.Send(WM_HELPER_UNBLOCK_INPUT));
  EXPECT_TRUE(TextBecomes(L"ab"));
  EXPECT_EQ(HeldKeysOnceReleased(), std::vector<int>{});
}

TEST_F(HelperKeyboardTest, HooksOffDuringABlockReplaysTheNotedReleases) {
  HoldPhysically("k", 1);
  ASSERT_TRUE(helper.Send(WM_HELPER_BLOCK_INPUT));
  ASSERT_TRUE(Xdotool("keyup k"));
  PumpFor(300);
  ASSERT_TRUE(KeyHeld('K'));

  ASSERT_TRUE(helper.Send(WM_HELPER_HOOKS_OFF));
  EXPECT_FALSE(KeyHeld('K'));
  EXPECT_TRUE(KeyUpsReach(1));
  EXPECT_EQ(KeysOf(WM_KEYUP), (std::vector<WPARAM>{'K'}));

  target.ClearText();
  ASSERT_TRUE(helper.Send(WM_HELPER_BLOCK_INPUT));
  ASSERT_TRUE(Xdotool("type z"));
  EXPECT_TRUE(TextBecomes(L"z")) << "with no keyboard hook left, even a block holds nothing back";
  ASSERT_TRUE(helper.Send(WM_HELPER_UNBLOCK_INPUT));
  EXPECT_EQ(HeldKeysOnceReleased(), std::vector<int>{});
}

TEST_F(HelperKeyboardTest, DestroyDuringABlockReplaysEndsWithExitCodeZeroAndLeavesTypingWorking) {
  HoldPhysically("End", 1);
  ASSERT_TRUE(helper.Send(WM_HELPER_BLOCK_INPUT));
  ASSERT_TRUE(Xdotool("keyup End"));
  PumpFor(300);
  ASSERT_TRUE(KeyHeld(VK_END));

  ASSERT_TRUE(helper.Send(WM_DESTROY));
  DWORD exitCode = 99;
  ASSERT_TRUE(helper.WaitForExit(5000, &exitCode));
  EXPECT_EQ(exitCode, 0u);
  EXPECT_FALSE(KeyHeld(VK_END));
  ASSERT_TRUE(KeyUpsReach(1));
  EXPECT_EQ(SeenOf(WM_KEYUP)[0].wParam, static_cast<WPARAM>(VK_END));
  EXPECT_NE(SeenOf(WM_KEYUP)[0].lParam & kExtendedBit, 0);

  target.ClearText();
  ASSERT_TRUE(Xdotool("type q"));
  EXPECT_TRUE(TextBecomes(L"q"));
  EXPECT_EQ(HeldKeysOnceReleased(), std::vector<int>{});
}

TEST_F(HelperKeyboardTest, KeysComeBackAtOnceWhenTheBlockingProgramDies) {
  auto peer = StartBlockingPeer(helper.Window(), true);
  ASSERT_NE(peer, nullptr);
  ASSERT_TRUE(Xdotool("type ab"));
  PumpFor(200);
  EXPECT_EQ(target.Text(), L"") << "held back while the peer lives";

  peer->Kill();
  const DWORD killed = GetTickCount();
  EXPECT_TRUE(TextBecomes(L"ab"));
  EXPECT_LT(GetTickCount() - killed, 500u) << "the keys typed during the block arrive";
  EXPECT_TRUE(KeyUpsReach(2)) << "the text is complete before the last release arrives";
  EXPECT_EQ(KeySequence(), "+A -A +B -B");

  ASSERT_TRUE(Xdotool("type c"));
  EXPECT_TRUE(TextBecomes(L"abc")) << "the block is over";
  EXPECT_EQ(HeldKeysOnceReleased(), std::vector<int>{});
}

}  // namespace
}  // namespace snibbet::helper_e2e
