#include "ui/check_box.h"

namespace ui {

bool CheckBox::Checked() const { return hwnd_ && Send(BM_GETCHECK) == BST_CHECKED; }

void CheckBox::SetChecked(bool checked) {
  if (hwnd_) Send(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool CheckBox::OnCommandReflected(WORD code) {
  if (code != BN_CLICKED || !onClick) return false;
  onClick();
  return true;
}

}  // namespace ui
