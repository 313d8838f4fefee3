#include "ui/size_grip.h"

#include <algorithm>

#include "ui/form.h"

namespace ui {

SizeGrip::SizeGrip(Form& owner, std::wstring name, Drag drag, Placement placement)
    : Control(owner, {.name = std::move(name), .width = GetSystemMetrics(SM_CXVSCROLL),
                      .height = GetSystemMetrics(SM_CYHSCROLL)}),
      drag_(drag),
      placement_(placement) {}

SizeGrip::~SizeGrip() {
  ownMouse_.Detach();
  parentSize_.Detach();
}

void SizeGrip::OnAttached() {
  KeepInCorner();
  if (placement_ == Placement::FollowsForm) {
    parentSize_.Attach(Owner().Handle(), [this](UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
      if (message == WM_SIZE) KeepInCorner();
      return std::nullopt;  // the form still gets its WM_SIZE
    });
  }
  if (drag_ == Drag::Own)
    ownMouse_.Attach(hwnd_, [this](UINT message, WPARAM, LPARAM lParam) { return OwnDrag(message, lParam); });
}

void SizeGrip::SetInset(int pixels) {
  inset_ = pixels;
  if (hwnd_) KeepInCorner();
}

void SizeGrip::KeepInCorner() {
  if (!hwnd_) return;
  HWND parent = GetParent(hwnd_);
  RECT client{};
  GetClientRect(parent, &client);
  const int width = GetSystemMetrics(SM_CXVSCROLL), height = GetSystemMetrics(SM_CYHSCROLL);
  // Above the other controls: nothing covers the corner.
  SetWindowPos(hwnd_, HWND_TOP, client.right - inset_ - width, client.bottom - inset_ - height, width, height,
               SWP_NOACTIVATE | (IsZoomed(parent) ? SWP_HIDEWINDOW : SWP_SHOWWINDOW));
}

// The scroll bar's own press would start the system's sizing; it never sees it.
std::optional<LRESULT> SizeGrip::OwnDrag(UINT message, LPARAM lParam) {
  switch (message) {
    case WM_SETCURSOR:
      SetCursor(LoadCursorW(nullptr, IDC_SIZENWSE));
      return TRUE;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      origin_ = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      ClientToScreen(hwnd_, &origin_);
      dragging_ = true;
      SetCapture(hwnd_);
      return 0;
    case WM_MOUSEMOVE: {
      if (!dragging_) return 0;
      POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      ClientToScreen(hwnd_, &at);
      const POINT from = origin_;
      origin_ = at;
      ResizeFormBy(at.x - from.x, at.y - from.y);
      return 0;
    }
    case WM_LBUTTONUP:
      if (dragging_) ReleaseCapture();  // WM_CAPTURECHANGED ends the drag
      return 0;
    case WM_CAPTURECHANGED:
      dragging_ = false;
      return 0;
    default:
      return std::nullopt;
  }
}

// Left and top stay; the form's minimum size holds, which the system applies
// to a form without a sizing border only in its own sizing.
void SizeGrip::ResizeFormBy(int dx, int dy) {
  if (dx == 0 && dy == 0) return;
  HWND form = Owner().Handle();
  RECT bounds{};
  GetWindowRect(form, &bounds);
  MINMAXINFO limits{};
  SendMessageW(form, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  const int width = std::max<int>(bounds.right - bounds.left + dx, limits.ptMinTrackSize.x);
  const int height = std::max<int>(bounds.bottom - bounds.top + dy, limits.ptMinTrackSize.y);
  SetWindowPos(form, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace ui
