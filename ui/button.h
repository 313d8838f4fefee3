#pragma once
// A push button. A click calls onClick and, when the button has a modal
// result and its form is modal, ends the modal loop with it. A click nobody
// handles goes on to the form (OK and Cancel then act as Enter and Esc).
#include <functional>

#include "ui/control.h"

namespace ui {

class Button : public Control {
 public:
  Button(Form& owner, ControlDesign design, int modalResult = 0, bool isDefault = false)
      : Control(owner, std::move(design)), modalResult_(modalResult), isDefault_(isDefault) {}

  std::function<void()> onClick;
  int ModalResult() const { return modalResult_; }
  void Click();  // as if the user clicked it

 protected:
  const wchar_t* WindowClassName() const override { return L"BUTTON"; }
  DWORD ControlStyle() const override { return WS_TABSTOP | (isDefault_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON); }
  bool OnCommandReflected(WORD code) override;

 private:
  int modalResult_;
  bool isDefault_;
};

}  // namespace ui
