#include "ui/edit.h"

#include <commctrl.h>

namespace ui {

bool Edit::OnCommandReflected(WORD code) {
  if (code != EN_CHANGE || !onChange) return false;
  onChange();
  return true;
}

}  // namespace ui
