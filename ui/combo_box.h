#pragma once
// A drop-down list (CBS_DROPDOWNLIST unless ControlDesign::style says CBS_DROPDOWN).
// ControlDesign's height is the height with the list dropped down.
#include <functional>
#include <string>
#include <string_view>

#include "ui/control.h"

namespace ui {

class ComboBox : public Control {
 public:
  using Control::Control;

  std::function<void()> onChange;  // the user picked another item
  // Editable only: the user changed the field's text (every keystroke).
  std::function<void()> onEdit;
  int AddItem(std::wstring_view text);
  void Clear();
  int Count() const;
  int ItemIndex() const;  // -1: none
  void SetItemIndex(int index);
  std::wstring ItemText(int index) const;

 protected:
  const wchar_t* WindowClassName() const override { return L"COMBOBOX"; }
  DWORD ControlStyle() const override;
  bool OnCommandReflected(WORD code) override;
};

}  // namespace ui
