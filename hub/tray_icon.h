#pragma once
// The notification-area icon: its own hidden window receives the shell's
// callback, the icon is added while visible and added again when the taskbar
// is re-created. Left clicks and double clicks arrive as one click each
// gesture; the right button opens the icon's menu.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "ui/handles.h"
#include "ui/message_window.h"

namespace ui {
class PopupMenu;
}

namespace snibbet {

// The shell's callback message to the icon's window; lParam is the mouse or
// balloon message.
inline constexpr UINT kTrayCallbackMessage = WM_APP + 0x2F10;
inline constexpr wchar_t kTrayWindowClass[] = L"TSnibbetTrayIcon";

class TrayIcon {
 public:
  TrayIcon();
  ~TrayIcon();
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  HWND Window() const { return window_.Handle(); }

  // The icon keeps its own copy.
  void SetIcon(HICON icon);
  void SetHint(const std::wstring& hint);
  const std::wstring& Hint() const { return hint_; }
  void SetVisible(bool visible);
  bool Visible() const { return visible_; }
  // The shell took the icon (NIM_ADD succeeded) and it has not been removed.
  bool InShell() const { return inShell_; }

  // An information balloon; one already showing is not cancelled. False when
  // the shell refused it or the icon is not in the notification area.
  bool ShowBalloon(const std::wstring& title, const std::wstring& body, UINT timeoutMs);

  ui::PopupMenu* popupMenu = nullptr;      // opened by the right button
  std::function<void()> onClick;           // left click or double click
  std::function<void()> onBalloonClick;
  std::function<void()> onBalloonHide;     // closed or timed out

 private:
  std::optional<LRESULT> OnMessage(UINT message, LPARAM lParam);
  void HandleCallback(UINT mouseMessage);
  void LeftButtonUp();
  void LeftDoubleClick();
  void OpenMenu();
  bool Notify(DWORD action, UINT flags);

  UINT taskbarCreatedMessage_ = 0;
  ui::IconHandle icon_;
  std::wstring hint_;
  bool visible_ = false;
  bool inShell_ = false;
  // A double click follows a click: that click already acted, so the double
  // click and the button release after it are left alone.
  bool clickPending_ = false;
  LONG lastClickTime_ = 0;
  bool swallowNextUp_ = false;
  ui::MessageWindow window_;  // last: gone before the state its messages use
};

}  // namespace snibbet
