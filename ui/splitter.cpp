#include "ui/splitter.h"

#include <algorithm>

#include "ui/exceptions.h"

namespace ui {
namespace {
constexpr wchar_t kClassName[] = L"UiSplitter";
}  // namespace

int SplitterClampedWidth(int wanted, int minWidth, int available, int minRest) {
  const int most = std::max(minWidth, available - minRest);
  return std::clamp(wanted, minWidth, most);
}

const wchar_t* Splitter::WindowClassName() const { return CustomClass(kClassName, IDC_SIZEWE, 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)); }

// The room the control and the rest share: from the control's left edge to
// the right of the form's client area, less the bar.
int Splitter::Clamped(int wanted) const {
  RECT parent{};
  GetClientRect(GetParent(beside_.Handle()), &parent);
  const int available = parent.right - beside_.Left() - Width();
  return SplitterClampedWidth(wanted, minWidth_, available, minRest_);
}

void Splitter::Apply(int width) {
  const RECT b = beside_.Bounds();
  beside_.SetBounds(b.left, b.top, width, b.bottom - b.top);
  SetLeft(b.left + width);
}

void Splitter::SetPosition(int width) {
  if (!hwnd_ || !beside_.Handle()) return;
  Apply(Clamped(width));
}

void Splitter::SetColor(COLORREF color) {
  color_ = Brush(CreateSolidBrush(color));
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

LRESULT Splitter::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN: {
      if (!beside_.Handle()) break;
      POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      ClientToScreen(hwnd_, &p);
      dragStartX_ = p.x;
      dragStartWidth_ = beside_.Width();
      dragging_ = true;
      SetCapture(hwnd_);
      return 0;
    }
    case WM_MOUSEMOVE: {
      if (!dragging_) break;
      POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      ClientToScreen(hwnd_, &p);
      const int width = Clamped(dragStartWidth_ + p.x - dragStartX_);
      if (width == beside_.Width()) return 0;
      Apply(width);
      if (onMoved) onMoved(width);
      return 0;
    }
    case WM_LBUTTONUP:
      if (dragging_) ReleaseCapture();  // WM_CAPTURECHANGED ends the drag
      return 0;
    case WM_CAPTURECHANGED:
      dragging_ = false;
      return 0;
    case WM_ERASEBKGND:
      if (!color_) break;
      {
        RECT client{};
        GetClientRect(hwnd_, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, color_.Get());
      }
      return 1;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace ui
