#include "ui/gradient_header.h"

#include "ui/exceptions.h"
#include "ui/monitor.h"

namespace ui {
namespace {
constexpr wchar_t kClassName[] = L"UiGradientHeader";

COLOR16 Channel(BYTE value) { return static_cast<COLOR16>(value << 8); }
}  // namespace

const wchar_t* GradientHeader::WindowClassName() const { return CustomClass(kClassName, IDC_ARROW); }

void GradientHeader::OnAttached() {
  CustomControl::OnAttached();
  MakeFont();
}

void GradientHeader::SetColours(COLORREF start, COLORREF end) {
  look_.start = start;
  look_.end = end;
  Invalidate();
}

void GradientHeader::SetCaptionColour(COLORREF colour) {
  look_.captionColour = colour;
  Invalidate();
}

void GradientHeader::SetIcon(HICON icon) {
  icon_ = icon;
  Invalidate();
}

void GradientHeader::MakeFont() {
  LOGFONTW description{};
  description.lfHeight = -ScaleToDpi(look_.fontHeight);
  description.lfWeight = look_.bold ? FW_BOLD : FW_NORMAL;
  description.lfQuality = CLEARTYPE_QUALITY;
  wcsncpy_s(description.lfFaceName, look_.fontFace.c_str(), _TRUNCATE);
  font_ = Font(CreateFontIndirectW(&description));
}

LRESULT GradientHeader::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // Paint covers everything
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcW(hwnd_, message, wParam, lParam);
      Invalidate();
      return result;
    }
    case WM_SIZE:
      Invalidate();  // the gradient spans the whole band
      return 0;
    default:
      return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

void GradientHeader::Paint() {
  PaintDC screen(hwnd_);
  const RECT client = ClientRect();
  if (client.right <= 0 || client.bottom <= 0) return;
  MemoryDC buffer(screen);
  Bitmap picture(CreateCompatibleBitmap(screen, client.right, client.bottom));
  SelectedObject selected(buffer, picture.Get());
  Draw(buffer, client);
  BitBlt(screen, 0, 0, client.right, client.bottom, buffer, 0, 0, SRCCOPY);
}

void GradientHeader::Draw(HDC dc, const RECT& client) {
  TRIVERTEX corners[2] = {};
  corners[0] = {client.left, client.top, Channel(GetRValue(look_.start)), Channel(GetGValue(look_.start)),
                Channel(GetBValue(look_.start)), 0};
  corners[1] = {client.right, client.bottom, Channel(GetRValue(look_.end)), Channel(GetGValue(look_.end)),
                Channel(GetBValue(look_.end)), 0};
  GRADIENT_RECT band{0, 1};
  GradientFill(dc, corners, 2, &band, 1, look_.vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);

  int x = ScaleToDpi(look_.captionAt.x);
  const int y = ScaleToDpi(look_.captionAt.y);
  if (icon_) {
    ICONINFO info{};
    int size = GetSystemMetrics(SM_CXSMICON);
    if (GetIconInfo(icon_, &info)) {
      BITMAP bits{};
      if (info.hbmColor && GetObjectW(info.hbmColor, sizeof bits, &bits)) size = bits.bmWidth;
      if (info.hbmColor) DeleteObject(info.hbmColor);
      if (info.hbmMask) DeleteObject(info.hbmMask);
    }
    DrawIconEx(dc, x, (client.bottom - size) / 2, icon_, 0, 0, 0, nullptr, DI_NORMAL);
    x += size + ScaleToDpi(4);
  }
  const std::wstring caption = Text();
  if (caption.empty()) return;
  SelectedObject font(dc, font_.Get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, look_.captionColour);
  RECT area{x, y, client.right, client.bottom};
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &area, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace ui
