#pragma once
// A text box; add ES_MULTILINE | WS_VSCROLL (and so on) in ControlDesign::style.
#include <functional>

#include "ui/control.h"

namespace ui {

class Edit : public Control {
 public:
  using Control::Control;

  std::function<void()> onChange;  // the text changed (also by SetText)

 protected:
  const wchar_t* WindowClassName() const override { return L"EDIT"; }
  DWORD ControlStyle() const override { return WS_TABSTOP | ES_AUTOHSCROLL; }
  DWORD ControlExStyle() const override { return WS_EX_CLIENTEDGE; }
  bool OnCommandReflected(WORD code) override;
};

}  // namespace ui
