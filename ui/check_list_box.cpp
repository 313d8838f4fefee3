#include "ui/check_list_box.h"

namespace ui {
namespace {

// Counts the program's own changes, so they are not taken for the user's.
class Quiet {
 public:
  explicit Quiet(int& depth) : depth_(depth) { ++depth_; }
  ~Quiet() { --depth_; }
  Quiet(const Quiet&) = delete;
  Quiet& operator=(const Quiet&) = delete;

 private:
  int& depth_;
};

}  // namespace

// One column without a title: it looks like a list box.
DWORD CheckListBox::ControlStyle() const {
  return WS_TABSTOP | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS;
}

void CheckListBox::OnAttached() {
  ListView_SetExtendedListViewStyleEx(hwnd_, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
                                      LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  column.cx = 100;
  ListView_InsertColumn(hwnd_, 0, &column);
  FitColumn();
}

void CheckListBox::FitColumn() {
  RECT client{};
  GetClientRect(hwnd_, &client);
  ListView_SetColumnWidth(hwnd_, 0, client.right - client.left);
}

int CheckListBox::AddItem(std::wstring_view text, std::intptr_t data, bool checked) {
  const Quiet quiet(quiet_);
  std::wstring caption(text);
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = Count();
  item.pszText = caption.data();
  item.lParam = static_cast<LPARAM>(data);
  const int index = ListView_InsertItem(hwnd_, &item);
  if (index >= 0) ListView_SetCheckState(hwnd_, index, checked);
  FitColumn();  // a scroll bar may have come
  return index;
}

void CheckListBox::Clear() {
  const Quiet quiet(quiet_);
  ListView_DeleteAllItems(hwnd_);
}

int CheckListBox::Count() const { return ListView_GetItemCount(hwnd_); }

std::wstring CheckListBox::ItemText(int item) const {
  wchar_t buffer[512] = {};
  ListView_GetItemText(hwnd_, item, 0, buffer, static_cast<int>(std::size(buffer)));
  return buffer;
}

std::intptr_t CheckListBox::ItemData(int item) const {
  LVITEMW info{};
  info.mask = LVIF_PARAM;
  info.iItem = item;
  return ListView_GetItem(hwnd_, &info) ? static_cast<std::intptr_t>(info.lParam) : 0;
}

bool CheckListBox::Checked(int item) const { return ListView_GetCheckState(hwnd_, item) != 0; }

void CheckListBox::SetChecked(int item, bool checked) {
  const Quiet quiet(quiet_);
  ListView_SetCheckState(hwnd_, item, checked);
}

bool CheckListBox::OnNotifyReflected(NMHDR& header, LRESULT& result) {
  if (header.code != LVN_ITEMCHANGED) return false;
  const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
  // The check box is the item's state image: 1 unchecked, 2 checked.
  const UINT before = change.uOldState & LVIS_STATEIMAGEMASK, after = change.uNewState & LVIS_STATEIMAGEMASK;
  if (quiet_ || !(change.uChanged & LVIF_STATE) || before == after || before == 0 || change.iItem < 0) return false;
  if (onClickCheck) onClickCheck(change.iItem);
  return true;
}

}  // namespace ui
