#pragma once
// The system's find dialog, modeless over a form: each "Find next" reports
// what to look for; the search itself is the owner's. While it is open its
// keys (Tab, Enter, Esc) work whatever message loop runs.
#include <windows.h>
#include <commdlg.h>

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "ui/window_subclass.h"

namespace ui {

class Form;

struct FindRequest {
  std::wstring text;
  bool matchCase = false;
  bool wholeWord = false;
};

class FindDialog {
 public:
  explicit FindDialog(Form& owner) : owner_(owner) {}
  ~FindDialog();
  FindDialog(const FindDialog&) = delete;
  FindDialog& operator=(const FindDialog&) = delete;

  // Opens the dialog with `text` to find, or brings the open one up with it.
  void Show(std::wstring_view text);
  void Close();
  HWND Handle() const { return dialog_; }
  bool IsOpen() const { return dialog_ != nullptr; }

  std::function<void(const FindRequest&)> onFindNext;

 private:
  void OnFindMessage();

  Form& owner_;
  HWND dialog_ = nullptr;
  FINDREPLACEW request_{};
  std::array<wchar_t, 256> text_{};
  WindowSubclass ownerMessages_;
  HHOOK keys_ = nullptr;
};

}  // namespace ui
