#pragma once
// A child area the program draws itself (pictures, the keyboard view, the
// rounded info box). Double-buffered: onPaint draws into an off-screen
// bitmap that is then copied, so nothing flickers.
#include <windows.h>

#include <functional>

#include "ui/custom_control.h"

namespace ui {

class PaintBox : public CustomControl {
 public:
  using CustomControl::CustomControl;

  std::function<void(HDC dc, const RECT& client)> onPaint;
  // WM_MOUSEMOVE, WM_LBUTTONDOWN, ...: the message, the client point and the key flags.
  std::function<void(UINT message, POINT point, WPARAM keys)> onMouse;
  // The mouse left the box after it was over it.
  std::function<void()> onMouseLeave;

 protected:
  const wchar_t* WindowClassName() const override;
  DWORD ControlStyle() const override { return 0; }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Paint();
  bool CursorOverThis() const;
  bool tracking_ = false;
};

}  // namespace ui
