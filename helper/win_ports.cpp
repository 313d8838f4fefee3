#include "helper/win_ports.h"

#include <vector>

#include "helper/helper_protocol.h"

namespace snibbet::helper {
namespace {

InputHelper* g_activeHelper = nullptr;

KeyEvent ToKeyEvent(WPARAM message, const KBDLLHOOKSTRUCT& info) {
  KeyEvent event;
  event.vk = info.vkCode;
  event.release = message == WM_KEYUP || message == WM_SYSKEYUP;
  event.extended = (info.flags & LLKHF_EXTENDED) != 0;
  event.injected = (info.flags & LLKHF_INJECTED) != 0;
  event.extraInfo = info.dwExtraInfo;
  return event;
}

INPUT ReplayInput(std::uint32_t vk, bool release, bool extended) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = static_cast<WORD>(vk);
  input.ki.dwFlags = (release ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
  input.ki.dwExtraInfo = kHelperReplayMarker;
  return input;
}

MouseEvent ToMouseEvent(WPARAM message, const MSLLHOOKSTRUCT& info) {
  MouseEvent event;
  event.x = info.pt.x;
  event.y = info.pt.y;
  event.mouseData = info.mouseData;
  switch (message) {
    case WM_MOUSEMOVE: event.action = MouseAction::Move; break;
    case WM_LBUTTONDOWN: event.action = MouseAction::ButtonDown; event.button = MouseButton::Left; break;
    case WM_MBUTTONDOWN: event.action = MouseAction::ButtonDown; event.button = MouseButton::Middle; break;
    case WM_RBUTTONDOWN: event.action = MouseAction::ButtonDown; event.button = MouseButton::Right; break;
    case WM_LBUTTONUP: event.action = MouseAction::ButtonUp; event.button = MouseButton::Left; break;
    case WM_MBUTTONUP: event.action = MouseAction::ButtonUp; event.button = MouseButton::Middle; break;
    case WM_RBUTTONUP: event.action = MouseAction::ButtonUp; event.button = MouseButton::Right; break;
    case WM_MOUSEWHEEL: event.action = MouseAction::Wheel; break;
    default: event.action = MouseAction::Other; break;
  }
  return event;
}

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && g_activeHelper != nullptr &&
      g_activeHelper->OnKey(ToKeyEvent(wParam, *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam))) ==
          Verdict::Swallow) {
    return 1;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK MouseHookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && g_activeHelper != nullptr &&
      g_activeHelper->OnMouse(ToMouseEvent(wParam, *reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam))) ==
          Verdict::Swallow) {
    return 1;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

void WinKeyInjector::SendKeyRelease(int vk, bool extended) {
  INPUT input = ReplayInput(static_cast<std::uint32_t>(vk), true, extended);
  SendInput(1, &input, sizeof(INPUT));
}

void WinKeyInjector::SendKeys(std::span<const KeyStroke> keys) {
  std::vector<INPUT> inputs;
  inputs.reserve(keys.size());
  for (const KeyStroke& key : keys) inputs.push_back(ReplayInput(key.vk, key.release, key.extended));
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

WindowRef WinMainWindowPort::FindMainWindow() {
  return reinterpret_cast<WindowRef>(FindWindowW(kMainWindowClass, kMainWindowTitle));
}

WindowRef WinMainWindowPort::OwnerOf(WindowRef window) {
  return reinterpret_cast<WindowRef>(GetWindow(reinterpret_cast<HWND>(window), GW_OWNER));
}

void WinMainWindowPort::Post(WindowRef window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  PostMessageW(reinterpret_cast<HWND>(window), message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
}

WinHooks::~WinHooks() = default;

bool WinHooks::IsInstalled(HookKind kind) const {
  return static_cast<bool>(kind == HookKind::Keyboard ? keyboard_ : mouse_);
}

bool WinHooks::Install(HookKind kind) {
  const bool keyboard = kind == HookKind::Keyboard;
  Handle(kind).Reset(SetWindowsHookExW(keyboard ? WH_KEYBOARD_LL : WH_MOUSE_LL,
                                       keyboard ? KeyboardHookProc : MouseHookProc, GetModuleHandleW(nullptr), 0));
  return static_cast<bool>(Handle(kind));
}

bool WinHooks::Remove(HookKind kind) {
  // Whether the system took the removal is the caller's to know, so not through Reset.
  return UnhookWindowsHookEx(Handle(kind).Release()) != FALSE;
}

void WinHooks::ReportFailure(HookFailure failure) {
  PostMessageW(failureWindow_, kShowHookFailureMessage, static_cast<WPARAM>(failure), 0);
}

InputHelper* ActiveHelper() { return g_activeHelper; }

ActiveHelperScope::ActiveHelperScope(InputHelper& helper) { g_activeHelper = &helper; }
ActiveHelperScope::~ActiveHelperScope() { g_activeHelper = nullptr; }

}  // namespace snibbet::helper
