#include "ui/link_label.h"

#include <string>

#include "ui/exceptions.h"

namespace ui {
namespace {
constexpr wchar_t kClassName[] = L"UiLinkLabel";
}  // namespace

const wchar_t* LinkLabel::WindowClassName() const { return CustomClass(kClassName, IDC_HAND); }

void LinkLabel::OnAttached() {
  CustomControl::OnAttached();
  MakeFont();
}

void LinkLabel::SetColor(COLORREF color) {
  if (color == color_) return;
  color_ = color;
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void LinkLabel::SetUnderlined(bool underlined) {
  if (underlined == underlined_) return;
  underlined_ = underlined;
  MakeFont();
}

void LinkLabel::MakeFont() {
  LOGFONTW description{};
  if (!baseFont_ || !GetObjectW(baseFont_, sizeof description, &description)) {
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof description, &description);
  }
  description.lfUnderline = underlined_ ? TRUE : FALSE;
  font_.Reset(CreateFontIndirectW(&description));
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void LinkLabel::Paint() {
  PaintDC dc(hwnd_);
  const RECT client = ClientRect();
  // The parent's background, as a static text has it.
  HBRUSH back = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(hwnd_), WM_CTLCOLORSTATIC,
                                                      reinterpret_cast<WPARAM>(dc.Get()),
                                                      reinterpret_cast<LPARAM>(hwnd_)));
  FillRect(dc, &client, back ? back : GetSysColorBrush(COLOR_BTNFACE));
  const std::wstring text = Text();
  SelectedObject font(dc, font_.Get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, IsWindowEnabled(hwnd_) ? color_ : GetSysColor(COLOR_GRAYTEXT));
  RECT area = client;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

LRESULT LinkLabel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // Paint covers everything
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcW(hwnd_, message, wParam, lParam);
      InvalidateRect(hwnd_, nullptr, TRUE);
      return result;
    }
    case WM_SETFONT:
      baseFont_ = reinterpret_cast<HFONT>(wParam);
      MakeFont();
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_.Get());
    case WM_MOUSEMOVE:
      if (!mouseInside_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd_, 0};
        mouseInside_ = TrackMouseEvent(&track) != FALSE;
        if (onMouseEnter) onMouseEnter();
      }
      return 0;
    case WM_MOUSELEAVE:
      mouseInside_ = false;
      if (onMouseLeave) onMouseLeave();
      return 0;
    case WM_LBUTTONUP:
      if (onClick) onClick();
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lParam) != HTCLIENT) break;
      ::SetCursor(cursor_ ? cursor_ : LoadCursorW(nullptr, IDC_HAND));
      return TRUE;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace ui
