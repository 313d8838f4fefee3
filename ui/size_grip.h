#pragma once
// The size grip in the bottom-right corner of a resizable form. It keeps to
// the corner by itself as the form changes size, and hides while the form is
// maximised (no edge to drag then). A drag resizes the form through the
// system's own sizing, which needs a sizing border.
//
// To follow the form's size the grip watches the form's messages through a
// subclass, which under Wine costs a round trip to the server on every
// message the form gets; a form that gets many draws its grip itself
// (ui/drawn_parts.h).
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
