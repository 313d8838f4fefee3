#include "ui/find_dialog.h"

#include <algorithm>
#include <vector>

#include <dlgs.h>  // the find dialog's control ids

#include "ui/form.h"

namespace ui {
namespace {

// The open find dialogs of this thread, whose keys the message hook hands to
// IsDialogMessage.
thread_local std::vector<HWND> t_openDialogs;

LRESULT CALLBACK DialogKeys(int code, WPARAM wParam, LPARAM lParam) {
  auto& msg = *reinterpret_cast<MSG*>(lParam);
  if (code >= 0 && wParam == PM_REMOVE && msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) {
    for (HWND dialog : t_openDialogs) {
      if (IsChild(dialog, msg.hwnd) || msg.hwnd == dialog) {
        if (IsDialogMessageW(dialog, &msg)) msg.message = WM_NULL;
        break;
      }
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

UINT FindMessage() {
  static const UINT message = RegisterWindowMessageW(FINDMSGSTRINGW);
  return message;
}

}  // namespace

FindDialog::~FindDialog() { Close(); }

void FindDialog::Show(std::wstring_view text) {
  const size_t length = std::min(text.size(), text_.size() - 1);
  std::copy_n(text.data(), length, text_.data());
  text_[length] = L'\0';
  if (dialog_) {
    SetDlgItemTextW(dialog_, edt1, text_.data());  // the find-what box
    SetForegroundWindow(dialog_);
    return;
  }
  ownerMessages_.Attach(owner_.Handle(), [this](UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
    if (message != FindMessage() || reinterpret_cast<FINDREPLACEW*>(lParam) != &request_) return std::nullopt;
    OnFindMessage();
    return 0;
  });
  request_ = {};
  request_.lStructSize = sizeof request_;
  request_.hwndOwner = owner_.Handle();
  request_.Flags = FR_DOWN | FR_HIDEUPDOWN;
  request_.lpstrFindWhat = text_.data();
  request_.wFindWhatLen = static_cast<WORD>(text_.size());
  dialog_ = FindTextW(&request_);
  if (!dialog_) {
    ownerMessages_.Detach();
    return;
  }
  t_openDialogs.push_back(dialog_);
  if (!keys_) keys_ = SetWindowsHookExW(WH_GETMESSAGE, &DialogKeys, nullptr, GetCurrentThreadId());
}

void FindDialog::Close() {
  if (keys_) {
    UnhookWindowsHookEx(keys_);
    keys_ = nullptr;
  }
  if (dialog_) {
    std::erase(t_openDialogs, dialog_);
    HWND dialog = dialog_;
    dialog_ = nullptr;
    DestroyWindow(dialog);
  }
  ownerMessages_.Detach();
}

void FindDialog::OnFindMessage() {
  if (request_.Flags & FR_DIALOGTERM) {
    std::erase(t_openDialogs, dialog_);
    dialog_ = nullptr;  // the dialog ends itself
    if (keys_) UnhookWindowsHookEx(keys_);
    keys_ = nullptr;
    return;
  }
  if (!(request_.Flags & FR_FINDNEXT) || !onFindNext) return;
  onFindNext({text_.data(), (request_.Flags & FR_MATCHCASE) != 0, (request_.Flags & FR_WHOLEWORD) != 0});
}

}  // namespace ui
