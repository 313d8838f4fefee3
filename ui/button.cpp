#include "ui/button.h"

#include "ui/form.h"

namespace ui {

void Button::Click() {
  if (onClick) onClick();
  if (modalResult_ != 0 && Owner().IsModal()) Owner().SetModalResult(modalResult_);
}

bool Button::OnCommandReflected(WORD code) {
  if (code != BN_CLICKED || (!onClick && modalResult_ == 0)) return false;
  Click();
  return true;
}

}  // namespace ui
