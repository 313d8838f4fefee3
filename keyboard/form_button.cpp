#include "keyboard/form_button.h"

#include <windowsx.h>

#include "ui/exceptions.h"
#include "ui/gdi.h"
#include "ui/image_list.h"

namespace snibbet {
namespace {
constexpr wchar_t kClassName[] = L"TQvFormBtn";
constexpr int kCorner = 5;
}  // namespace

TQvFormBtn::TQvFormBtn(ui::Form& owner, std::wstring name, const KeyboardAppearance& appearance,
                       const ui::ImageList* pictures)
    : ui::CustomControl(owner, {.name = std::move(name), .width = 16, .height = 16, .visible = false}),
      appearance_(appearance),
      pictures_(pictures) {}

const wchar_t* TQvFormBtn::WindowClassName() const { return CustomClass(kClassName, IDC_ARROW); }

void TQvFormBtn::ShowAt(int left, int imageIndex, int width, int height, int top) {
  imageIndex_ = imageIndex;
  state_ = {};
  SetWindowPos(hwnd_, HWND_TOP, left, top, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  // The rounded square, one pixel larger than the button, as its window's shape.
  SetWindowRgn(hwnd_, CreateRoundRectRgn(0, 0, width + 1, height + 1, kCorner, kCorner), TRUE);
  Repaint();
}

void TQvFormBtn::SetImageIndex(int index) {
  imageIndex_ = index;
  Repaint();
}

void TQvFormBtn::SetHot(bool hot) {
  state_.hot = hot;
  Repaint();
}

void TQvFormBtn::SetDown(bool down) {
  state_.down = down;
  Repaint();
}

void TQvFormBtn::Apply(TitleButtonEvent event, int x, int y) {
  state_ = NextTitleButtonState(state_, event, x, y, ClientWidth(), ClientHeight());
  Repaint();
}

void TQvFormBtn::PaintButton(HDC dc) const {
  const KeyColours colours = state_.down  ? appearance_.pressed
                             : state_.hot ? appearance_.highlighted
                                          : appearance_.normal;
  const RECT client = ClientRect();
  ui::Pen pen(CreatePen(PS_SOLID, 1, colours.outline));
  ui::Brush brush(CreateSolidBrush(colours.face));
  ui::SelectedObject selectedPen(dc, pen.Get());
  ui::SelectedObject selectedBrush(dc, brush.Get());
  SetTextColor(dc, colours.name);
  RoundRect(dc, 0, 0, client.right, client.bottom, kCorner, kCorner);
  if (pictures_ && *pictures_) pictures_->Draw(imageIndex_, dc, 2, 2);
}

LRESULT TQvFormBtn::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      ui::PaintDC dc(hwnd_);
      PaintButton(dc);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_MOUSEMOVE:
      if (!tracking_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd_, 0};
        tracking_ = TrackMouseEvent(&track) != FALSE;
        Apply(TitleButtonEvent::Enter);
        if (onEnter) onEnter();
      }
      return 0;
    case WM_MOUSELEAVE:
      tracking_ = false;
      if (GetCapture() == hwnd_) return 0;  // held down: the release decides
      Apply(TitleButtonEvent::Leave);
      if (onLeave) onLeave();
      return 0;
    case WM_LBUTTONDOWN:
      SetCapture(hwnd_);
      Apply(TitleButtonEvent::LeftDown);
      return 0;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      Apply(TitleButtonEvent::OtherDown);
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      const bool wasDown = state_.down;
      if (GetCapture() == hwnd_) ReleaseCapture();
      Apply(TitleButtonEvent::Up, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      if (message == WM_LBUTTONUP && wasDown && state_.hot && onClick) {
        ui::Guarded([&] { onClick(); });
      }
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace snibbet
