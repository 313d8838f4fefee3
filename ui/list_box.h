#pragma once
// A list of text lines of which one may be chosen.
#include <functional>
#include <string>
#include <string_view>

#include "ui/control.h"

namespace ui {

class ListBox : public Control {
 public:
  using Control::Control;

  std::function<void()> onChange;  // the user chose another line
  int AddItem(std::wstring_view text);
  void Clear();
  int Count() const;
  int ItemIndex() const;  // -1: none
  void SetItemIndex(int index);
  std::wstring ItemText(int index) const;

 protected:
  const wchar_t* WindowClassName() const override { return L"LISTBOX"; }
  DWORD ControlStyle() const override { return WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT; }
  DWORD ControlExStyle() const override { return WS_EX_CLIENTEDGE; }
  bool OnCommandReflected(WORD code) override;
};

}  // namespace ui
