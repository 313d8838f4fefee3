#include "ui/list_view.h"

#include "ui/monitor.h"

namespace ui {

DWORD ListView::ControlStyle() const {
  // Image lists stay their owners': the control must not destroy them.
  return WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL | LVS_SHAREIMAGELISTS | (ownerData_ ? LVS_OWNERDATA : 0);
}

void ListView::OnAttached() {
  ListView_SetExtendedListViewStyleEx(hwnd_, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER,
                                      LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
}

void ListView::AddColumn(std::wstring_view text, int width) {
  std::wstring caption(text);
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  column.pszText = caption.data();
  column.cx = ScaleToDpi(width);
  column.iSubItem = columns_;
  ListView_InsertColumn(hwnd_, columns_, &column);
  ++columns_;
}

void ListView::SetColumnText(int column, std::wstring_view text) {
  std::wstring caption(text);
  LVCOLUMNW info{};
  info.mask = LVCF_TEXT;
  info.pszText = caption.data();
  ListView_SetColumn(hwnd_, column, &info);
}

void ListView::SetColumnWidth(int column, int width) {
  ListView_SetColumnWidth(hwnd_, column, width < 0 ? width : ScaleToDpi(width));
}

// The client area below the column titles.
RECT ListView::RowsArea() const {
  RECT rows{};
  GetClientRect(hwnd_, &rows);
  HWND header = ListView_GetHeader(hwnd_);
  if (header && IsWindowVisible(header)) {
    RECT titles{};
    GetWindowRect(header, &titles);
    MapWindowPoints(HWND_DESKTOP, hwnd_, reinterpret_cast<POINT*>(&titles), 2);
    rows.top = std::max(rows.top, titles.bottom);
  }
  return rows;
}

// The column titles are a child window the list does not clip: damage over
// them would repaint them too, which a themed title costs dearly.
void ListView::InvalidateRows() {
  const RECT rows = RowsArea();
  InvalidateRect(hwnd_, &rows, FALSE);
}

void ListView::InvalidateRow(int item) {
  const RECT rows = RowsArea();
  RECT row{};
  row.left = LVIR_BOUNDS;
  if (item < 0 || !ListView_GetItemRect(hwnd_, item, &row, LVIR_BOUNDS)) {
    InvalidateRect(hwnd_, &rows, FALSE);
    return;
  }
  if (IntersectRect(&row, &row, &rows)) InvalidateRect(hwnd_, &row, FALSE);
}

void ListView::SetItemCount(int count) {
  if (count == Count()) {
    InvalidateRows();
    return;
  }
  // Keeps the scroll position; the rows shown are asked for again.
  const RECT rows = RowsArea();
  const ScrollBarsPaintedOnChange quiet(hwnd_, &rows);
  ListView_SetItemCountEx(hwnd_, count, LVSICF_NOSCROLL);
  InvalidateRows();
}

int ListView::Count() const { return hwnd_ ? ListView_GetItemCount(hwnd_) : 0; }

int ListView::AddItem(std::wstring_view text) {
  std::wstring caption(text);
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = Count();
  item.pszText = caption.data();
  return ListView_InsertItem(hwnd_, &item);
}

std::wstring ListView::ItemText(int item, int column) const {
  if (ownerData_) return onGetText ? std::wstring(onGetText(item, column)) : std::wstring();
  wchar_t buffer[1024] = L"";
  ListView_GetItemText(hwnd_, item, column, buffer, static_cast<int>(std::size(buffer)));
  return buffer;
}

void ListView::Clear() {
  if (ownerData_) SetItemCount(0);
  else ListView_DeleteAllItems(hwnd_);
}

int ListView::SelectedIndex() const {
  if (!hwnd_) return -1;
  const int focused = ListView_GetNextItem(hwnd_, -1, LVNI_FOCUSED | LVNI_SELECTED);
  if (focused >= 0 || ownerData_) return focused;
  return ListView_GetNextItem(hwnd_, -1, LVNI_SELECTED);
}

void ListView::SetRowHeight(int pixels) {
  if (!hwnd_) return;
  rowHeight_ = ImageList(1, pixels);
  ListView_SetImageList(hwnd_, rowHeight_.Get(), LVSIL_SMALL);
}

void ListView::Select(int item) {
  if (!hwnd_) return;
  // The old row is let go first: selecting a row while another is selected
  // makes the control clear every row of an owner-data list one by one.
  const int selected = SelectedIndex();
  if (selected >= 0 && selected != item) ListView_SetItemState(hwnd_, selected, 0, LVIS_SELECTED);
  if (item < 0) {
    const int focused = ListView_GetNextItem(hwnd_, -1, LVNI_FOCUSED);
    if (focused >= 0) ListView_SetItemState(hwnd_, focused, 0, LVIS_FOCUSED);
    if (ListView_GetSelectedCount(hwnd_) > 0) ListView_SetItemState(hwnd_, -1, 0, LVIS_SELECTED);
    return;
  }
  // Bringing a row into view scrolls; the scroll bar is drawn again only
  // when its thumb moved on screen, which a long list's seldom does.
  const int top = ListView_GetTopIndex(hwnd_);
  const bool scrolls = item < top || item >= top + ListView_GetCountPerPage(hwnd_);
  const RECT rows = RowsArea();
  std::optional<ScrollBarsPaintedOnChange> quiet;
  if (scrolls) quiet.emplace(hwnd_, &rows);
  ListView_SetItemState(hwnd_, item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_EnsureVisible(hwnd_, item, FALSE);
}

void ListView::RedrawItems(int first, int last) {
  if (hwnd_) ListView_RedrawItems(hwnd_, first, last);
}

void ListView::FillDisplayInfo(NMLVDISPINFOW& info) {
  if (!(info.item.mask & LVIF_TEXT) || !info.item.pszText || info.item.cchTextMax <= 0) return;
  std::wstring_view text = onGetText ? onGetText(info.item.iItem, info.item.iSubItem) : std::wstring_view();
  const size_t length = std::min(text.size(), static_cast<size_t>(info.item.cchTextMax - 1));
  std::copy_n(text.data(), length, info.item.pszText);
  info.item.pszText[length] = L'\0';
}

bool ListView::OnNotifyReflected(NMHDR& header, LRESULT& result) {
  switch (header.code) {
    case LVN_GETDISPINFOW:
      FillDisplayInfo(reinterpret_cast<NMLVDISPINFOW&>(header));
      return true;
    case LVN_ITEMCHANGED: {
      auto& change = reinterpret_cast<NMLISTVIEW&>(header);
      // The control repaints a row whose state changed only from its label
      // on; a row the program draws is drawn whole, so all of it is repainted.
      if (onCustomDraw && (change.uChanged & LVIF_STATE) &&
          ((change.uNewState ^ change.uOldState) & (LVIS_SELECTED | LVIS_FOCUSED))) {
        InvalidateRow(change.iItem);
      }
      if (onSelectionChanged && (change.uChanged & LVIF_STATE) &&
          ((change.uNewState ^ change.uOldState) & LVIS_SELECTED)) {
        onSelectionChanged((change.uNewState & LVIS_SELECTED) ? change.iItem : SelectedIndex());
      }
      return true;
    }
    case NM_DBLCLK:
      if (!onDoubleClick) return false;
      onDoubleClick(reinterpret_cast<NMITEMACTIVATE&>(header).iItem);
      return true;
    case NM_CUSTOMDRAW:
      if (!onCustomDraw) return false;
      result = onCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW&>(header));
      return true;
    default:
      return false;
  }
}

}  // namespace ui
