#include "core/info_frame.h"

#include <algorithm>
#include <string>

#include "core/busy_cursor.h"
#include "core/form_help.h"
#include "core/utilities.h"
#include "ui/form.h"
#include "ui/gdi.h"
#include "ui/monitor.h"

namespace snibbet {
namespace {

constexpr int kShapeMargin = 3;
constexpr int kPictureLeft = 8, kPictureTop = 8, kPictureSize = 32;
constexpr int kLabelLeft = 45, kLabelRightGap = 10;
constexpr int kPictureId = 1, kLabelId = 2;

ui::ControlDesign WithDesignSize(ui::ControlDesign design) {
  if (design.width == 0) design.width = TInfoFrame::kDesignWidth;
  if (design.height == 0) design.height = TInfoFrame::kDesignHeight;
  return design;
}

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace

TInfoFrame::TInfoFrame(ui::Form& owner, ui::ControlDesign design)
    : CustomControl(owner, WithDesignSize(std::move(design))), onInfoClick(&ShowActiveFormHelp) {
  // Registered now: a DIALOGEX form names the class before the frame's window exists.
  CustomClass(kClassName);
}

void TInfoFrame::OnAttached() {
  CustomControl::OnAttached();
  HINSTANCE module = GetModuleHandleW(nullptr);
  picture_ = CreateWindowExW(0, L"STATIC", nullptr, WS_CHILD | WS_VISIBLE | SS_ICON | SS_NOTIFY, 0, 0, 0, 0, hwnd_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPictureId)), module, nullptr);
  label_ = CreateWindowExW(0, L"STATIC", TextOf(hwnd_).c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0,
                           0, 0, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kLabelId)), module, nullptr);
  const int size = ui::ScaleToDpi(kPictureSize);
  HICON icon = static_cast<HICON>(LoadImageW(nullptr, IDI_INFORMATION, IMAGE_ICON, size, size, LR_SHARED));
  SendMessageW(picture_, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
  // The form's font came before this object was tied to the window, so it was not kept then.
  if (!font_) font_ = Owner().FontHandle();
  if (!font_) font_ = reinterpret_cast<HFONT>(SendMessageW(GetParent(hwnd_), WM_GETFONT, 0, 0));
  if (font_) SendMessageW(label_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  Layout();
}

RECT TInfoFrame::InfoLabelBounds() const {
  RECT r{};
  if (!label_) return r;
  GetWindowRect(label_, &r);
  MapWindowPoints(HWND_DESKTOP, hwnd_, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The label keeps 10 px to the right edge and, as high as its wrapped text,
// sits in the middle of the frame's height.
void TInfoFrame::Layout() {
  if (!picture_ || !label_) return;
  const int size = ui::ScaleToDpi(kPictureSize);
  SetWindowPos(picture_, nullptr, ui::ScaleToDpi(kPictureLeft), ui::ScaleToDpi(kPictureTop), size, size,
               SWP_NOZORDER | SWP_NOACTIVATE);

  const RECT client = ClientRect();
  const int left = ui::ScaleToDpi(kLabelLeft);
  const int width = std::max(0, static_cast<int>(client.right) - left - ui::ScaleToDpi(kLabelRightGap));
  RECT text{0, 0, width, 0};
  const std::wstring info = TextOf(label_);
  {
    ui::WindowDC dc(label_);
    ui::SelectedObject font(dc, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT));
    DrawTextW(dc, info.c_str(), static_cast<int>(info.size()), &text, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  }
  const int height = std::min(static_cast<int>(client.bottom), static_cast<int>(text.bottom - text.top));
  SetWindowPos(label_, nullptr, left, (client.bottom - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void TInfoFrame::Paint() {
  ui::PaintDC dc(hwnd_);
  const RECT client = ClientRect();
  HBRUSH back = reinterpret_cast<HBRUSH>(
      SendMessageW(GetParent(hwnd_), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.Get()), reinterpret_cast<LPARAM>(hwnd_)));
  FillRect(dc, &client, back ? back : GetSysColorBrush(COLOR_BTNFACE));

  const int margin = ui::ScaleToDpi(kShapeMargin);
  const RECT shape{client.left + margin, client.top + margin, client.right - margin, client.bottom - margin};
  const int corner = std::max(0, static_cast<int>(std::min(shape.right - shape.left, shape.bottom - shape.top))) / 4;
  ui::Pen pen(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
  ui::SelectedObject selectedPen(dc, pen.Get());
  ui::SelectedObject selectedBrush(dc, GetSysColorBrush(COLOR_INFOBK));
  RoundRect(dc, shape.left, shape.top, shape.right, shape.bottom, corner, corner);
}

LRESULT TInfoFrame::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // Paint covers everything
    case WM_NCDESTROY:
      picture_ = label_ = nullptr;
      break;
    case WM_SIZE:
      Layout();
      return 0;
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcW(hwnd_, message, wParam, lParam);
      if (label_) SetWindowTextW(label_, reinterpret_cast<const wchar_t*>(lParam));
      Layout();
      return result;
    }
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wParam);
      if (label_) SendMessageW(label_, WM_SETFONT, wParam, lParam);
      Layout();
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_INFOBK));
    }
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) == picture_ && !ScreenCursor()) {
        SetCursor(HandCursor() ? HandCursor() : LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;  // the form decides (its busy cursor)
    case WM_COMMAND:
      if (LOWORD(wParam) == kPictureId && HIWORD(wParam) == STN_CLICKED) {
        if (onInfoClick) onInfoClick();
        return 0;
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace snibbet
