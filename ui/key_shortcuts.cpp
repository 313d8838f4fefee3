#include "ui/key_shortcuts.h"

namespace ui {
namespace {

unsigned ModifiersHeld() {
  unsigned held = 0;
  if (GetKeyState(VK_CONTROL) < 0) held |= key_modifier::kCtrl;
  if (GetKeyState(VK_MENU) < 0) held |= key_modifier::kAlt;
  if (GetKeyState(VK_SHIFT) < 0) held |= key_modifier::kShift;
  return held;
}

}  // namespace

void KeyShortcuts::Add(UINT vk, unsigned modifiers, std::function<void()> action, const Window* onlyIn) {
  shortcuts_.push_back({vk, modifiers, std::move(action), onlyIn});
}

void KeyShortcuts::Watch(const Window& control) {
  if (!control.Handle()) return;
  auto subclass = std::make_unique<WindowSubclass>();
  const HWND window = control.Handle();
  subclass->Attach(window, [this, window](UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
    // The character the loop made of a shortcut's key would only beep.
    if (message == WM_CHAR || message == WM_SYSCHAR) {
      if (!swallowChar_) return std::nullopt;
      swallowChar_ = false;
      return 0;
    }
    if (message != WM_KEYDOWN && message != WM_SYSKEYDOWN) return std::nullopt;
    swallowChar_ = false;
    if (!Run(static_cast<UINT>(wParam), window)) return std::nullopt;
    swallowChar_ = true;
    // The system must see an Alt chord's key too: else it takes the Alt
    // release for a lone Alt and opens the menu bar.
    if (message == WM_SYSKEYDOWN) return std::nullopt;
    return 0;
  });
  watched_.push_back(std::move(subclass));
}

bool KeyShortcuts::Run(UINT vk, HWND focus) {
  const unsigned held = ModifiersHeld();
  for (const Shortcut& shortcut : shortcuts_) {
    if (shortcut.vk != vk || shortcut.modifiers != held) continue;
    if (shortcut.onlyIn && shortcut.onlyIn->Handle() != focus) continue;
    std::function<void()> action = shortcut.action;  // the action may close the form
    if (action) action();
    return true;
  }
  return false;
}

}  // namespace ui
