#include "ui/scroll_bar_paint.h"

#include <algorithm>
#include <iterator>

namespace ui {

bool SameScrollBar(const SCROLLBARINFO& a, const SCROLLBARINFO& b) {
  return EqualRect(&a.rcScrollBar, &b.rcScrollBar) && a.dxyLineButton == b.dxyLineButton &&
         a.xyThumbTop == b.xyThumbTop && a.xyThumbBottom == b.xyThumbBottom &&
         std::equal(std::begin(a.rgstate), std::end(a.rgstate), std::begin(b.rgstate));
}

ScrollBarsPaintedOnChange::Look ScrollBarsPaintedOnChange::LookOf(HWND window) {
  Look look;
  look.vertical.cbSize = look.horizontal.cbSize = sizeof(SCROLLBARINFO);
  GetScrollBarInfo(window, OBJID_VSCROLL, &look.vertical);
  GetScrollBarInfo(window, OBJID_HSCROLL, &look.horizontal);
  GetClientRect(window, &look.client);
  return look;
}

ScrollBarsPaintedOnChange::ScrollBarsPaintedOnChange(HWND window, const RECT* repaint)
    : window_(window && IsWindowVisible(window) ? window : nullptr) {
  if (repaint) repaint_ = *repaint;
  if (!window_) return;
  // Switching drawing off forgets what waits to be painted: paint it now.
  RedrawWindow(window_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  before_ = LookOf(window_);
  // The default handling alone: it clears the visible flag, so nothing draws.
  // The control's own handling would redo its layout when drawing resumes.
  DefWindowProcW(window_, WM_SETREDRAW, FALSE, 0);
}

ScrollBarsPaintedOnChange::~ScrollBarsPaintedOnChange() {
  if (!window_) return;
  DefWindowProcW(window_, WM_SETREDRAW, TRUE, 0);
  const Look after = LookOf(window_);
  if (!EqualRect(&before_.client, &after.client)) {
    // A scroll bar came or went: everything is laid out anew.
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    return;
  }
  if (SameScrollBar(before_.vertical, after.vertical) &&
      SameScrollBar(before_.horizontal, after.horizontal)) {
    // The frame shows what it showed (drawing back on may have marked it).
    RedrawWindow(window_, nullptr, nullptr, RDW_VALIDATE | RDW_NOFRAME | RDW_NOCHILDREN);
  } else {
    // The frame is painted again; validating the client area alone keeps it marked.
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_NOCHILDREN);
    RedrawWindow(window_, nullptr, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
  }
  RedrawWindow(window_, repaint_ ? &*repaint_ : nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_NOCHILDREN);
}

}  // namespace ui
