#pragma once
// Hints of plain controls (a toolbar shows its buttons' hints itself): one
// tooltip window of the form shows the hint of the control under the mouse.
#include <windows.h>

#include <string>

#include "ui/handles.h"

namespace ui {

class Form;
class Window;

class ToolTips {
 public:
  ToolTips() = default;
  ~ToolTips();
  ToolTips(const ToolTips&) = delete;
  ToolTips& operator=(const ToolTips&) = delete;

  // After the control's window exists; again to change the text. An editable
  // combo box's edit field shows the hint too.
  void SetHint(const Form& form, const Window& control, const std::wstring& hint);
  std::wstring Hint(const Window& control) const;

 private:
  void SetHintOf(HWND tool, HWND parent, const std::wstring& hint);
  HWND tips_ = nullptr;
};

}  // namespace ui
