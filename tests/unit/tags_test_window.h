#pragma once
// A top-level test window holding one text control (an EDIT of some style or
// a RichEdit) that has the focus, for pasting templates into.
#include <windows.h>

#include <string>
#include <utility>

#include "core/message_pump.h"

namespace snibbet::testing {

class TagTestWindow {
 public:
  TagTestWindow(const wchar_t* controlClass, DWORD style) {
    if (std::wstring(controlClass) == L"RichEdit20W") LoadLibraryW(L"riched20.dll");
    frame_ = CreateWindowExW(0, L"STATIC", L"Snibbet tag test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 120, 120, 480,
                             220, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    control_ = CreateWindowExW(0, controlClass, L"", WS_CHILD | WS_VISIBLE | WS_BORDER | style, 10, 10, 440, 150,
                               frame_, nullptr, GetModuleHandleW(nullptr), nullptr);
    Activate();
  }
  ~TagTestWindow() { DestroyWindow(frame_); }
  TagTestWindow(const TagTestWindow&) = delete;
  TagTestWindow& operator=(const TagTestWindow&) = delete;

  bool Created() const { return control_ != nullptr; }
  bool InFront() const { return GetForegroundWindow() == frame_ && GetFocus() == control_; }

  void Activate() {
    for (int i = 0; i < 20 && GetForegroundWindow() != frame_; ++i) {
      SetForegroundWindow(frame_);
      PumpMessagesFor(20);
    }
    SetFocus(control_);
    PumpMessagesFor(30);
  }

  // Sets the text with the caret at its end and nothing to undo.
  void Reset(const wchar_t* text) {
    SendMessageW(control_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    SendMessageW(control_, EM_SETSEL, 0x7FFF, 0x7FFF);
    SendMessageW(control_, EM_EMPTYUNDOBUFFER, 0, 0);
    Activate();
  }

  void Select(int start, int end) { SendMessageW(control_, EM_SETSEL, start, end); }

  std::wstring Text() const {
    const int length = GetWindowTextLengthW(control_);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(control_, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    return text;
  }

  std::pair<DWORD, DWORD> Selection() const {
    DWORD start = 0, end = 0;
    SendMessageW(control_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
  }

  HWND Control() const { return control_; }

 private:
  HWND frame_ = nullptr;
  HWND control_ = nullptr;
};

}  // namespace snibbet::testing
