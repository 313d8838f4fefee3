#pragma once
// A check box that toggles itself on click.
#include <functional>

#include "ui/control.h"

namespace ui {

class CheckBox : public Control {
 public:
  using Control::Control;

  std::function<void()> onClick;
  bool Checked() const;
  void SetChecked(bool checked);  // does not call onClick

 protected:
  const wchar_t* WindowClassName() const override { return L"BUTTON"; }
  DWORD ControlStyle() const override { return WS_TABSTOP | BS_AUTOCHECKBOX; }
  bool OnCommandReflected(WORD code) override;
};

}  // namespace ui
