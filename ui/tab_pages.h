#pragma once
// A page control: tabs (or, with TCS_BUTTONS | TCS_FLATBUTTONS in the
// design's style, flat buttons) over one area in which one page shows at a
// time. A page holds controls of the same form laid over that area: they show
// while their page is the active one and hide otherwise.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/control.h"
#include "ui/window_subclass.h"

namespace ui {

class TabPages : public Control {
 public:
  using Control::Control;

  // Returns the page's index.
  int AddPage(std::wstring name, std::wstring caption);
  void AddToPage(int page, Control& control);
  int PageCount() const { return static_cast<int>(pages_.size()); }
  void SetCaption(int page, std::wstring caption);

  int ActivePage() const { return active_; }
  // Shows the page and hides the others; onChange does not run.
  void SetActivePage(int page);

  // The user chose another page; it is already showing.
  std::function<void(int page)> onChange;

  // The area the pages' controls lie in, in the form's client coordinates.
  RECT PageArea() const;

 protected:
  const wchar_t* WindowClassName() const override { return WC_TABCONTROLW; }
  DWORD ControlStyle() const override { return WS_TABSTOP | WS_CLIPSIBLINGS; }
  void OnAttached() override;
  bool OnNotifyReflected(NMHDR& header, LRESULT& result) override;

 private:
  struct Page {
    std::wstring name, caption;
    std::vector<Control*> controls;
  };
  void InsertTab(int page);
  void ShowActive();
  void StayBelowSiblings();

  std::vector<Page> pages_;
  int active_ = 0;
  WindowSubclass painting_;
};

}  // namespace ui
