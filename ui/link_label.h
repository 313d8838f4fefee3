#pragma once
// A text drawn as a link: in a colour of its own, underlined unless told
// otherwise, with a cursor of its own over it. It tells when the mouse enters
// and leaves it and when it is clicked; what the link opens is its owner's.
#include <windows.h>

#include <functional>

#include "ui/custom_control.h"
#include "ui/gdi.h"

namespace ui {

class LinkLabel : public CustomControl {
 public:
  using CustomControl::CustomControl;

  std::function<void()> onClick;
  std::function<void()> onMouseEnter;
  std::function<void()> onMouseLeave;

  COLORREF Color() const { return color_; }
  void SetColor(COLORREF color);
  bool Underlined() const { return underlined_; }
  void SetUnderlined(bool underlined);
  // Over the link; null: the system's hand.
  void SetCursor(HCURSOR cursor) { cursor_ = cursor; }
  bool MouseInside() const { return mouseInside_; }

 protected:
  const wchar_t* WindowClassName() const override;
  DWORD ControlStyle() const override { return 0; }
  void OnAttached() override;

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Paint();
  void MakeFont();

  COLORREF color_ = RGB(0, 0, 255);
  bool underlined_ = true;
  HCURSOR cursor_ = nullptr;
  bool mouseInside_ = false;
  HFONT baseFont_ = nullptr;  // the form's; not ours
  Font font_;                 // the base font, underlined or not
};

}  // namespace ui
