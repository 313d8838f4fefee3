// The key model under real key events: xdotool types into ProbeTarget's edit
// while a low-level hook of this test feeds the model and the key history as
// the program's own hook does. Model, history and own input all live on the
// hook's thread, as they live on the program's GUI thread. Types physically:
// runs under the "x_input" lock.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "core/preset.h"
#include "core/synthetic_input.h"
#include "keyboard/actions.h"
#include "keyboard/key_history.h"
#include "keyboard/key_model.h"
#include "keyboard/keyboard_setting_effects.h"
#include "keyboard/system_keyboard.h"
#include "testing/probe/harness.h"
#include "testing/probe/probe.h"

namespace snibbet {
namespace {

using namespace probe;

constexpr wchar_t kBreaks[] = L" `~#?\"'";

// Settings that are never stored: the test binds through the real setter.
class MemoryStore : public SettingsStore {
 public:
  bool ReadBoolDef(const std::wstring&, bool def) override { return def; }
  std::int32_t ReadIntegerDef(const std::wstring&, std::int32_t def) override { return def; }
  std::wstring ReadStringDef(const std::wstring&, const std::wstring& def) override { return def; }
  void WriteString(const std::wstring&, const std::wstring&) override {}
  void WriteInteger(const std::wstring&, std::int32_t) override {}
  void WriteBool(const std::wstring&, bool) override {}
  bool DeleteValue(const std::wstring&) override { return false; }
  bool ValueExists(const std::wstring&) override { return false; }
};

// A thread with the model, its hook and a window to run work on.
class ModelThread {
 public:
  ModelThread() : thread_([this] { Main(); }) {
    std::unique_lock lock(mutex_);
    ready_.wait(lock, [this] { return window_ != nullptr || failed_; });
  }
  ~ModelThread() {
    if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
    thread_.join();
  }
  ModelThread(const ModelThread&) = delete;
  ModelThread& operator=(const ModelThread&) = delete;

  bool Ready() const { return window_ != nullptr && hook_ != nullptr; }

  // Runs `work` on the model's thread and waits for it.
  void Run(const std::function<void(TQvKeyboard&)>& work) {
    std::function<void()> call = [&] { work(*model_); };
    SendMessageW(window_, WM_APP, 0, reinterpret_cast<LPARAM>(&call));
  }
  template <class T>
  T Read(const std::function<T(TQvKeyboard&)>& read) {
    T value{};
    Run([&](TQvKeyboard& model) { value = read(model); });
    return value;
  }
  bool Pressed(int code) { return Read<bool>([code](TQvKeyboard& m) { return m.IsKeyPressed(code); }); }
  bool WaitPressed(int code, bool pressed) {
    return WaitUntil([&] { return Pressed(code) == pressed; }, 3s);
  }

  // Whether the template hotkey was found at each Space press, in order.
  std::vector<bool> HotkeyFinds() {
    std::lock_guard lock(mutex_);
    return finds_;
  }

 private:
  static LRESULT CALLBACK HookProc(int code, WPARAM message, LPARAM data) {
    if (code == HC_ACTION && current_) current_->Feed(message, *reinterpret_cast<KBDLLHOOKSTRUCT*>(data));
    return CallNextHookEx(nullptr, code, message, data);
  }
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) {
      (*reinterpret_cast<std::function<void()>*>(lParam))();
      return 0;
    }
    if (message == WM_CLOSE) {
      DestroyWindow(window);
      PostQuitMessage(0);
      return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }

  // What the program's hook does with an event: the model follows, the history records.
  void Feed(WPARAM message, const KBDLLHOOKSTRUCT& event) {
    const bool up = message == WM_KEYUP || message == WM_SYSKEYUP;
    const bool extended = (event.flags & LLKHF_EXTENDED) != 0;
    const int code = KeypadCodeOfEvent(static_cast<int>(event.vkCode & 0xFF), extended);
    TQvBtn* key = model_->Button(code);
    if (!key) return;
    key->SetExtended(extended);
    if (key->Pressed() == !up) return;  // a repeat, or a release of what is not held
    key->SetPressed(!up);
    KeyHistory().Record(*model_, code, up, message == WM_SYSKEYUP);
    if (!up && code == kVkSpace) {
      const bool found = QvActions().Find(32, model_->GetControlSet(), model_->SideLessSet()) != nullptr;
      std::lock_guard lock(mutex_);
      finds_.push_back(found);
    }
  }

  void Main() {
    SystemKeyboardLayouts layouts;
    SystemKeyInput input;
    CharTableCache tables;
    TQvKeyboard model(layouts, input, &tables);
    model.ApplyLayout(*ParseKeyboardLayout(BuiltInKeyboardLayout()).layout, L"Standard");
    model.SetActive(true);
    model_ = &model;
    ResetKeyHistory();

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"KeyModelTestThread";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  windowClass.hInstance, nullptr);
    current_ = this;
    hook_ = SetWindowsHookExW(WH_KEYBOARD_LL, HookProc, GetModuleHandleW(nullptr), 0);
    {
      std::lock_guard lock(mutex_);
      window_ = window;
      failed_ = window == nullptr;
    }
    ready_.notify_all();
    MSG msg;
    while (window && GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    if (hook_) UnhookWindowsHookEx(hook_);
    current_ = nullptr;
    model_ = nullptr;
  }

  static inline ModelThread* current_ = nullptr;
  std::mutex mutex_;
  std::condition_variable ready_;
  std::atomic<HWND> window_ = nullptr;
  std::atomic<HHOOK> hook_ = nullptr;
  bool failed_ = false;
  TQvKeyboard* model_ = nullptr;
  std::vector<bool> finds_;
  std::thread thread_;
};

class ModelUnderRealKeys : public EndToEndTest {
 protected:
  void SetUp() override {
    if (!XdotoolAvailable()) GTEST_SKIP() << "needs Wine and xdotool";
    const std::wstring title = L"Key model " + std::to_wstring(GetCurrentProcessId());
    Start(TestDir() + L"ProbeTarget.exe", {L"edit", title}, AtEnd::MustRun);
    WindowQuery query;
    query.className = L"ProbeTargetWindow";
    query.title = title;
    query.visibleOnly = true;
    HWND window = WaitForWindow(query, 10s);
    ASSERT_NE(window, nullptr);
    edit_ = GetWindow(window, GW_CHILD);
    ASSERT_NE(edit_, nullptr);
    model_ = std::make_unique<ModelThread>();
    ASSERT_TRUE(model_->Ready());
    PhysicalFocus(edit_);
  }
  void TearDown() override {
    for (const char* key : {"Shift_L", "Shift_R", "Control_L", "Control_R", "Alt_L", "Alt_R", "Super_L", "Super_R"}) {
      try {
        PhysicalKeyUp(key);
      } catch (const std::exception&) {
      }
    }
    model_.reset();
    EndToEndTest::TearDown();
  }

  bool EditShows(const std::wstring& text) {
    return WaitUntil([&] { return WindowText(edit_) == text; }, 5s);
  }
  // The word the template pop-up would be filled with now.
  std::wstring TypedWord() {
    return model_->Read<std::wstring>(
        [](TQvKeyboard& model) { return RebuildTypedWord(KeyHistory(), model, kBreaks); });
  }
  int TypedChars() {
    return model_->Read<int>([](TQvKeyboard&) { return KeyHistory().TypedChars(); });
  }
  // Every key the system holds down, by code (mouse buttons left out).
  static std::vector<int> KeysDown() {
    std::vector<int> down;
    for (int code = 8; code <= 255; ++code) {
      if (GetAsyncKeyState(code) & 0x8000) down.push_back(code);
    }
    return down;
  }

  HWND edit_ = nullptr;
  std::unique_ptr<ModelThread> model_;
};

TEST_F(ModelUnderRealKeys, HistoryRebuildsTheWordAfterABackspace) {
  PhysicalType("hel");
  PhysicalKeys({"BackSpace"});
  PhysicalType("lo");
  ASSERT_TRUE(EditShows(L"helo")) << ToUtf8(WindowText(edit_));
  ASSERT_TRUE(model_->WaitPressed('O', false));
  EXPECT_EQ(TypedWord(), L"helo");
  EXPECT_EQ(TypedChars(), 4);
}

TEST_F(ModelUnderRealKeys, HistoryKeepsTheCaseTheWordWasTypedIn) {
  PhysicalType("Hel");  // xdotool holds Shift for the H
  PhysicalKeys({"BackSpace"});
  PhysicalType("lo ");
  PhysicalKeyDown("Shift_L");
  PhysicalKeys({"w", "o"});
  PhysicalKeyUp("Shift_L");
  PhysicalKeys({"r", "d"});
  ASSERT_TRUE(EditShows(L"Helo WOrd")) << ToUtf8(WindowText(edit_));
  ASSERT_TRUE(model_->WaitPressed('D', false));
  EXPECT_EQ(TypedWord(), L"WOrd");  // the blank ends the word
}

// xdotool presses a right-side modifier together with the left one of its
// modifier group (it "sets the modifier" first); releasing the left one
// leaves the right one held alone.
TEST_F(ModelUnderRealKeys, ModifierSetsFollowEveryModifierOnBothSides) {
  struct Modifier {
    const char* left;
    const char* right;
    int leftCode, rightCode;
    ControlSet leftBit, rightBit, sideLess;
  };
  const Modifier modifiers[] = {
      {"Shift_L", "Shift_R", 160, 161, 0x10, 0x01, 0x10},
      {"Control_L", "Control_R", 162, 163, 0x20, 0x02, 0x20},
      {"Super_L", "Super_R", 91, 92, 0x80, 0x08, 0x80},
      {"Alt_L", "Alt_R", 164, 165, 0x40, 0x04, 0x40},
  };
  const auto sets = [this] {
    return model_->Read<std::pair<ControlSet, ControlSet>>(
        [](TQvKeyboard& k) { return std::make_pair(k.GetControlSet(), k.SideLessSet()); });
  };
  using Sets = std::pair<ControlSet, ControlSet>;
  for (const Modifier& m : modifiers) {
    PhysicalKeyDown(m.left);
    ASSERT_TRUE(model_->WaitPressed(m.leftCode, true)) << m.left;
    EXPECT_EQ(sets(), Sets(m.leftBit, m.sideLess)) << m.left;
    PhysicalKeyUp(m.left);
    ASSERT_TRUE(model_->WaitPressed(m.leftCode, false)) << m.left;
    EXPECT_EQ(sets(), Sets(0, 0)) << m.left;

    PhysicalKeyDown(m.right);
    ASSERT_TRUE(model_->WaitPressed(m.rightCode, true)) << m.right;
    EXPECT_EQ(sets(), Sets(m.leftBit | m.rightBit, m.sideLess)) << m.right;
    PhysicalKeyUp(m.left);
    ASSERT_TRUE(model_->WaitPressed(m.leftCode, false)) << m.right;
    EXPECT_EQ(sets(), Sets(m.rightBit, m.sideLess)) << m.right;  // the right side alone
    PhysicalKeyUp(m.right);
    ASSERT_TRUE(model_->WaitPressed(m.rightCode, false)) << m.right;
    EXPECT_EQ(sets(), Sets(0, 0)) << m.right;
  }
  // Two modifiers, one per side.
  PhysicalKeyDown("Control_R");
  PhysicalKeyUp("Control_L");
  PhysicalKeyDown("Shift_L");
  ASSERT_TRUE(model_->WaitPressed(160, true));
  EXPECT_EQ(sets(), Sets(0x12, 0x30));
  PhysicalKeyUp("Shift_L");
  PhysicalKeyUp("Control_R");
  ASSERT_TRUE(model_->WaitPressed(163, false));
}

TEST_F(ModelUnderRealKeys, TemplateHotkeyIsFoundForEitherWinKeyWithSpaceOnly) {
  MemoryStore store;
  BindingListSettingEffects bindingEffects(QvActions());  // the binding list is the program's
  TPreset preset(store, {.bindings = &bindingEffects});
  model_->Run([&](TQvKeyboard&) { preset.SetSCShowTemplates(32800); });
  PhysicalChord({"Super_L", "space"});
  PhysicalKeyDown("Super_R");  // with Super_L, which goes up before Space
  PhysicalKeyUp("Super_L");
  ASSERT_TRUE(model_->WaitPressed(91, false));
  PhysicalKeys({"space"});
  PhysicalKeyUp("Super_R");
  PhysicalChord({"Control_L", "space"});
  PhysicalKeys({"space"});
  PhysicalChord({"Shift_L", "Super_L", "space"});
  ASSERT_TRUE(WaitUntil([&] { return model_->HotkeyFinds().size() >= 5; }, 3s));
  EXPECT_EQ(model_->HotkeyFinds(), (std::vector<bool>{true, true, false, false, false}));
  model_->Run([](TQvKeyboard&) { QvActions().Clear(); });
}

TEST_F(ModelUnderRealKeys, OwnInputLeavesNoKeyHeldAndGivesTheUsersShiftBack) {
  PhysicalKeyDown("Shift_L");
  ASSERT_TRUE(model_->WaitPressed(160, true));
  model_->Run([&](TQvKeyboard& model) {
    model.BeginOwnInput();
    SendKeyPress('O', false);
    SendKeyPress('K', false);
  });
  ASSERT_TRUE(EditShows(L"ok")) << ToUtf8(WindowText(edit_));  // typed without the user's Shift
  EXPECT_EQ(KeysDown(), std::vector<int>{});
  EXPECT_FALSE(model_->Pressed(160));
  model_->Run([](TQvKeyboard& model) { model.EndOwnInput(); });
  EXPECT_TRUE(WaitUntil([] { return (GetAsyncKeyState(VK_LSHIFT) & 0x8000) != 0; }, 2s));
  EXPECT_TRUE(model_->WaitPressed(160, true));
  EXPECT_EQ(KeysDown(), (std::vector<int>{VK_SHIFT, VK_LSHIFT}));
  PhysicalKeyUp("Shift_L");
  EXPECT_TRUE(WaitUntil([] { return KeysDown().empty(); }, 2s)) << KeysDown().size();
  EXPECT_TRUE(model_->WaitPressed(160, false));
}

}  // namespace
}  // namespace snibbet
