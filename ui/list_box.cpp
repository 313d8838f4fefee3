#include "ui/list_box.h"

namespace ui {

int ListBox::AddItem(std::wstring_view text) {
  const std::wstring item(text);
  return static_cast<int>(Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str())));
}

void ListBox::Clear() { Send(LB_RESETCONTENT); }
int ListBox::Count() const { return hwnd_ ? static_cast<int>(Send(LB_GETCOUNT)) : 0; }
int ListBox::ItemIndex() const { return hwnd_ ? static_cast<int>(Send(LB_GETCURSEL)) : -1; }
void ListBox::SetItemIndex(int index) { Send(LB_SETCURSEL, static_cast<WPARAM>(index)); }

std::wstring ListBox::ItemText(int index) const {
  const LRESULT length = Send(LB_GETTEXTLEN, static_cast<WPARAM>(index));
  if (length == LB_ERR) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  Send(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

bool ListBox::OnCommandReflected(WORD code) {
  if (code != LBN_SELCHANGE || !onChange) return false;
  onChange();
  return true;
}

}  // namespace ui
