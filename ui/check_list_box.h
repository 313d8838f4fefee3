#pragma once
// A list of items, each with a check box and a data value of the program's.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "ui/control.h"

namespace ui {

class CheckListBox : public Control {
 public:
  using Control::Control;

  // The user checked or unchecked the item (mouse or Space); not called by
  // AddItem or SetChecked.
  std::function<void(int item)> onClickCheck;

  int AddItem(std::wstring_view text, std::intptr_t data = 0, bool checked = false);
  void Clear();
  int Count() const;
  std::wstring ItemText(int item) const;
  std::intptr_t ItemData(int item) const;
  bool Checked(int item) const;
  void SetChecked(int item, bool checked);

 protected:
  const wchar_t* WindowClassName() const override { return WC_LISTVIEWW; }
  DWORD ControlStyle() const override;
  DWORD ControlExStyle() const override { return WS_EX_CLIENTEDGE; }
  void OnAttached() override;
  bool OnNotifyReflected(NMHDR& header, LRESULT& result) override;

 private:
  void FitColumn();
  int quiet_ = 0;  // > 0 while the program itself sets checks
};

}  // namespace ui
