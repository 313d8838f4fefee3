#include "ui/tab_pages.h"

#include <stdexcept>

namespace ui {

int TabPages::AddPage(std::wstring name, std::wstring caption) {
  pages_.push_back({std::move(name), std::move(caption), {}});
  const int page = PageCount() - 1;
  if (hwnd_) InsertTab(page);
  return page;
}

void TabPages::AddToPage(int page, Control& control) {
  pages_.at(static_cast<size_t>(page)).controls.push_back(&control);
  if (hwnd_) ShowActive();
}

void TabPages::SetCaption(int page, std::wstring caption) {
  Page& p = pages_.at(static_cast<size_t>(page));
  p.caption = std::move(caption);
  if (!hwnd_) return;
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = p.caption.data();
  TabCtrl_SetItem(hwnd_, page, &item);
}

void TabPages::InsertTab(int page) {
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = pages_[static_cast<size_t>(page)].caption.data();
  TabCtrl_InsertItem(hwnd_, page, &item);
}

// The page area lies under the pages' controls: the tab control stays at the
// bottom of the z-order, and WS_CLIPSIBLINGS keeps it from painting over them.
// Controls made after it start below it, so it goes down again before it paints.
void TabPages::StayBelowSiblings() {
  if (hwnd_ && GetWindow(hwnd_, GW_HWNDNEXT)) {
    SetWindowPos(hwnd_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void TabPages::OnAttached() {
  StayBelowSiblings();
  painting_.Attach(hwnd_, [this](UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (message == WM_PAINT || message == WM_ERASEBKGND) StayBelowSiblings();
    return std::nullopt;
  });
  for (int i = 0; i < PageCount(); ++i) InsertTab(i);
  ShowActive();
}

void TabPages::SetActivePage(int page) {
  if (page < 0 || page >= PageCount()) throw std::out_of_range("no such page");
  active_ = page;
  ShowActive();
}

void TabPages::ShowActive() {
  if (!hwnd_) return;
  if (TabCtrl_GetCurSel(hwnd_) != active_) TabCtrl_SetCurSel(hwnd_, active_);
  // Hide first, so the focus never rests on a control that goes.
  for (int i = 0; i < PageCount(); ++i) {
    if (i == active_) continue;
    for (Control* c : pages_[static_cast<size_t>(i)].controls) c->SetVisible(false);
  }
  if (active_ < PageCount()) {
    for (Control* c : pages_[static_cast<size_t>(active_)].controls) c->SetVisible(true);
  }
}

RECT TabPages::PageArea() const {
  RECT area = ClientRect();
  if (!hwnd_) return area;
  TabCtrl_AdjustRect(hwnd_, FALSE, &area);
  MapWindowPoints(hwnd_, GetParent(hwnd_), reinterpret_cast<POINT*>(&area), 2);
  return area;
}

bool TabPages::OnNotifyReflected(NMHDR& header, LRESULT& result) {
  if (header.code != TCN_SELCHANGE) return false;
  const int chosen = TabCtrl_GetCurSel(hwnd_);
  if (chosen < 0 || chosen >= PageCount()) return false;
  active_ = chosen;
  ShowActive();
  if (onChange) onChange(chosen);
  result = 0;
  return true;
}

}  // namespace ui
