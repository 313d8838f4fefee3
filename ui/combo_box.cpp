#include "ui/combo_box.h"

namespace ui {

DWORD ComboBox::ControlStyle() const {
  const bool editable = (Design().style & 0x3) == CBS_DROPDOWN;
  return WS_TABSTOP | WS_VSCROLL | (editable ? 0 : CBS_DROPDOWNLIST);
}

int ComboBox::AddItem(std::wstring_view text) {
  const std::wstring item(text);
  return static_cast<int>(Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str())));
}

void ComboBox::Clear() { Send(CB_RESETCONTENT); }
int ComboBox::Count() const { return hwnd_ ? static_cast<int>(Send(CB_GETCOUNT)) : 0; }
int ComboBox::ItemIndex() const { return hwnd_ ? static_cast<int>(Send(CB_GETCURSEL)) : -1; }
void ComboBox::SetItemIndex(int index) { Send(CB_SETCURSEL, static_cast<WPARAM>(index)); }

std::wstring ComboBox::ItemText(int index) const {
  const LRESULT length = Send(CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
  if (length == CB_ERR) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  Send(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

bool ComboBox::OnCommandReflected(WORD code) {
  const std::function<void()>* handler = code == CBN_SELCHANGE ? &onChange : code == CBN_EDITCHANGE ? &onEdit : nullptr;
  if (!handler || !*handler) return false;
  (*handler)();
  return true;
}

}  // namespace ui
