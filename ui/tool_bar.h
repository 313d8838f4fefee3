#pragma once
// A flat toolbar: buttons with pictures from an image list (and, with
// `showText`, their captions beside them), check buttons, groups of check
// buttons of which one is down, drop-down buttons, separators and
// placeholders that other controls are laid over (a font list in a toolbar).
// Buttons are found by name; each has its own click handler, and its hint
// shows as a tooltip.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/control.h"
#include "ui/window_subclass.h"

namespace ui {

class ImageList;

enum class ToolButtonKind {
  Button,
  Check,       // toggles down and up
  CheckGroup,  // one of the adjacent CheckGroup buttons is down
  DropDown,    // a button with an arrow; onDropDown runs
  Separator,
  Placeholder,  // an empty gap of a given width for another control
};

struct ToolButton {
  std::wstring name{};
  ToolButtonKind kind = ToolButtonKind::Button;
  int imageIndex = -1;
  std::wstring text{};  // shown only by a toolbar with showText
  std::wstring hint{};  // the tooltip
  int width = 0;        // separators and placeholders; 0: the system's width
  bool wrapAfter = false;  // the next button starts a new row
  std::function<void()> onClick{};
  // DropDown: the button's rectangle on the screen, for a menu below it.
  std::function<void(const RECT& screenRect)> onDropDown{};
};

class ToolBar : public Control {
 public:
  ToolBar(Form& owner, ControlDesign design, bool showText = false)
      : Control(owner, std::move(design)), showText_(showText) {}
  ~ToolBar() override;

  void SetImages(const ImageList* images);
  // Before or after the window exists; returns the button's command id.
  int Add(ToolButton button);

  void SetEnabled(std::wstring_view name, bool enabled);
  bool IsButtonEnabled(std::wstring_view name) const;
  void SetDown(std::wstring_view name, bool down);  // does not run onClick
  bool IsDown(std::wstring_view name) const;
  void SetText(std::wstring_view name, std::wstring text);
  void SetHint(std::wstring_view name, std::wstring hint);
  const std::wstring& Hint(std::wstring_view name) const;
  // The button's rectangle in the form's client area (for a control laid over
  // a placeholder) and on the screen.
  RECT ButtonRect(std::wstring_view name) const;
  RECT ButtonScreenRect(std::wstring_view name) const;
  // Moves `control` over the placeholder and above the toolbar.
  void PlaceOver(std::wstring_view placeholder, Window& control) const;
  // The height the rows of buttons take.
  int RowsHeight() const;
  void Click(std::wstring_view name);  // as if the user clicked it

 protected:
  const wchar_t* WindowClassName() const override { return TOOLBARCLASSNAMEW; }
  DWORD ControlStyle() const override;
  void OnAttached() override;
  bool OnNotifyReflected(NMHDR& header, LRESULT& result) override;

 private:
  struct Entry {
    ToolButton button;
    int id = 0;
    bool enabled = true, down = false;  // until the window exists
  };
  Entry& Find(std::wstring_view name);
  const Entry& Find(std::wstring_view name) const;
  Entry* FindId(int id);
  void SetState(std::wstring_view name, bool Entry::*state, UINT setMessage, bool on);
  bool State(std::wstring_view name, bool Entry::*state, UINT askMessage) const;
  void Insert(const Entry& entry);

  bool showText_;
  const ImageList* images_ = nullptr;
  std::vector<std::unique_ptr<Entry>> entries_;  // stable: the toolbar keeps pointers to the texts
  int nextId_ = 100;  // clear of IDOK and IDCANCEL, which forms act on
  WindowSubclass parentCommands_;
};

}  // namespace ui
