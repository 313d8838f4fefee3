#include "ui/paint_copy.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <tuple>

#include "ui/scroll_bar_paint.h"

namespace ui {
namespace {

// The system colours themed and classic bars draw with: a change of them need
// not send a message to the control.
constexpr int kBarColours[] = {COLOR_SCROLLBAR,  COLOR_BTNFACE, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT,
                               COLOR_3DDKSHADOW, COLOR_3DLIGHT, COLOR_GRAYTEXT};

bool DropsCopies(UINT message) {
  return message == WM_THEMECHANGED || message == WM_SYSCOLORCHANGE || message == WM_SETTINGCHANGE ||
         message == WM_STYLECHANGED;
}

// What the system drew in `dc` within `rect`. Nothing when a part of it lay
// under another window or off the surface: that part was not drawn.
Bitmap CopyDrawn(HDC dc, const RECT& rect) {
  const Region visible(CreateRectRgn(0, 0, 0, 0));
  if (GetRandomRgn(dc, visible.Get(), SYSRGN) != 1) return {};
  POINT origin{};
  GetDCOrgEx(dc, &origin);
  RECT onScreen = rect;
  OffsetRect(&onScreen, origin.x, origin.y);
  const Region missing(CreateRectRgnIndirect(&onScreen));
  if (CombineRgn(missing.Get(), missing.Get(), visible.Get(), RGN_DIFF) != NULLREGION) return {};
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  Bitmap copy(CreateCompatibleBitmap(dc, width, height));
  MemoryDC target(dc);
  if (!copy || !target.Get()) return {};
  const SelectedObject selected(target, copy.Get());
  if (!BitBlt(target, 0, 0, width, height, dc, rect.left, rect.top, SRCCOPY)) return {};
  return copy;
}

bool PaintCopy(HDC dc, const Bitmap& copy, const RECT& rect) {
  MemoryDC source(dc);
  if (!source.Get()) return false;
  const SelectedObject selected(source, copy.Get());
  return BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, source, 0, 0, SRCCOPY) !=
         FALSE;
}

bool Shown(const SCROLLBARINFO& bar) {
  return (bar.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN)) == 0;
}
bool Disabled(const SCROLLBARINFO& bar) { return (bar.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) != 0; }

}  // namespace

void StillFrameCopy::Attach(HWND window) {
  Forget();
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
  static_assert(std::size(kBarColours) == std::tuple_size_v<decltype(look.colours)>);
  std::transform(std::begin(kBarColours), std::end(kBarColours), look.colours.begin(),
                 [](int kind) { return GetSysColor(kind); });
  return look;
}

bool StillFrameCopy::SameLook(const Look& a, const Look& b) {
  return SameScrollBar(a.vertical, b.vertical) && SameScrollBar(a.horizontal, b.horizontal) &&
         EqualRect(&a.client, &b.client) && a.window.cx == b.window.cx && a.window.cy == b.window.cy &&
         a.colours == b.colours;
}

std::optional<LRESULT> StillFrameCopy::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (DropsCopies(message)) {
    Forget();
    return std::nullopt;
  }
  if (message != WM_NCPAINT) return std::nullopt;
  const HWND window = subclass_.Window();
  const std::optional<Look> look = StillLookOf(window);
  if (!look) return std::nullopt;
  if (copied_ && SameLook(*copied_, *look) && PaintStrips(window)) return 0;
  // The whole frame, whatever part was asked for: the copy is of all of it.
  const LRESULT result = DefSubclassProc(window, message, 1, lParam);
  TakeStrips(window, *look);
  return result;
}

// The frame as the strips around the client area (those of no width left out).
std::vector<RECT> StillFrameCopy::FrameStrips(const Look& look) {
  const RECT& client = look.client;
  const LONG width = look.window.cx, height = look.window.cy;
  std::vector<RECT> strips;
  for (const RECT& strip : {RECT{0, 0, client.left, height}, RECT{client.right, 0, width, height},
                            RECT{client.left, 0, client.right, client.top},
                            RECT{client.left, client.bottom, client.right, height}}) {
    if (!IsRectEmpty(&strip)) strips.push_back(strip);
  }
  return strips;
}

bool StillFrameCopy::PaintStrips(HWND window) const {
  const WindowDC dc(window, WindowDC::Area::Whole);
  if (!dc) return false;
  for (const Strip& strip : strips_)
    if (!PaintCopy(dc, strip.bits, strip.rect)) return false;
  return true;
}

void StillFrameCopy::TakeStrips(HWND window, const Look& look) {
  Forget();
  const WindowDC dc(window, WindowDC::Area::Whole);
  if (!dc) return;
  std::vector<Strip> strips;
  for (const RECT& rect : FrameStrips(look)) {
    Bitmap bits = CopyDrawn(dc, rect);
    if (!bits) return;
    strips.push_back({rect, std::move(bits)});
  }
  strips_ = std::move(strips);
  copied_ = look;
}

void StillFrameCopy::Forget() {
  copied_.reset();
  strips_.clear();
}

}  // namespace ui
