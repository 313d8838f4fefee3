// Prints what the program's own keyboard hook costs and how soon the hotkey's
// action runs, with the real hook, key model and key history of Snibbet:
//  1. time of the hook's decisions per key event (5,000 events: letter
//     presses and releases, which the model and the history record), and of
//     the whole procedure with its CallNextHookEx;
//  2. one key event from SendInput until this thread's focused window gets
//     it, through the installed hook, against the same with a bare
//     pass-through hook, and the difference (what the hook adds);
//  3. hotkey to action: from SendInput of the Space press (left Win held) to
//     the start of the action from the executor's timer, over 200 presses.
// No SnibbetCm runs, so the action's block and unblock commands cost nothing.
// The keyboard window and its background window exist, hidden, as in the
// program, and the hook asks the window for its key hint on a modifier
// change; a Shift press would repaint every key of a shown one.
// Run inside a Wine session:
//   tools/wine-session wine build/windows/bench/hook_bench.exe
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench/bench_clock.h"
#include "core/foreground_state.h"
#include "keyboard/actions.h"
#include "keyboard/key_history.h"
#include "keyboard/key_model.h"
#include "keyboard/keyboard_background_form.h"
#include "keyboard/keyboard_runtime.h"
#include "keyboard/main_keyboard_form.h"
#include "keyboard/template_hotkey.h"
#include "tests/unit/input_records_support.h"

namespace {

using bench::Now;
using bench::Microseconds;

using namespace snibbet;

constexpr int kEvents = 5000;
constexpr int kHotkeyPresses = 200;



void Print(const char* what, std::vector<double> values, const char* unit = "us") {
  std::sort(values.begin(), values.end());
  const auto at = [&](double share) { return values[static_cast<size_t>(share * (values.size() - 1))]; };
  std::printf("%-58s median %9.2f %s   p99 %9.2f %s   (n=%zu)\n", what, at(0.5), unit, at(0.99), unit, values.size());
}

bool Send(WORD vk, bool up, bool extended = false) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
  return SendInput(1, &input, sizeof input) == 1;
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

LRESULT CALLBACK BareHook(int code, WPARAM wParam, LPARAM lParam) { return CallNextHookEx(nullptr, code, wParam, lParam); }

// Letters pressed and released in turn: each event changes the model and the history.
WORD LetterOf(int i) { return static_cast<WORD>('A' + (i / 2) % 26); }
bool g_shiftOnly = false;
WORD KeyOf(int i) { return g_shiftOnly ? static_cast<WORD>(VK_LSHIFT) : LetterOf(i); }

// The hook's own decisions (what the procedure does besides passing the
// event on, which every hook pays for), and the whole procedure.
std::vector<double> TimeInsideTheProcedure(KeyboardRuntime& runtime, bool wholeProcedure) {
  std::vector<double> times;
  for (int i = 0; i < kEvents; ++i) {
    KBDLLHOOKSTRUCT info{};
    info.vkCode = KeyOf(i);
    info.flags = (i % 2) ? LLKHF_UP : 0;
    info.time = GetTickCount();
    const WPARAM message = (i % 2) ? WM_KEYUP : WM_KEYDOWN;
    const KeyEvent event{static_cast<unsigned>(message), info.vkCode, info.flags, info.time, 0};
    const LONGLONG start = Now();
    if (wholeProcedure) {
      MainKeyboardHookProc(HC_ACTION, message, reinterpret_cast<LPARAM>(&info));
    } else {
      runtime.Hook().OnKeyEvent(HC_ACTION, event);
    }
    times.push_back(Microseconds(Now() - start));
  }
  return times;
}

// From SendInput until the focused window of this thread retrieves the
// event: the low-level hooks run on the way (on this thread, as it waits).
void TimeDelivery(HWND window, int events, std::vector<double>& times) {
  for (int i = 0; i < events; ++i) {
    const bool up = i % 2 != 0;
    const LONGLONG start = Now();
    Send(LetterOf(i), up);
    const DWORD deadline = GetTickCount() + 1000;
    for (bool arrived = false; !arrived && GetTickCount() < deadline;) {
      MSG msg;
      if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
        continue;
      }
      arrived = msg.hwnd == window && msg.message == (up ? WM_KEYUP : WM_KEYDOWN);
      DispatchMessageW(&msg);
    }
    times.push_back(Microseconds(Now() - start));
  }
}

HWND MakeFocusedWindow() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"HookBenchWindow";
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(0, wc.lpszClassName, L"hook bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 200,
                                100, nullptr, nullptr, wc.hInstance, nullptr);
  SetForegroundWindow(window);
  SetFocus(window);
  Pump();
  return window;
}

// The moment the hotkey's action opened the pop-up.
class TimedWindows : public ProgramWindowsPort {
 public:
  void ShowTemplateView() override { shown = Now(); }
  bool BringTemplateEditorToFront() override { return false; }
  void QueuePopupKey(std::uint8_t) override {}
  void ToggleKeyboardWindow() override {}

  LONGLONG shown = 0;
};

TimedWindows g_windows;

std::vector<double> TimeHotkeyToAction() {
  LONGLONG& shown = g_windows.shown;
  std::vector<double> times;
  for (int i = 0; i < kHotkeyPresses; ++i) {
    shown = 0;
    Send(VK_LWIN, false, true);
    const LONGLONG pressed = Now();
    Send(VK_SPACE, false);
    const DWORD deadline = GetTickCount() + 1000;
    while (!shown && GetTickCount() < deadline) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
      Pump();
    }
    Send(VK_SPACE, true);
    Send(VK_LWIN, true, true);
    Pump();
    if (shown) times.push_back(Microseconds(shown - pressed) / 1000.0);
  }
  return times;
}

}  // namespace

int wmain() {
  testing::ProgramKeyboardRuntime runtime(g_windows);
  runtime.LoadLayout(L"Standard");
  KeyboardAppearance appearance;
  NoKeyboardWindowPort port;
  TMainKeyboardForm keyboardWindow(
      KeyboardWindowParts{.model = runtime.Model(), .bindings = QvActions(), .appearance = appearance, .port = port});
  keyboardWindow.Create();
  TMainKeyboardBackgroundForm keyboardBackground(keyboardWindow, appearance, port, Foreground());
  keyboardBackground.Create();
  PrepareKeyboardWindowsHidden(keyboardWindow);
  // As in the program: a modifier change asks the hidden window for its key hint.
  runtime.OnModifierChanged([&keyboardWindow] { keyboardWindow.UpdateHint(); });
  BindTemplateHotkeyFromSetting(QvActions(), 0x8020);
  InstallKeyboardHook();
  if (!runtime.HookHandle()) {
    std::printf("the hook could not be installed\n");
    return 1;
  }
  std::printf("Keyboard hook of the program (model %s, %d keys, layout \"%ls\")\n",
              runtime.Model().Active() ? "active" : "off", [&] {
                int keys = 0;
                for (int code = 1; code <= 255; ++code) keys += runtime.Model().Button(code) != nullptr;
                return keys;
              }(), runtime.Model().LayoutName().c_str());
  Print("1. the hook's decisions per event", TimeInsideTheProcedure(runtime, false));
  std::printf("   key history after them: %d records\n", KeyHistory().Count());
  g_shiftOnly = true;
  Print("   the same for left Shift (hidden keyboard window)", TimeInsideTheProcedure(runtime, false));
  g_shiftOnly = false;
  Print("   the whole procedure, CallNextHookEx included", TimeInsideTheProcedure(runtime, true));
  HWND window = MakeFocusedWindow();
  // Rounds in turn, so that a busy machine weighs on both alike.
  std::vector<double> withHook, withBare;
  for (int round = 0; round < 10; ++round) {
    TimeDelivery(window, kEvents / 10, withHook);
    RemoveKeyboardHook();
    HHOOK bare = SetWindowsHookExW(WH_KEYBOARD_LL, BareHook, GetModuleHandleW(nullptr), 0);
    TimeDelivery(window, kEvents / 10, withBare);
    UnhookWindowsHookEx(bare);
    InstallKeyboardHook();
  }
  RemoveKeyboardHook();
  Print("2. SendInput to delivery, through the program's hook", withHook);
  Print("   the same through a bare pass-through hook", withBare);
  std::vector<double> sortedHook = withHook, sortedBare = withBare;
  std::sort(sortedHook.begin(), sortedHook.end());
  std::sort(sortedBare.begin(), sortedBare.end());
  std::printf("   added by the program's hook: median %.2f us\n",
              sortedHook[sortedHook.size() / 2] - sortedBare[sortedBare.size() / 2]);

  InstallKeyboardHook();
  Print("3. hotkey (Space press) to the action's start", TimeHotkeyToAction(), "ms");
  RemoveKeyboardHook();
  runtime.OnModifierChanged(nullptr);
  return 0;
}
