#pragma once
// A control drawn and driven by the program: a window class of its own,
// registered once by name, whose messages reach the object's HandleMessage.
// A form destroyed as an object destroys its windows after its members, so a
// window that outlives its object falls back to the default procedure.
#include <windows.h>

#include "ui/control.h"

namespace ui {

class CustomControl : public Control {
 public:
  using Control::Control;
  ~CustomControl() override;

 protected:
  // Registers the class `name` the first time; returns `name`.
  static const wchar_t* CustomClass(const wchar_t* name, LPCWSTR cursor = IDC_ARROW, UINT style = 0,
                                    HBRUSH background = nullptr);
  // Ties the window to this object; a control that overrides it calls it first.
  void OnAttached() override;
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

}  // namespace ui
