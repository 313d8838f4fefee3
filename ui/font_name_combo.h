#pragma once
// A font-name box: the screen's font families in alphabetical order in an
// editable drop-down, so it can also show a name that is not installed.
#include <string>
#include <string_view>

#include "ui/combo_box.h"

namespace ui {

class FontNameComboBox : public ComboBox {
 public:
  using ComboBox::ComboBox;

  // The name shown; a listed font is selected, another name just written.
  void SetFontName(std::wstring_view name);
  std::wstring FontName() const { return Text(); }  // onChange: the user chose one

 protected:
  DWORD ControlStyle() const override;
  void OnAttached() override;
};

}  // namespace ui
