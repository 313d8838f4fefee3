#pragma once
// The size grip in the bottom-right corner of a resizable form. It keeps to
// the corner by itself as the form changes size, and hides while the form is
// maximised (no edge to drag then).
#include <windows.h>

#include "ui/control.h"
#include "ui/window_subclass.h"

namespace ui {

class SizeGrip : public Control {
 public:
  explicit SizeGrip(Form& owner, std::wstring name = L"sizeGrip");
  ~SizeGrip() override;

 protected:
  const wchar_t* WindowClassName() const override { return L"SCROLLBAR"; }
  DWORD ControlStyle() const override { return SBS_SIZEGRIP | SBS_SIZEBOXBOTTOMRIGHTALIGN | WS_CLIPSIBLINGS; }
  void OnAttached() override;

 private:
  void KeepInCorner();
  WindowSubclass parentSize_;
};

}  // namespace ui
