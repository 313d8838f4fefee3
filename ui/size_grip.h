#pragma once
// The size grip in the bottom-right corner of a resizable form. It keeps to
// the corner by itself as the form changes size, and hides while the form is
// maximised (no edge to drag then).
//
// A drag resizes the form either through the system's own sizing, which needs
// a sizing border, or by the grip itself: it moves the form's right and bottom
// edges by the cursor's movement and keeps the form's minimum size. The latter
// suits a borderless form and one that must not be activated, since nothing
// but the grip's mouse capture takes part.
//
// To follow the form's size the grip watches the form's messages through a
// subclass, which under Wine costs a round trip to the server on every
// message the form gets. A form that gets many (a list's drawing
// notifications) places the grip itself instead, calling KeepInCorner from
// its OnSize.
#include <windows.h>

#include "ui/control.h"
#include "ui/window_subclass.h"

namespace ui {

class SizeGrip : public Control {
 public:
  enum class Drag { System, Own };
  enum class Placement { FollowsForm, ByForm };

  explicit SizeGrip(Form& owner, std::wstring name = L"sizeGrip", Drag drag = Drag::System,
                    Placement placement = Placement::FollowsForm);
  ~SizeGrip() override;

  bool IsDragging() const { return dragging_; }
  // The grip's distance from the corner of the form's client area, for a
  // form that draws its own frame inside it.
  void SetInset(int pixels);
  void KeepInCorner();

 protected:
  const wchar_t* WindowClassName() const override { return L"SCROLLBAR"; }
  DWORD ControlStyle() const override { return SBS_SIZEGRIP | SBS_SIZEBOXBOTTOMRIGHTALIGN | WS_CLIPSIBLINGS; }
  void OnAttached() override;

 private:
  std::optional<LRESULT> OwnDrag(UINT message, LPARAM lParam);
  void ResizeFormBy(int dx, int dy);

  Drag drag_;
  Placement placement_;
  int inset_ = 0;
  bool dragging_ = false;
  POINT origin_{};  // the cursor (screen) at the last step of a drag
  WindowSubclass parentSize_;
  WindowSubclass ownMouse_;
};

}  // namespace ui
