#pragma once
// A colour list: a drop-down of named colours, each with its swatch, and a
// last "custom" entry that opens the colour dialog and then carries the
// colour chosen there (as it also carries a colour set that the list lacks).
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/choose_dialogs.h"
#include "ui/control.h"
#include "ui/window_subclass.h"

namespace ui {

struct NamedColor {
  std::wstring name;
  COLORREF color = 0;
};

class ColorComboBox : public Control {
 public:
  // `customCaption` names the last entry; empty: no custom entry.
  ColorComboBox(Form& owner, ControlDesign design, std::vector<NamedColor> colors, std::wstring customCaption);
  ~ColorComboBox() override;

  std::function<void()> onChange;  // the user chose a colour

  COLORREF Color() const;
  // Selects the listed colour, else the custom entry, which takes it.
  void SetColor(COLORREF color);
  int ItemIndex() const;
  int Count() const;
  std::wstring ItemText(int index) const;

  // What choosing the custom entry does: the colour dialog by default.
  std::function<std::optional<COLORREF>(COLORREF initial)> chooseCustom;

 protected:
  const wchar_t* WindowClassName() const override { return L"COMBOBOX"; }
  DWORD ControlStyle() const override;
  void OnAttached() override;
  bool OnCommandReflected(WORD code) override;

 private:
  int CustomIndex() const;
  void DrawItem(const DRAWITEMSTRUCT& draw) const;
  void ChooseCustom();

  std::vector<NamedColor> colors_;
  std::wstring customCaption_;
  COLORREF customColor_ = 0;
  int lastIndex_ = -1;  // given back when the colour dialog is cancelled
  CustomColors dialogColors_{};
  WindowSubclass ownerDrawing_;
};

}  // namespace ui
