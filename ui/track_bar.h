#pragma once
// A track bar (slider) over a range of whole numbers. The design's style adds
// TBS_VERT, TBS_TOOLTIPS (the position shown while dragging) and so on.
#include <windows.h>
#include <commctrl.h>

#include <functional>

#include "ui/control.h"
#include "ui/window_subclass.h"

namespace ui {

class TrackBar : public Control {
 public:
  TrackBar(Form& owner, ControlDesign design, int minimum = 0, int maximum = 10)
      : Control(owner, std::move(design)), minimum_(minimum), maximum_(maximum) {}
  ~TrackBar() override;

  // The user moved the thumb (mouse or keys); not called by SetPosition.
  std::function<void()> onChange;

  void SetRange(int minimum, int maximum);
  int Minimum() const { return minimum_; }
  int Maximum() const { return maximum_; }
  int Position() const;
  void SetPosition(int position);  // kept within the range

 protected:
  const wchar_t* WindowClassName() const override { return TRACKBAR_CLASSW; }
  DWORD ControlStyle() const override { return WS_TABSTOP | TBS_HORZ | TBS_AUTOTICKS; }
  void OnAttached() override;

 private:
  int minimum_, maximum_;
  int position_ = 0;  // until the window exists
  // The form gets the track bar's scroll messages; the bar watches for its own.
  WindowSubclass formScroll_;
};

}  // namespace ui
