#pragma once
// A band painted in a gradient between two colours, with an icon and a
// caption (the window text) on it; double-buffered. The colours and the
// caption's font are the program's to give.
#include <windows.h>

#include <string>

#include "ui/custom_control.h"
#include "ui/gdi.h"

namespace ui {

struct GradientHeaderLook {
  COLORREF start = 0xFFFFFF, end = 0x808080;  // top and bottom (left and right when not vertical)
  bool vertical = true;
  COLORREF captionColour = 0xFFFFFF;
  std::wstring fontFace = L"Arial";
  int fontHeight = 15;  // pixels at 96 DPI
  bool bold = true;
  POINT captionAt{5, 3};  // at 96 DPI; the icon, when there is one, stands here and the caption after it
};

class GradientHeader : public CustomControl {
 public:
  using CustomControl::CustomControl;

  const GradientHeaderLook& Look() const { return look_; }
  void SetColours(COLORREF start, COLORREF end);
  void SetCaptionColour(COLORREF colour);
  // Drawn at its own size; not owned. Null: none.
  void SetIcon(HICON icon);
  void SetCaption(std::wstring_view caption) { SetText(caption); }

 protected:
  const wchar_t* WindowClassName() const override;
  DWORD ControlStyle() const override { return 0; }
  void OnAttached() override;

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Paint();
  void Draw(HDC dc, const RECT& client);
  void MakeFont();

  GradientHeaderLook look_;
  HICON icon_ = nullptr;
  Font font_;
};

}  // namespace ui
