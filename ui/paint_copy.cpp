#include "ui/paint_copy.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>

namespace ui {
namespace {

ControlColours CurrentColours() {
  static constexpr int kKinds[] = {COLOR_SCROLLBAR,  COLOR_BTNFACE, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT,
                                   COLOR_3DDKSHADOW, COLOR_3DLIGHT, COLOR_GRAYTEXT};
  ControlColours colours{};
  std::transform(std::begin(kKinds), std::end(kKinds), colours.begin(), [](int kind) { return GetSysColor(kind); });
  return colours;
}

bool DropsCopies(UINT message) {
  return message == WM_THEMECHANGED || message == WM_SYSCOLORCHANGE || message == WM_SETTINGCHANGE ||
         message == WM_STYLECHANGED;
}

// What the system drew in `dc` from its origin, `size` large. Nothing when a
// part of it lay under another window or off the surface: that part was not
// drawn.
Bitmap CopyDrawn(HDC dc, SIZE size) {
  const Region visible(CreateRectRgn(0, 0, 0, 0));
  if (GetRandomRgn(dc, visible.Get(), SYSRGN) != 1) return {};
  POINT origin{};
  GetDCOrgEx(dc, &origin);
  const Region missing(CreateRectRgn(origin.x, origin.y, origin.x + size.cx, origin.y + size.cy));
  if (CombineRgn(missing.Get(), missing.Get(), visible.Get(), RGN_DIFF) != NULLREGION) return {};
  Bitmap copy(CreateCompatibleBitmap(dc, size.cx, size.cy));
  MemoryDC target(dc);
  if (!copy || !target.Get()) return {};
  const SelectedObject selected(target, copy.Get());
  if (!BitBlt(target, 0, 0, size.cx, size.cy, dc, 0, 0, SRCCOPY)) return {};
  return copy;
}

bool PaintCopy(HDC dc, const Bitmap& copy, SIZE size) {
  MemoryDC source(dc);
  if (!source.Get()) return false;
  const SelectedObject selected(source, copy.Get());
  return BitBlt(dc, 0, 0, size.cx, size.cy, source, 0, 0, SRCCOPY) != FALSE;
}

bool SameBar(const SCROLLBARINFO& a, const SCROLLBARINFO& b) {
  return EqualRect(&a.rcScrollBar, &b.rcScrollBar) && a.dxyLineButton == b.dxyLineButton &&
         a.xyThumbTop == b.xyThumbTop && a.xyThumbBottom == b.xyThumbBottom &&
         std::equal(std::begin(a.rgstate), std::end(a.rgstate), std::begin(b.rgstate));
}

bool Shown(const SCROLLBARINFO& bar) {
  return (bar.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN)) == 0;
}
bool Disabled(const SCROLLBARINFO& bar) { return (bar.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) != 0; }

}  // namespace

void StillFrameCopy::Attach(HWND window) {
  copied_.reset();
  copy_.Reset();
  subclass_.Attach(window, [this](UINT message, WPARAM wParam, LPARAM lParam) {
    return Handle(message, wParam, lParam);
  });
}

std::optional<StillFrameCopy::Look> StillFrameCopy::StillLookOf(HWND window) {
  Look look;
  look.vertical.cbSize = look.horizontal.cbSize = sizeof(SCROLLBARINFO);
  if (!GetScrollBarInfo(window, OBJID_VSCROLL, &look.vertical) ||
      !GetScrollBarInfo(window, OBJID_HSCROLL, &look.horizontal) || !IsWindowEnabled(window))
    return std::nullopt;
  for (const SCROLLBARINFO* bar : {&look.vertical, &look.horizontal})
    if (Shown(*bar) && !Disabled(*bar)) return std::nullopt;
  // Where the window is on the screen is no part of its look.
  RECT frame{};
  GetWindowRect(window, &frame);
  for (RECT* rect : {&look.vertical.rcScrollBar, &look.horizontal.rcScrollBar})
    OffsetRect(rect, -frame.left, -frame.top);
  GetClientRect(window, &look.client);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&look.client), 2);
  OffsetRect(&look.client, -frame.left, -frame.top);
  look.window = {frame.right - frame.left, frame.bottom - frame.top};
  look.colours = CurrentColours();
  return look;
}

bool StillFrameCopy::SameLook(const Look& a, const Look& b) {
  return SameBar(a.vertical, b.vertical) && SameBar(a.horizontal, b.horizontal) && EqualRect(&a.client, &b.client) &&
         a.window.cx == b.window.cx && a.window.cy == b.window.cy && a.colours == b.colours;
}

std::optional<LRESULT> StillFrameCopy::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (DropsCopies(message)) {
    copied_.reset();
    copy_.Reset();
    return std::nullopt;
  }
  if (message != WM_NCPAINT) return std::nullopt;
  const HWND window = subclass_.Window();
  const std::optional<Look> look = StillLookOf(window);
  if (!look) return std::nullopt;
  if (copied_ && SameLook(*copied_, *look)) {
    const WindowDC dc(window, WindowDC::Area::Whole);
    if (dc && ExcludeClipRect(dc, look->client.left, look->client.top, look->client.right, look->client.bottom) != ERROR &&
        PaintCopy(dc, copy_, look->window))
      return 0;
  }
  // The whole frame, whatever part was asked for: the copy is of all of it.
  const LRESULT result = DefSubclassProc(window, message, 1, lParam);
  const WindowDC dc(window, WindowDC::Area::Whole);
  copy_ = dc ? CopyDrawn(dc, look->window) : Bitmap();
  copied_.reset();
  if (copy_) copied_ = *look;
  return result;
}

}  // namespace ui
