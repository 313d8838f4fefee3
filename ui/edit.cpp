#include "ui/edit.h"

#include <commctrl.h>

namespace ui {

void Edit::SetReadOnly(bool readOnly) {
  if (hwnd_) Send(EM_SETREADONLY, readOnly);
}

void Edit::SelectAll() {
  if (hwnd_) Send(EM_SETSEL, 0, -1);
}

void Edit::SetCueBanner(const wchar_t* cue) {
  if (hwnd_) Send(EM_SETCUEBANNER, FALSE, reinterpret_cast<LPARAM>(cue));
}

bool Edit::OnCommandReflected(WORD code) {
  if (code != EN_CHANGE || !onChange) return false;
  onChange();
  return true;
}

}  // namespace ui
