#pragma once
// Keyboard shortcuts of a form (Ctrl+S, Alt+X): the keys reach the focused
// control, so the shortcuts watch the controls they are given and run their
// action on a matching key-down, which the control then does not see.
#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "ui/window.h"
#include "ui/window_subclass.h"

namespace ui {

namespace key_modifier {
inline constexpr unsigned kCtrl = 1, kAlt = 2, kShift = 4;
}

class KeyShortcuts {
 public:
  // `onlyIn`: the shortcut of that one watched control (its own keys, such
  // as a list's arrows); null: of every watched control.
  void Add(UINT vk, unsigned modifiers, std::function<void()> action, const Window* onlyIn = nullptr);
  // After the control's window exists.
  void Watch(const Window& control);
  // The action of a key-down in `focus` with the modifiers held now; false when none matches.
  bool Run(UINT vk, HWND focus = nullptr);

 private:
  struct Shortcut {
    UINT vk;
    unsigned modifiers;
    std::function<void()> action;
    const Window* onlyIn;
  };
  std::vector<Shortcut> shortcuts_;
  std::vector<std::unique_ptr<WindowSubclass>> watched_;
  bool swallowChar_ = false;
};

}  // namespace ui
