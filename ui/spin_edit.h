#pragma once
// A field for a whole number between a minimum and a maximum, with up and
// down arrows at its right edge. The arrows are a window of their own beside
// the field; they show, hide and are enabled with it.
#include <windows.h>
#include <commctrl.h>

#include <functional>

#include "ui/control.h"
#include "ui/window_subclass.h"

namespace ui {

class SpinEdit : public Control {
 public:
  SpinEdit(Form& owner, ControlDesign design, int minimum = 0, int maximum = 100)
      : Control(owner, std::move(design)), minimum_(minimum), maximum_(maximum), value_(minimum) {}
  ~SpinEdit() override;

  // The value changed: typed, by the arrows or by SetValue.
  std::function<void()> onChange;

  void SetRange(int minimum, int maximum);
  int Minimum() const { return minimum_; }
  int Maximum() const { return maximum_; }
  // The number in the field, kept within the range; the minimum while the
  // field holds no number.
  int Value() const;
  void SetValue(int value);  // kept within the range
  HWND Arrows() const { return arrows_; }

 protected:
  const wchar_t* WindowClassName() const override { return L"EDIT"; }
  DWORD ControlStyle() const override;
  DWORD ControlExStyle() const override { return WS_EX_CLIENTEDGE; }
  void OnAttached() override;
  bool OnCommandReflected(WORD code) override;

 private:
  int minimum_, maximum_;
  int value_;  // until the window exists
  HWND arrows_ = nullptr;
  WindowSubclass fieldState_;
};

}  // namespace ui
