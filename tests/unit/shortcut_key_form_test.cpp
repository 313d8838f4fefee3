// The hotkey capture dialog with keys from the system's input: made with
// SendInput as a user's keys arrive (no marker of ours), they pass the
// dialog's own low-level hook while the capture field has the focus.
#include <functional>
#include <vector>

#include "dialogs/shortcut_key_form.h"
#include "helper/helper_protocol.h"
#include "keyboard/actions.h"
#include "keyboard/key_model.h"
#include "keyboard/keyboard_appearance.h"
#include "keyboard/keyboard_runtime.h"
#include "keyboard/main_keyboard_form.h"
#include "keyboard/template_hotkey.h"
#include "tests/unit/ui_test_support.h"
#include "tests/unit/input_records_support.h"
#include "ui/handles.h"
#include "ui/timer.h"

namespace snibbet {
namespace {

std::vector<DWORD> g_reachedSystem;

// Installed first, so called last: it sees what every other hook let
// through, and swallows it so that no real window of the session gets it.
LRESULT CALLBACK SpyHook(int nCode, WPARAM wParam, LPARAM lParam) {
  if (nCode == HC_ACTION) {
    const auto& info = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    if (info.dwExtraInfo != kSnibbetInputMarker) g_reachedSystem.push_back(info.vkCode);
    return 1;
  }
  return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

bool Send(int vk, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = static_cast<WORD>(vk);
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return SendInput(1, &input, sizeof input) == 1;
}

class CountingWindows : public ProgramWindowsPort {
 public:
  void ShowTemplateView() override { ++shows; }
  bool BringTemplateEditorToFront() override { return false; }
  void QueuePopupKey(std::uint8_t) override {}
  void ToggleKeyboardWindow() override {}
  int shows = 0;
};

class ShortKeyForm : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    g_reachedSystem.clear();
    spy_ = ui::HookHandle(SetWindowsHookExW(WH_KEYBOARD_LL, SpyHook, GetModuleHandleW(nullptr), 0));
    ASSERT_TRUE(spy_);
    runtime_.LoadLayout(L"Standard");
    // The template hotkey on the very keys captured: it must not fire.
    BindTemplateHotkeyFromSetting(QvActions(), 0x6054);
    InstallKeyboardHook();
  }
  void TearDown() override {
    RemoveKeyboardHook();
    QvActions().Clear();
    spy_ = ui::HookHandle();
    UiTest::TearDown();
  }

  // Runs the dialog; `script` is called every 20 ms from its modal loop with
  // the dialog, once it captures, until it returns true. The dialog is
  // cancelled if the script has not ended within five seconds.
  bool Run(std::uint8_t& key, ControlSet& set, std::function<bool(TGetShortKeyForm&)> script) {
    int ticks = 0;
    ui::Timer driver(20, [&] {
      TGetShortKeyForm* form = GetShortKeyForm();
      if (!form) return;
      if (++ticks > 250) {
        ADD_FAILURE() << "the script did not end";
        form->Close();
      } else if (scriptStarted_ || form->CaptureHookInstalled()) {
        scriptStarted_ = true;
        if (script(*form)) driver.Stop();
      }
    });
    driver.Start();
    return QueryShortcutKey(&runtime_.Model(), QvActions(), keyboardWindow_, key, set);
  }

  void ExpectNoKeyDown() {
    for (int code = 1; code < 256; ++code) {
      EXPECT_FALSE(GetAsyncKeyState(code) & 0x8000) << "key " << code << " left down";
    }
  }

  CountingWindows windows_;
  testing::ProgramKeyboardRuntime runtime_{windows_};
  TMainKeyboardForm* keyboardWindow_ = nullptr;
  ui::HookHandle spy_;
  bool scriptStarted_ = false;
};

TEST_F(ShortKeyForm, CtrlAltTIsCapturedAndConfirmedWithNothingLeftDown) {
  std::uint8_t key = 0x20;
  ControlSet set = 0x80;
  int step = 0;
  std::wstring oldText, shown;
  const bool confirmed = Run(key, set, [&](TGetShortKeyForm& form) {
    switch (step++) {
      case 0:
        oldText = form.edtOldShortCut.Text();
        for (int vk : {VK_LCONTROL, VK_LMENU, int{'T'}}) EXPECT_TRUE(Send(vk, false));
        for (int vk : {int{'T'}, VK_LMENU, VK_LCONTROL}) EXPECT_TRUE(Send(vk, true));
        return false;
      default:
        if (form.Key() != 'T' && step < 100) return false;  // the events still on their way
        shown = form.edtNewShortCut.Text();
        form.btnOk.Click();
        return true;
    }
  });
  ASSERT_TRUE(confirmed);
  EXPECT_EQ(key, 'T');
  EXPECT_EQ(set, kLeftCtrlBit | kLeftAltBit);
  EXPECT_NE(oldText.find(L"Space"), std::wstring::npos) << "the current hotkey is not shown";
  EXPECT_NE(shown.find(L"T"), std::wstring::npos);
  EXPECT_NE(shown.find(L"Ctrl"), std::wstring::npos);
  PumpFor(100);
  EXPECT_TRUE(g_reachedSystem.empty()) << g_reachedSystem.size() << " key events got past the capture";
  EXPECT_EQ(windows_.shows, 0) << "the template hotkey fired during the capture";
  EXPECT_EQ(GetShortKeyForm(), nullptr);
  ExpectNoKeyDown();
  // The program's own hook has the keyboard again.
  EXPECT_TRUE(runtime_.Model().Active());
  EXPECT_EQ(runtime_.Model().PressedCount(), 0);
}

TEST_F(ShortKeyForm, ALoneTabEndsTheCaptureAndCancelKeepsTheHotkey) {
  std::uint8_t key = 0x20;
  ControlSet set = 0x80;
  int step = 0;
  bool captureEnded = false;
  const bool confirmed = Run(key, set, [&](TGetShortKeyForm& form) {
    switch (step++) {
      case 0:
        EXPECT_TRUE(Send('K', false));
        EXPECT_TRUE(Send('K', true));
        EXPECT_TRUE(Send(VK_TAB, false));
        EXPECT_TRUE(Send(VK_TAB, true));
        return false;
      default:
        if (form.CaptureHookInstalled() && step < 100) return false;
        captureEnded = !form.CaptureHookInstalled() && GetFocus() == form.btnOk.Handle();
        EXPECT_EQ(form.Key(), 'K');
        form.btnCancel.Click();
        return true;
    }
  });
  EXPECT_FALSE(confirmed);
  EXPECT_TRUE(captureEnded) << "Tab did not move the focus to OK";
  EXPECT_EQ(key, 0x20);
  EXPECT_EQ(set, 0x80);
  PumpFor(100);
  ExpectNoKeyDown();
}

TEST_F(ShortKeyForm, TheKeyboardWindowIsHiddenWhileTheDialogRunsAndComesBackOnlyIfItShowed) {
  KeyboardAppearance appearance;
  NoKeyboardWindowPort port;
  TMainKeyboardForm& keyboard = App().CreateForm<TMainKeyboardForm>(KeyboardWindowParts{
      .model = runtime_.Model(), .bindings = QvActions(), .appearance = appearance, .port = port});
  keyboardWindow_ = &keyboard;
  keyboard.ShowNoActivate();
  std::uint8_t key = 0x20;
  ControlSet set = 0x80;
  bool shownDuring = true;
  EXPECT_FALSE(Run(key, set, [&](TGetShortKeyForm& form) {
    shownDuring = keyboard.IsVisible();
    form.btnCancel.Click();
    return true;
  }));
  EXPECT_FALSE(shownDuring) << "the keyboard window showed beside the dialog";
  EXPECT_TRUE(keyboard.IsVisible()) << "the keyboard window did not come back";

  keyboard.Hide();
  EXPECT_FALSE(Run(key, set, [&](TGetShortKeyForm& form) {
    form.btnCancel.Click();
    return true;
  }));
  EXPECT_FALSE(keyboard.IsVisible()) << "a hidden keyboard window was shown";
}

TEST_F(ShortKeyForm, LosingTheApplicationsActivationClosesTheDialog) {
  std::uint8_t key = 0x20;
  ControlSet set = 0x80;
  const bool confirmed = Run(key, set, [&](TGetShortKeyForm& form) {
    EXPECT_TRUE(Send(VK_LSHIFT, false));
    CloseShortKeyForm();
    return true;
  });
  EXPECT_FALSE(confirmed);
  EXPECT_EQ(GetShortKeyForm(), nullptr);
  // The Shift key-up after the capture ended reaches the system as usual.
  EXPECT_TRUE(Send(VK_LSHIFT, true));
  PumpFor(100);
  ExpectNoKeyDown();
}

}  // namespace
}  // namespace snibbet
