#pragma once
// A small painted button of the keyboard window's title strip: its picture
// from the button image list on a rounded square in the keyboard's colours
// (normal, hot while the mouse is over it, pressed while held down).
#include <windows.h>

#include <functional>

#include "keyboard/keyboard_appearance.h"
#include "keyboard/keyboard_window_rules.h"
#include "ui/custom_control.h"

namespace ui {
class ImageList;
}

namespace snibbet {

class TQvFormBtn : public ui::CustomControl {
 public:
  // Hidden until placed; `pictures` may be null (no picture drawn).
  TQvFormBtn(ui::Form& owner, std::wstring name, const KeyboardAppearance& appearance,
             const ui::ImageList* pictures);

  // Placed at (left, top) in its form with the picture `imageIndex`, shown,
  // neither down nor hot, in front of its siblings.
  void ShowAt(int left, int imageIndex, int width, int height, int top);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int index);
  bool Down() const { return mouse_.State().down; }
  bool Hot() const { return mouse_.State().hot; }
  void SetDown(bool down);
  void PaintButton(HDC dc) const;

  std::function<void()> onClick;
  std::function<void()> onEnter;
  std::function<void()> onLeave;

 protected:
  const wchar_t* WindowClassName() const override;
  DWORD ControlStyle() const override { return WS_CLIPSIBLINGS; }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // Paints the new state and tells the owner what happened.
  void Notify(unsigned notices);

  const KeyboardAppearance& appearance_;
  const ui::ImageList* pictures_;
  int imageIndex_ = 0;
  TitleButtonMouse mouse_;
  bool tracking_ = false;  // the system tells us when the mouse leaves
};

}  // namespace snibbet
