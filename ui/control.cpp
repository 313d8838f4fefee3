#include "ui/control.h"

#include <algorithm>
#include <stdexcept>
#include <system_error>

#include "ui/form.h"
#include "ui/monitor.h"

namespace ui {

Control::Control(Form& owner, ControlDesign design)
    : Component(&owner, design.name), owner_(owner), design_(std::move(design)), id_(design_.id) {
  if (id_ == 0) id_ = owner_.NextControlId();
  owner_.controls_.push_back(this);
}

Control::~Control() {
  auto& list = owner_.controls_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void Control::SetVisible(bool visible) {
  design_.visible = visible;
  if (hwnd_) ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}

void Control::Realize() {
  if (hwnd_) return;
  HWND parent = owner_.Handle();
  if (owner_.IsDialogBased()) {
    hwnd_ = GetDlgItem(parent, id_);
    if (!hwnd_) {
      throw std::logic_error("dialog has no control for component " +
                             std::string(design_.name.begin(), design_.name.end()));
    }
    if (!design_.text.empty()) SetText(design_.text);
    if (!design_.visible) ShowWindow(hwnd_, SW_HIDE);
  } else {
    const DWORD style = WS_CHILD | (design_.visible ? WS_VISIBLE : 0) | ControlStyle() | design_.style;
    hwnd_ = CreateWindowExW(ControlExStyle() | design_.exStyle, WindowClassName(), design_.text.c_str(), style,
                            ScaleToDpi(design_.left), ScaleToDpi(design_.top), ScaleToDpi(design_.width),
                            ScaleToDpi(design_.height), parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)),
                            reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
    if (!hwnd_) {
      throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), "control creation failed");
    }
    HFONT font = owner_.FontHandle();
    if (font && TakesFormFont()) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  OnAttached();
}

}  // namespace ui
