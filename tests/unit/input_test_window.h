#pragma once
// A top-level test window with an EDIT (or another edit control, e.g. a
// RichEdit) that holds the focus.
#include <windows.h>

#include <string>

#include "core/message_pump.h"

namespace snibbet::testing {

class EditWindow {
 public:
  explicit EditWindow(const wchar_t* controlClass = L"EDIT") {
    if (std::wstring(controlClass) == L"RichEdit20W") LoadLibraryW(L"riched20.dll");
    frame_ = CreateWindowExW(0, L"STATIC", L"Snibbet input test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100,
                             400, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    edit_ = CreateWindowExW(0, controlClass, L"", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, 10, 10, 360, 30,
                            frame_, nullptr, GetModuleHandleW(nullptr), nullptr);
    Activate();
  }
  ~EditWindow() { DestroyWindow(frame_); }
  EditWindow(const EditWindow&) = delete;
  EditWindow& operator=(const EditWindow&) = delete;

  // Brings the window to the front with the focus in the EDIT.
  void Activate() {
    for (int i = 0; i < 20 && GetForegroundWindow() != frame_; ++i) {
      SetForegroundWindow(frame_);
      PumpMessagesFor(20);
    }
    SetFocus(edit_);
    PumpMessagesFor(30);
  }

  std::wstring Text() const {
    wchar_t buffer[512] = {};
    SendMessageW(edit_, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer));
    return buffer;
  }
  void SetText(const wchar_t* text) { SendMessageW(edit_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)); }

  HWND Frame() const { return frame_; }
  HWND Edit() const { return edit_; }

 private:
  HWND frame_ = nullptr;
  HWND edit_ = nullptr;
};

// Lets injected input reach the windows.
inline void Settle() { PumpMessagesFor(80); }

}  // namespace snibbet::testing
