#pragma once
// A vertical bar between a control on its left and the rest of the form:
// dragging it resizes that control, never below its minimum width and never
// so far that the rest gets less than its own minimum. The bar follows the
// control's right edge; onMoved reports the new width, so the form lays out
// the rest and can keep the width for next time. Widths are in pixels.
#include <windows.h>

#include <functional>

#include "ui/custom_control.h"
#include "ui/drawn_parts.h"
#include "ui/gdi.h"
#include "ui/splitter_width.h"

namespace ui {

class Splitter : public CustomControl {
 public:
  Splitter(Form& owner, ControlDesign design, Window& beside, int minWidth, int minRest);

  std::function<void(int width)> onMoved;  // during a drag, on every step

  int Position() const { return beside_.Width(); }
  // Gives the control this width (held to the limits) and puts the bar at
  // its right edge; onMoved does not run.
  void SetPosition(int width);
  // The bar's colour; the button face colour until set.
  void SetColor(COLORREF color);
  bool IsDragging() const { return drag_.IsDragging(); }

 protected:
  const wchar_t* WindowClassName() const override;
  DWORD ControlStyle() const override { return 0; }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  int Clamped(int wanted) const;
  void Apply(int width);

  Window& beside_;
  Brush color_;
  int minWidth_, minRest_;
  DragArea drag_;           // the whole bar
  int dragStartWidth_ = 0;  // the control's width at the press
};

}  // namespace ui
