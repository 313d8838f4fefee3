#pragma once
// Controls that a form draws and drives itself instead of child windows of
// their own. Under Wine each child window costs its own round of painting
// messages, about half a millisecond every time its form shows, whatever it
// draws; a form that must appear complete in one frame draws its buttons, its
// size grip and its splitter itself. The form paints the parts from its own
// painting and hands each part its messages.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ui {

class Form;
class Window;

class DrawnPart {
 public:
  virtual ~DrawnPart() = default;
  // Any message of the host form; a result when the part took it.
  virtual std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
};

// A push button drawn as the system draws one: with the visual style when the
// form has one, else the classic frame, a default button with its dark
// outline. A press and a release over the button is a click. It takes no
// focus: it serves a form that is never activated.
class DrawnButton : public DrawnPart {
 public:
  explicit DrawnButton(Form& host, bool isDefault = false) : host_(host), isDefault_(isDefault) {}
  ~DrawnButton() override;
  DrawnButton(const DrawnButton&) = delete;
  DrawnButton& operator=(const DrawnButton&) = delete;

  std::function<void()> onClick;

  void SetText(std::wstring text);
  const std::wstring& Text() const { return text_; }
  // In the form's client area.
  void SetBounds(const RECT& bounds);
  const RECT& Bounds() const { return bounds_; }
  void Click();
  // Draws the button where the device context's clipping reaches it.
  void Paint(HDC dc);
  std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  bool Over(LPARAM lParam) const;
  void Invalidate() const;
  void SetHot(bool hot);
  void CloseTheme();

  Form& host_;
  const bool isDefault_;
  std::wstring text_;
  RECT bounds_{};
  void* theme_ = nullptr;  // the visual style's handle, opened at the first painting
  bool themeLooked_ = false;
  bool hot_ = false;
  bool pressed_ = false;       // held down by the mouse
  bool pressedShown_ = false;  // the cursor is over it meanwhile
  bool leaveTracked_ = false;
};

// An area of a window that the mouse drags, such as a splitter or a size
// grip: the cursor changes over it, a press captures the mouse, and each move
// reports how far the cursor has gone from the press, in screen pixels.
class DragArea : public DrawnPart {
 public:
  DragArea(const Window& host, LPCWSTR cursor) : host_(host), cursor_(cursor) {}

  std::function<void()> onStart;
  std::function<void(int dx, int dy)> onDrag;

  void SetBounds(const RECT& bounds) { bounds_ = bounds; }
  const RECT& Bounds() const { return bounds_; }
  bool IsDragging() const { return dragging_; }
  std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  const Window& host_;
  LPCWSTR cursor_;
  RECT bounds_{};
  bool dragging_ = false;
  POINT start_{};  // the cursor, in screen pixels, at the press
};

// The size grip as the system's size box draws it, in the bottom-right
// corner of `bounds`.
void PaintSizeGrip(HWND host, HDC dc, const RECT& bounds);

// The form's size changed, its left and top kept, never below the least size
// it reports; a form without a sizing border gets it only from the system's
// own sizing otherwise.
void ResizeFormKeepingMinimum(HWND form, int width, int height);

}  // namespace ui
