#pragma once
// The base of the child-control wrappers. A control is a member of its form,
// declared with a ControlDesign; the form makes the window on Create (or, in a
// dialog-based form, attaches to the dialog's control with the same id).
// Notifications (WM_COMMAND, WM_NOTIFY) are reflected to the control that
// sent them, so each control handles its own events.
#include <windows.h>

#include <string>

#include "ui/component.h"
#include "ui/window.h"

namespace ui {

class Form;

struct ControlDesign {
  std::wstring name{};  // the component name, e.g. L"btnOk"
  int id = 0;         // 0: the form picks one (plain forms only)
  int left = 0, top = 0, width = 0, height = 0;  // at 96 DPI
  std::wstring text{};
  DWORD style = 0;    // added to the control's own style
  DWORD exStyle = 0;
  bool visible = true;
};

class Control : public Window, public Component {
 public:
  Control(Form& owner, ControlDesign design);
  ~Control() override;

  // Makes the window now; for controls added after the form's Create().
  void Realize();

  int Id() const { return id_; }
  Form& Owner() const { return owner_; }
  void SetVisible(bool visible);

 protected:
  virtual const wchar_t* WindowClassName() const = 0;
  virtual DWORD ControlStyle() const = 0;  // WS_CHILD, WS_VISIBLE are added
  virtual DWORD ControlExStyle() const { return 0; }
  virtual void OnAttached() {}  // the window exists (after create or attach)
  // False for a control with a font of its own, which the form's leaves alone.
  virtual bool TakesFormFont() const { return true; }
  virtual bool OnCommandReflected(WORD code) { return false; }
  virtual bool OnNotifyReflected(NMHDR& header, LRESULT& result) { return false; }
  const ControlDesign& Design() const { return design_; }

 private:
  friend class Form;

  Form& owner_;
  ControlDesign design_;
  int id_;
};

}  // namespace ui
