#include "core/form_activation.h"

namespace snibbet {

bool ActivateFormByClassName(std::wstring_view className) {
  ui::Form* form = ui::FindFormByClassName(className);
  if (!form) return false;
  if (IsIconic(form->Handle())) {
    form->Restore();
  } else if (!form->IsVisible()) {
    // Bringing a hidden window forward would give the focus to nothing visible.
    form->Show();
  } else {
    form->BringToFront();
  }
  return true;
}

}  // namespace snibbet
