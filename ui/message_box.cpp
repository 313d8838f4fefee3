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

int ShowMessageBoxForActiveForm(std::wstring_view text, std::wstring_view caption, UINT flags) {
  Form* active = ActiveForm();
  HWND owner = active && active->IsVisible() ? active->Handle() : nullptr;
  return ShowMessageBox(text, caption, flags, owner);
}

}  // namespace ui
