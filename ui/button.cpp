#include "ui/button.h"

#include "ui/form.h"

namespace ui {

void Button::Click() {
  if (onClick) onClick();
  if (modalResult_ != 0 && Owner().IsModal()) Owner().SetModalResult(modalResult_);
}

bool Button::OnCommandReflected(WORD code) {
  if (code != BN_CLICKED) return false;
  const bool endsModalLoop = modalResult_ != 0 && Owner().IsModal();
  if (!onClick && !endsModalLoop) return false;  // e.g. Cancel of a modeless form: the form closes
  Click();
  return true;
}

}  // namespace ui
