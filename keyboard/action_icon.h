#pragma once
// The 16 x 16 picture of a binding, as the listing and the wizard show it.
#include <windows.h>

#include <string>

#include "keyboard/action_shell.h"
#include "keyboard/actions.h"
#include "ui/handles.h"

namespace snibbet {

// An icon a binding of kind 6 shows; destroyed with the binding's picture.
class IconPicture : public ActionPicture {
 public:
  explicit IconPicture(HICON icon) : icon_(icon) {}
  HICON Icon() const { return icon_.Get(); }

 private:
  ui::IconHandle icon_;
};

inline constexpr int kActionIconSize = 16;

// Fills the 16 x 16 bitmap with `background` and draws the binding's picture on it.
void DrawActionIcon(const TQvAction& binding, HBITMAP bitmap, COLORREF background,
                    BindingShell& shell = ProgramShell());

// Saves a bitmap as a 24-bit ".bmp" file; false when it cannot be written.
bool SaveBitmapFile(HBITMAP bitmap, const std::wstring& fileName);

}  // namespace snibbet
