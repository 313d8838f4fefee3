#include "ui/track_bar.h"

#include <algorithm>

#include "ui/form.h"

namespace ui {

TrackBar::~TrackBar() { formScroll_.Detach(); }

void TrackBar::OnAttached() {
  SetRange(minimum_, maximum_);
  SetPosition(position_);
  formScroll_.Attach(Owner().Handle(), [this](UINT message, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
    if ((message != WM_HSCROLL && message != WM_VSCROLL) || reinterpret_cast<HWND>(lParam) != hwnd_) return std::nullopt;
    // One change per move: the end of a drag repeats the last position.
    const int position = Position();
    if (position != position_) {
      position_ = position;
      if (onChange) onChange();
    }
    return 0;
  });
}

void TrackBar::SetRange(int minimum, int maximum) {
  minimum_ = minimum;
  maximum_ = std::max(minimum, maximum);
  if (hwnd_) {
    Send(TBM_SETRANGEMIN, FALSE, minimum_);
    Send(TBM_SETRANGEMAX, TRUE, maximum_);
  }
  position_ = std::clamp(position_, minimum_, maximum_);
}

int TrackBar::Position() const { return hwnd_ ? static_cast<int>(Send(TBM_GETPOS)) : position_; }

void TrackBar::SetPosition(int position) {
  position_ = std::clamp(position, minimum_, maximum_);
  if (hwnd_) Send(TBM_SETPOS, TRUE, position_);
}

}  // namespace ui
