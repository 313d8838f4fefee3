#include "hub/tray_icon.h"

#include <shellapi.h>

#include <algorithm>

#include "ui/menu.h"

namespace snibbet {
namespace {

constexpr UINT kIconId = 1;

template <std::size_t N>
void CopyText(wchar_t (&target)[N], const std::wstring& text) {
  const std::size_t length = std::min(text.size(), N - 1);
  std::copy_n(text.data(), length, target);
  target[length] = L'\0';
}

}  // namespace

// Top-level, not message-only: "TaskbarCreated" is broadcast to top-level windows.
TrayIcon::TrayIcon()
    : taskbarCreatedMessage_(RegisterWindowMessageW(L"TaskbarCreated")),
      window_({.className = kTrayWindowClass, .kind = ui::MessageWindowKind::HiddenTopLevel},
              [this](UINT message, WPARAM, LPARAM lParam) { return OnMessage(message, lParam); }) {}

TrayIcon::~TrayIcon() { SetVisible(false); }

namespace {

NOTIFYICONDATAW IconData(HWND window, HICON icon, const std::wstring& hint, UINT flags) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = window;
  data.uID = kIconId;
  data.uFlags = flags;
  data.uCallbackMessage = kTrayCallbackMessage;
  data.hIcon = icon;
  CopyText(data.szTip, hint);
  return data;
}

}  // namespace

bool TrayIcon::Notify(DWORD action, UINT flags) {
  NOTIFYICONDATAW data = IconData(window_.Handle(), icon_.Get(), hint_, flags);
  return Shell_NotifyIconW(action, &data) != FALSE;
}

void TrayIcon::SetIcon(HICON icon) {
  icon_.Reset(icon ? CopyIcon(icon) : nullptr);
  if (inShell_) Notify(NIM_MODIFY, NIF_ICON);
}

void TrayIcon::SetHint(const std::wstring& hint) {
  hint_ = hint;
  if (inShell_) Notify(NIM_MODIFY, NIF_TIP);
}

void TrayIcon::SetVisible(bool visible) {
  visible_ = visible;
  if (visible && !inShell_) {
    inShell_ = Notify(NIM_ADD, NIF_MESSAGE | NIF_ICON | NIF_TIP);
  } else if (!visible && inShell_) {
    Notify(NIM_DELETE, 0);
    inShell_ = false;
  }
}

bool TrayIcon::ShowBalloon(const std::wstring& title, const std::wstring& body, UINT timeoutMs) {
  if (!inShell_) return false;
  NOTIFYICONDATAW data = IconData(window_.Handle(), icon_.Get(), hint_, NIF_INFO);
  CopyText(data.szInfoTitle, title);
  CopyText(data.szInfo, body);
  data.uTimeout = timeoutMs;
  data.dwInfoFlags = NIIF_INFO;
  return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

std::optional<LRESULT> TrayIcon::OnMessage(UINT message, LPARAM lParam) {
  if (message == kTrayCallbackMessage) {
    HandleCallback(static_cast<UINT>(lParam));
    return 0;
  }
  if (message == taskbarCreatedMessage_ && message != 0) {
    // A new taskbar knows no icons: add ours again.
    inShell_ = false;
    if (visible_) SetVisible(true);
    return 0;
  }
  return std::nullopt;
}

void TrayIcon::HandleCallback(UINT mouseMessage) {
  switch (mouseMessage) {
    case WM_LBUTTONUP: LeftButtonUp(); break;
    case WM_LBUTTONDBLCLK: LeftDoubleClick(); break;
    case WM_RBUTTONUP: OpenMenu(); break;
    case NIN_BALLOONUSERCLICK:
      if (onBalloonClick) onBalloonClick();
      break;
    case NIN_BALLOONHIDE:
    case NIN_BALLOONTIMEOUT:
      if (onBalloonHide) onBalloonHide();
      break;
    default: break;
  }
}

// The shell reports a double click as up, double click, up: the first release
// acts, the rest of the gesture is left alone.
void TrayIcon::LeftButtonUp() {
  if (swallowNextUp_) {
    swallowNextUp_ = false;
    return;
  }
  clickPending_ = true;
  lastClickTime_ = GetMessageTime();
  if (onClick) onClick();
}

void TrayIcon::LeftDoubleClick() {
  swallowNextUp_ = true;
  const bool partOfClick =
      clickPending_ && static_cast<DWORD>(GetMessageTime() - lastClickTime_) <= GetDoubleClickTime();
  clickPending_ = false;
  if (partOfClick) return;
  if (onClick) onClick();
}

void TrayIcon::OpenMenu() {
  clickPending_ = false;
  if (!popupMenu) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  // The menu closes on a click elsewhere only when its owner is in front.
  SetForegroundWindow(window_.Handle());
  popupMenu->Popup(cursor, window_.Handle());
}

}  // namespace snibbet
