#pragma once
// A drop-down list whose items each show a picture of an image list before
// their text. ControlDesign's height is the height with the list dropped down.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <string_view>

#include "ui/control.h"

namespace ui {

class ImageList;

class ImageComboBox : public Control {
 public:
  using Control::Control;

  std::function<void()> onChange;  // the user picked another item
  void SetImages(const ImageList* images);  // not owned; null: no pictures
  int AddItem(std::wstring_view text, int image = -1);
  void Clear();
  int Count() const;
  int ItemIndex() const;  // -1: none
  void SetItemIndex(int index);
  std::wstring ItemText(int index) const;

 protected:
  const wchar_t* WindowClassName() const override { return WC_COMBOBOXEXW; }
  DWORD ControlStyle() const override { return WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST; }
  bool OnCommandReflected(WORD code) override;
};

}  // namespace ui
