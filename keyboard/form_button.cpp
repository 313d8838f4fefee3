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
  mouse_.Reset();
  SetWindowPos(hwnd_, HWND_TOP, left, top, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  // The rounded square, one pixel larger than the button, as its window's shape.
  SetWindowRgn(hwnd_, CreateRoundRectRgn(0, 0, width + 1, height + 1, kCorner, kCorner), TRUE);
  Repaint();
}

void TQvFormBtn::SetImageIndex(int index) {
  imageIndex_ = index;
  Repaint();
}

void TQvFormBtn::SetDown(bool down) {
  mouse_.SetState({down, mouse_.State().hot});
  Repaint();
}

void TQvFormBtn::Notify(unsigned notices) {
  Repaint();
  if ((notices & TitleButtonMouse::kEntered) && onEnter) onEnter();
  if ((notices & TitleButtonMouse::kLeft) && onLeave) onLeave();
  if ((notices & TitleButtonMouse::kClicked) && onClick) ui::Guarded([&] { onClick(); });
}

void TQvFormBtn::PaintButton(HDC dc) const {
  const TitleButtonState& state = mouse_.State();
  const KeyColours colours = state.down  ? appearance_.pressed
                             : state.hot ? appearance_.highlighted
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
    case WM_MOUSEMOVE: {
      const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
      // Over it (moves elsewhere come only while it holds the mouse): the system tells the leave.
      if (!tracking_ && x >= 0 && x < ClientWidth() && y >= 0 && y < ClientHeight()) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd_, 0};
        tracking_ = TrackMouseEvent(&track) != FALSE;
      }
      if (const unsigned notices = mouse_.Move(x, y, ClientWidth(), ClientHeight())) Notify(notices);
      return 0;
    }
    case WM_MOUSELEAVE:
      tracking_ = false;
      if (const unsigned notices = mouse_.Leave()) Notify(notices);
      return 0;
    case WM_LBUTTONDOWN:
      // Held, it gets the moves off it too, and the release wherever it comes.
      SetCapture(hwnd_);
      mouse_.Down(true);
      Repaint();
      return 0;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      mouse_.Down(false);
      Repaint();
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      const bool left = message == WM_LBUTTONUP;
      const unsigned notices =
          mouse_.Up(left, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), ClientWidth(), ClientHeight());
      if (left && GetCapture() == hwnd_) ReleaseCapture();
      Notify(notices);
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != hwnd_) mouse_.CaptureLost();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace snibbet
