#pragma once
// A static text. Word-wrapped and left-aligned unless ControlDesign::style says
// otherwise (SS_CENTER, SS_CENTERIMAGE, SS_LEFTNOWORDWRAP...).
#include <functional>

#include "ui/control.h"

namespace ui {

class Label : public Control {
 public:
  using Control::Control;
  std::function<void()> onClick;  // needs SS_NOTIFY in ControlDesign::style

 protected:
  const wchar_t* WindowClassName() const override { return L"STATIC"; }
  DWORD ControlStyle() const override { return SS_LEFT; }
  bool OnCommandReflected(WORD code) override;
};

}  // namespace ui
