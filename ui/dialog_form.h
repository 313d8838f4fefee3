#pragma once
// A form whose window and controls come from a DIALOGEX template (an .rc
// resource compiled with windres, or a template in memory). A static dialog
// procedure stores `this` at WM_INITDIALOG and forwards every message to the
// same virtual HandleMessage that plain forms use; messages that fall to
// DefaultHandler go on to the dialog manager.
//
// The template's window class is replaced by the form's class name, so the
// .rc file need not repeat it. The template's style decides the border
// (Border() and BorderIcons() report it once created); the
// caption (when FormParams::caption is not empty), owner, topmost, tool and
// taskbar flags come from FormParams.
#include <windows.h>

#include <vector>

#include "ui/form.h"

namespace ui {

class DialogForm : public Form {
 public:
  DialogForm(FormParams params, WORD templateId, HINSTANCE module = nullptr);
  DialogForm(FormParams params, std::vector<BYTE> dialogTemplate);

 protected:
  HWND CreateHandle(DWORD style, DWORD exStyle, const RECT& outer, HWND owner) override;

 private:
  static INT_PTR CALLBACK StaticDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  std::vector<BYTE> LoadTemplate() const;
  void TakeBorderFromWindow(HWND window);

  WORD templateId_ = 0;
  HINSTANCE module_ = nullptr;
  std::vector<BYTE> template_;
};

// Copies a DLGTEMPLATEEX with another window class, extra extended styles
// and without WS_VISIBLE.
// Throws std::invalid_argument for anything but a well-formed DLGTEMPLATEEX.
std::vector<BYTE> RetargetDialogTemplate(const BYTE* data, size_t size, const std::wstring& className,
                                         DWORD extraExStyle);

}  // namespace ui
