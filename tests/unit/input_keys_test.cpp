#include "core/synthetic_input.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "core/clipboard_access.h"
#include "helper/helper_protocol.h"
#include "tests/unit/input_test_window.h"

namespace snibbet {
namespace {

using testing::EditWindow;
using testing::Settle;

// One window for the suite: under Wine, closing the window in front takes seconds.
template <const wchar_t* ControlClass>
class TypingTarget : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { window_ = new EditWindow(ControlClass); }
  static void TearDownTestSuite() { delete window_; }
  void SetUp() override {
    window_->SetText(L"");
    window_->Activate();
  }
  EditWindow& window = *window_;

 private:
  static inline EditWindow* window_ = nullptr;
};

constexpr wchar_t kEditClass[] = L"EDIT";
constexpr wchar_t kRichEditClass[] = L"RichEdit20W";
using SyntheticInput = TypingTarget<kEditClass>;
// The same typing into a RichEdit, the other kind of target the paste serves.
using SyntheticInputRichEdit = TypingTarget<kRichEditClass>;

bool AnyKeyHeld() {
  for (int vk = 1; vk < 256; ++vk) {
    if (vk == VK_NUMLOCK || vk == VK_CAPITAL || vk == VK_SCROLL) continue;
    if (GetAsyncKeyState(vk) & 0x8000) return true;
  }
  return false;
}

void TypeWord(const char* upper) {
  for (const char* c = upper; *c; ++c) SendKeyPress(static_cast<BYTE>(*c), false);
}

TEST_F(SyntheticInput, KeyPressesTypeIntoTheFocusedEdit) {
  TypeWord("HELLO");
  SendKey(VK_SHIFT, false, false);
  SendKeyPress('1', false);
  SendKey(VK_SHIFT, true, false);
  Settle();
  EXPECT_EQ(window.Text(), L"hello!");
  SendKeyPress(VK_BACK, false);
  SendKeyPress(VK_LEFT, true);
  SendKeyPress('X', false);
  Settle();
  EXPECT_EQ(window.Text(), L"hellxo");
  EXPECT_FALSE(AnyKeyHeld());
}

TEST_F(SyntheticInput, CtrlChordsCutCopyPasteAndUndo) {
  window.SetText(L"alpha beta");
  SendMessageW(window.Edit(), EM_SETSEL, 0, 5);
  ASSERT_TRUE(SendCtrlC());
  Settle();
  EXPECT_EQ(GetClipboardTextW(), L"alpha");

  SendMessageW(window.Edit(), EM_SETSEL, 5, 10);
  ASSERT_TRUE(SendCtrlX());
  Settle();
  EXPECT_EQ(window.Text(), L"alpha");
  EXPECT_EQ(GetClipboardTextW(), L" beta");

  ASSERT_TRUE(SendCtrlZ());
  Settle();
  EXPECT_EQ(window.Text(), L"alpha beta");

  ASSERT_TRUE(PutClipboardText(L"pasted"));
  SendMessageW(window.Edit(), EM_SETSEL, 10, 10);
  ASSERT_TRUE(SendCtrlV());
  Settle();
  EXPECT_EQ(window.Text(), L"alpha betapasted");
  EXPECT_FALSE(AnyKeyHeld());
}

TEST_F(SyntheticInputRichEdit, KeysAndChordsWorkAsInAnEdit) {
  TypeWord("RICH");
  SendKey(VK_SHIFT, false, false);
  SendKeyPress('T', false);
  SendKey(VK_SHIFT, true, false);
  Settle();
  EXPECT_EQ(window.Text(), L"richT");

  SendMessageW(window.Edit(), EM_SETSEL, 0, 4);
  ASSERT_TRUE(SendCtrlC());
  Settle();
  EXPECT_EQ(GetClipboardTextW(), L"rich");
  ASSERT_TRUE(PutClipboardText(L"+"));
  SendMessageW(window.Edit(), EM_SETSEL, 5, 5);
  ASSERT_TRUE(SendCtrlV());
  Settle();
  EXPECT_EQ(window.Text(), L"richT+");
  EXPECT_FALSE(AnyKeyHeld());
}

TEST_F(SyntheticInput, EscReleaseLeavesNothingHeld) {
  SendKey(VK_ESCAPE, false, false);
  ReleaseEscKey();
  Settle();
  EXPECT_FALSE(GetAsyncKeyState(VK_ESCAPE) & 0x8000);
}

// What a low-level hook sees of the program's own key events.
struct SeenKey {
  DWORD vk, scanCode, flags;
  ULONG_PTR extraInfo;
};
std::vector<SeenKey>* g_seen = nullptr;

LRESULT CALLBACK RecordingHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && g_seen) {
    const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    g_seen->push_back({event->vkCode, event->scanCode, event->flags, event->dwExtraInfo});
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(SyntheticInput, ExtendedKeyPressIsOneDownAndOneUpRecord) {
  std::vector<SeenKey> seen;
  g_seen = &seen;
  HHOOK hook = SetWindowsHookExW(WH_KEYBOARD_LL, RecordingHook, GetModuleHandleW(nullptr), 0);
  ASSERT_NE(hook, nullptr);
  ASSERT_TRUE(SendKeyPress(VK_NUMLOCK, true));
  Settle();
  SendKeyPress(VK_NUMLOCK, true);  // toggle back
  Settle();
  UnhookWindowsHookEx(hook);
  g_seen = nullptr;

  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(seen[0].vk, DWORD(VK_NUMLOCK));
  EXPECT_EQ(seen[0].flags & (LLKHF_EXTENDED | LLKHF_UP), DWORD(LLKHF_EXTENDED));
  EXPECT_EQ(seen[1].flags & (LLKHF_EXTENDED | LLKHF_UP), DWORD(LLKHF_EXTENDED | LLKHF_UP));
  EXPECT_TRUE(seen[0].flags & LLKHF_INJECTED);
  EXPECT_EQ(seen[0].scanCode, MapVirtualKeyW(VK_NUMLOCK, MAPVK_VK_TO_VSC));
  EXPECT_EQ(seen[0].extraInfo, snibbet::kSnibbetInputMarker) << "the hooks tell our keys by it";
}

class KeyToCharTest : public ::testing::Test {
 protected:
  std::array<BYTE, 256> state{};
  HKL layout = LoadKeyboardLayoutW(L"00000409", 0);
};

TEST_F(KeyToCharTest, LettersDigitsAndShift) {
  EXPECT_EQ(KeyToChar('A', state, layout), L'a');
  EXPECT_EQ(KeyToChar('Z', state, layout), L'z');
  EXPECT_EQ(KeyToChar('7', state, layout), L'7');
  EXPECT_EQ(KeyToUnicodeString('Q', state, layout), L"q");
  state[VK_SHIFT] = 0x80;
  EXPECT_EQ(KeyToChar('A', state, layout), L'A');
  EXPECT_EQ(KeyToChar('1', state, layout), L'!');
  EXPECT_EQ(KeyToChar(VK_OEM_1, state, layout), L':');
}

TEST_F(KeyToCharTest, KeysWithoutPrintableCharacterGiveBlankOrEmpty) {
  for (UINT vk : {UINT(VK_F1), UINT(VK_RETURN), UINT(VK_TAB), UINT(VK_SPACE), UINT(VK_LEFT), UINT(VK_SHIFT)}) {
    EXPECT_EQ(KeyToChar(vk, state, layout), L' ') << vk;
    EXPECT_EQ(KeyToUnicodeString(vk, state, layout), L"") << vk;
  }
}

}  // namespace
}  // namespace snibbet
