#pragma once
// Message boxes (dialog class "#32770") of another process: read and answer them.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "testing/probe/wait.h"

namespace probe {

struct DialogButton {
  int id = 0;
  std::wstring text;   // as shown, with "&" accelerators
  HWND hwnd = nullptr;
};

struct MessageBoxInfo {
  HWND hwnd = nullptr;
  DWORD pid = 0;
  std::wstring caption;
  std::wstring text;                  // the message itself (the text static control)
  std::vector<DialogButton> buttons;  // in tab order
  int defaultId = 0;                  // 0 when the box names no default button

  const DialogButton* Button(int id) const;
  const DialogButton* Button(const std::wstring& text) const;   // "&Yes" and "Yes" both match
};

// The class of system message boxes and dialogs.
inline constexpr wchar_t kDialogClass[] = L"#32770";

// Visible top-level windows of class `className` of `pid` (0: of any process).
// Boxes of another class are read the same way if they hold Static and Button controls.
std::vector<HWND> FindMessageBoxes(DWORD pid, const std::wstring& className = kDialogClass);
std::optional<MessageBoxInfo> ReadMessageBox(HWND box);
std::optional<MessageBoxInfo> FindMessageBox(DWORD pid);
std::optional<MessageBoxInfo> WaitForMessageBox(DWORD pid, milliseconds timeout);

// Clicks a button as the user would; false when the box has no such button.
bool PressButton(const MessageBoxInfo& box, int id);
bool PressButton(const MessageBoxInfo& box, const std::wstring& text);
// What a user pressing Enter would choose: the default button, else OK, else the
// only button; 0 when none of these exists.
int DefaultButtonOf(const MessageBoxInfo& box);
// Closes the box like Esc or the close box (a box with Cancel returns IDCANCEL).
void CloseMessageBox(const MessageBoxInfo& box);
// Presses DefaultButtonOf(box), else closes it. The id pressed, or IDCANCEL when closed.
int AnswerDefault(const MessageBoxInfo& box);

}  // namespace probe
