#include "visual/theme_change_receiver.h"

#include <algorithm>

namespace snibbet {
namespace {

// No exception may leave a window procedure.
void RunGuarded(const ThemeChangeReceiver::Listener& f) {
  if (!f) return;
  try {
    f();
  } catch (...) {
  }
}

}  // namespace

// A tool window, never shown, so that it never gets a taskbar button.
ThemeChangeReceiver::ThemeChangeReceiver(Listener beforeDefault, Listener afterDefault)
    : beforeDefault_(std::move(beforeDefault)),
      afterDefault_(std::move(afterDefault)),
      window_({.className = L"SnibbetThemeChangeReceiver",
               .kind = ui::MessageWindowKind::HiddenTopLevel,
               .exStyle = WS_EX_TOOLWINDOW},
              [this](UINT message, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
                if (message == WM_THEMECHANGED) return OnThemeChanged(wParam, lParam);
                return std::nullopt;
              }) {}

int ThemeChangeReceiver::AddListener(Listener listener) {
  listeners_.emplace_back(nextId_, std::move(listener));
  return nextId_++;
}

void ThemeChangeReceiver::RemoveListener(int id) {
  std::erase_if(listeners_, [id](const auto& entry) { return entry.first == id; });
}

LRESULT ThemeChangeReceiver::OnThemeChanged(WPARAM wParam, LPARAM lParam) {
  RunGuarded(beforeDefault_);
  if (window_.Handle()) window_.CallDefault(WM_THEMECHANGED, wParam, lParam);
  RunGuarded(afterDefault_);
  // A copy: a listener may add or remove listeners.
  const auto listeners = listeners_;
  for (const auto& entry : listeners) RunGuarded(entry.second);
  return 0;
}

}  // namespace snibbet
