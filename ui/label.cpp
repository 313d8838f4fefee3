#include "ui/label.h"

namespace ui {

bool Label::OnCommandReflected(WORD code) {
  if (code != STN_CLICKED || !onClick) return false;
  onClick();
  return true;
}

}  // namespace ui
