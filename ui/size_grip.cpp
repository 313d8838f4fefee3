#include "ui/size_grip.h"

#include "ui/form.h"

namespace ui {

SizeGrip::SizeGrip(Form& owner, std::wstring name)
    : Control(owner, {.name = std::move(name), .width = GetSystemMetrics(SM_CXVSCROLL),
                      .height = GetSystemMetrics(SM_CYHSCROLL)}) {}

SizeGrip::~SizeGrip() { parentSize_.Detach(); }

void SizeGrip::OnAttached() {
  KeepInCorner();
  parentSize_.Attach(Owner().Handle(), [this](UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (message == WM_SIZE) KeepInCorner();
    return std::nullopt;  // the form still gets its WM_SIZE
  });
}

void SizeGrip::KeepInCorner() {
  if (!hwnd_) return;
  HWND parent = GetParent(hwnd_);
  RECT client{};
  GetClientRect(parent, &client);
  const int width = GetSystemMetrics(SM_CXVSCROLL), height = GetSystemMetrics(SM_CYHSCROLL);
  // Above the other controls: nothing covers the corner.
  SetWindowPos(hwnd_, HWND_TOP, client.right - width, client.bottom - height, width, height,
               SWP_NOACTIVATE | (IsZoomed(parent) ? SWP_HIDEWINDOW : SWP_SHOWWINDOW));
}

}  // namespace ui
