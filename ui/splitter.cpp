#include "ui/splitter.h"

#include "ui/exceptions.h"

namespace ui {
namespace {
constexpr wchar_t kClassName[] = L"UiSplitter";
}  // namespace

Splitter::Splitter(Form& owner, ControlDesign design, Window& beside, int minWidth, int minRest)
    : CustomControl(owner, std::move(design)), beside_(beside), minWidth_(minWidth), minRest_(minRest),
      drag_(*this, IDC_SIZEWE) {
  drag_.onStart = [this] { dragStartWidth_ = beside_.Width(); };
  drag_.onDrag = [this](int dx, int) {
    const int width = Clamped(dragStartWidth_ + dx);
    if (width == beside_.Width()) return;
    Apply(width);
    if (onMoved) onMoved(width);
  };
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
      RECT client{};
      GetClientRect(hwnd_, &client);
      drag_.SetBounds(client);
      if (const auto taken = drag_.HandleMessage(message, wParam, lParam)) return *taken;
      break;
    }
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (const auto taken = drag_.HandleMessage(message, wParam, lParam)) return *taken;
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
