#include "ui/spin_edit.h"

#include <algorithm>
#include <cwchar>
#include <string>

#include "ui/form.h"

namespace ui {

// Digits only while no negative number is allowed.
DWORD SpinEdit::ControlStyle() const { return WS_TABSTOP | ES_AUTOHSCROLL | (minimum_ >= 0 ? ES_NUMBER : 0); }

SpinEdit::~SpinEdit() {
  fieldState_.Detach();
  if (arrows_ && IsWindow(arrows_)) DestroyWindow(arrows_);
}

void SpinEdit::OnAttached() {
  const DWORD visible = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE)) & WS_VISIBLE;
  arrows_ = CreateWindowExW(0, UPDOWN_CLASSW, nullptr,
                            WS_CHILD | visible | UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
                            0, 0, 0, 0, GetParent(hwnd_), nullptr,
                            reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd_, GWLP_HINSTANCE)), nullptr);
  if (arrows_) {
    SendMessageW(arrows_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(hwnd_), 0);
    EnableWindow(arrows_, IsWindowEnabled(hwnd_));
    SendMessageW(arrows_, UDM_SETRANGE32, static_cast<WPARAM>(minimum_), maximum_);
  }
  SetValue(value_);
  fieldState_.Attach(hwnd_, [this](UINT message, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
    if (!arrows_) return std::nullopt;
    if (message == WM_SHOWWINDOW && lParam == 0) ShowWindow(arrows_, wParam ? SW_SHOWNA : SW_HIDE);
    if (message == WM_ENABLE) EnableWindow(arrows_, static_cast<BOOL>(wParam));
    return std::nullopt;
  });
}

void SpinEdit::SetRange(int minimum, int maximum) {
  minimum_ = minimum;
  maximum_ = std::max(minimum, maximum);
  if (arrows_) SendMessageW(arrows_, UDM_SETRANGE32, static_cast<WPARAM>(minimum_), maximum_);
  if (hwnd_) SetValue(Value());
  else value_ = std::clamp(value_, minimum_, maximum_);
}

int SpinEdit::Value() const {
  if (!hwnd_) return value_;
  const std::wstring text = Text();
  wchar_t* end = nullptr;
  const long long number = std::wcstoll(text.c_str(), &end, 10);
  if (end == text.c_str()) return minimum_;
  return static_cast<int>(std::clamp<long long>(number, minimum_, maximum_));
}

void SpinEdit::SetValue(int value) {
  value_ = std::clamp(value, minimum_, maximum_);
  if (!hwnd_) return;
  if (arrows_) SendMessageW(arrows_, UDM_SETPOS32, 0, value_);
  SetText(std::to_wstring(value_));
}

bool SpinEdit::OnCommandReflected(WORD code) {
  if (code != EN_CHANGE || !onChange) return false;
  onChange();
  return true;
}

}  // namespace ui
