#pragma once
// A report-style list view with whole-row selection. In owner-data (virtual)
// mode it keeps no items: it asks onGetText for the cells it is about to
// draw, so a list of any length costs nothing until shown.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "ui/control.h"
#include "ui/image_list.h"
#include "ui/scroll_bar_paint.h"

namespace ui {

class ListView : public Control {
 public:
  ListView(Form& owner, ControlDesign design, bool ownerData = false)
      : Control(owner, std::move(design)), ownerData_(ownerData) {}

  // Owner data: the text of one cell; the view must stay valid until the
  // call returns (a view into the program's own data is fine).
  std::function<std::wstring_view(int item, int column)> onGetText;
  std::function<void(int item)> onSelectionChanged;  // -1: nothing selected
  std::function<void(int item)> onDoubleClick;
  // NM_CUSTOMDRAW; return CDRF_* as the list view expects.
  std::function<LRESULT(NMLVCUSTOMDRAW& draw)> onCustomDraw;

  bool IsOwnerData() const { return ownerData_; }
  void AddColumn(std::wstring_view text, int width);
  void SetColumnText(int column, std::wstring_view text);
  void SetColumnWidth(int column, int width);  // LVSCW_AUTOSIZE_USEHEADER fills the rest

  // Owner data. The rows shown are asked for again, also when the count stays.
  void SetItemCount(int count);
  int Count() const;
  int AddItem(std::wstring_view text);  // plain mode
  std::wstring ItemText(int item, int column) const;
  void Clear();

  // The list selects one row at a time and the selected row is the focused
  // one, so both are found at once (the control's own search for a selected
  // row walks every row of an owner-data list).
  int SelectedIndex() const;
  void Select(int item);  // selects, focuses and scrolls into view; -1 clears
  void RedrawItems(int first, int last);
  // Rows of this height (pixels), through a small image list of images one
  // pixel wide, which the list reserves room for. After the window exists.
  void SetRowHeight(int pixels);

 protected:
  const wchar_t* WindowClassName() const override { return WC_LISTVIEWW; }
  DWORD ControlStyle() const override;
  DWORD ControlExStyle() const override { return WS_EX_CLIENTEDGE; }
  void OnAttached() override;
  bool OnNotifyReflected(NMHDR& header, LRESULT& result) override;

 private:
  void FillDisplayInfo(NMLVDISPINFOW& info);
  RECT RowsArea() const;
  void InvalidateRows();
  void InvalidateRow(int item);  // -1: every row
  bool ownerData_;
  int columns_ = 0;
  ImageList rowHeight_;
};

}  // namespace ui
