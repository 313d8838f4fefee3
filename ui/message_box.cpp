#include "ui/message_box.h"

#include <string>

#include "ui/application.h"
#include "ui/form.h"
#include "ui/forms.h"

namespace ui {

int ShowMessageBox(std::wstring_view text, std::wstring_view caption, UINT flags, HWND owner) {
  if (!owner) owner = ApplicationWindow();
  const std::wstring textZ(text), captionZ(caption);
  return MessageBoxW(owner, textZ.c_str(), captionZ.c_str(), flags | MB_SETFOREGROUND);
}

}  // namespace ui
