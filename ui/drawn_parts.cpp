#include "ui/drawn_parts.h"

#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>

#include "ui/form.h"

namespace ui {
namespace {

// The visual-style library, bound when first needed so that a system without
// it still draws the classic look. The common controls have loaded it already.
struct VisualStyles {
  decltype(&::OpenThemeData) open = nullptr;
  decltype(&::CloseThemeData) close = nullptr;
  decltype(&::DrawThemeBackground) background = nullptr;
  decltype(&::DrawThemeText) text = nullptr;
  decltype(&::GetThemeBackgroundContentRect) content = nullptr;
};

template <typename F>
void Bind(HMODULE library, const char* name, F& entry) {
  entry = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

const VisualStyles* Styles() {
  static const VisualStyles styles = [] {
    VisualStyles bound;
    if (HMODULE library = LoadLibraryW(L"uxtheme.dll")) {
      Bind(library, "OpenThemeData", bound.open);
      Bind(library, "CloseThemeData", bound.close);
      Bind(library, "DrawThemeBackground", bound.background);
      Bind(library, "DrawThemeText", bound.text);
      Bind(library, "GetThemeBackgroundContentRect", bound.content);
    }
    return bound;
  }();
  const bool complete = styles.open && styles.close && styles.background && styles.text && styles.content;
  return complete ? &styles : nullptr;
}

HTHEME OpenStyle(HWND window, const wchar_t* className) {
  const VisualStyles* styles = Styles();
  return styles ? styles->open(window, className) : nullptr;
}

POINT ClientPoint(LPARAM lParam) { return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}; }

POINT CursorInClient(HWND window) {
  POINT at{};
  GetCursorPos(&at);
  ScreenToClient(window, &at);
  return at;
}

constexpr UINT kLabelFormat = DT_CENTER | DT_SINGLELINE;

// The push button's label as the system lays it out: the text's own box,
// measured on one line, centred in the room for it.
RECT CentredLabel(HDC dc, const std::wstring& text, const RECT& room) {
  RECT box = room;
  DrawTextW(dc, text.c_str(), -1, &box, kLabelFormat | DT_CALCRECT);
  const int width = box.right - box.left, height = box.bottom - box.top;
  const int left = room.left + (room.right - room.left - width) / 2;
  const int top = room.top + (room.bottom - room.top - height) / 2;
  return {left, top, left + width, top + height};
}

}  // namespace

DrawnButton::~DrawnButton() { CloseTheme(); }

void DrawnButton::SetText(std::wstring text) {
  text_ = std::move(text);
  Invalidate();
}

void DrawnButton::SetBounds(const RECT& bounds) {
  if (EqualRect(&bounds_, &bounds)) return;
  Invalidate();
  bounds_ = bounds;
  Invalidate();
}

void DrawnButton::Click() {
  if (onClick) onClick();
}

bool DrawnButton::Over(LPARAM lParam) const {
  const POINT at = ClientPoint(lParam);
  return PtInRect(&bounds_, at) != FALSE;
}

void DrawnButton::Invalidate() const {
  if (host_.Handle()) InvalidateRect(host_.Handle(), &bounds_, TRUE);
}

void DrawnButton::SetHot(bool hot) {
  if (hot == hot_) return;
  hot_ = hot;
  // Only the visual style shows it.
  if (theme_) Invalidate();
}

void DrawnButton::CloseTheme() {
  if (theme_) Styles()->close(static_cast<HTHEME>(theme_));
  theme_ = nullptr;
  themeLooked_ = false;
}

void DrawnButton::Paint(HDC dc) {
  RECT clip{}, shared{};
  if (GetClipBox(dc, &clip) == NULLREGION || !IntersectRect(&shared, &clip, &bounds_)) return;
  if (!themeLooked_) {
    theme_ = OpenStyle(host_.Handle(), L"BUTTON");
    themeLooked_ = true;
  }
  const bool pushed = pressed_ && pressedShown_;
  const HGDIOBJ oldFont = SelectObject(dc, host_.FontHandle());
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  RECT frame = bounds_;
  if (auto theme = static_cast<HTHEME>(theme_)) {
    const VisualStyles& styles = *Styles();
    const int state = pushed ? PBS_PRESSED : hot_ ? PBS_HOT : isDefault_ ? PBS_DEFAULTED : PBS_NORMAL;
    styles.background(theme, dc, BP_PUSHBUTTON, state, &frame, nullptr);
    RECT label{};
    styles.content(theme, dc, BP_PUSHBUTTON, state, &frame, &label);
    const RECT text = CentredLabel(dc, text_, label);
    styles.text(theme, dc, BP_PUSHBUTTON, state, text_.c_str(), -1, kLabelFormat, 0, &text);
  } else {
    if (isDefault_) {
      FrameRect(dc, &frame, GetSysColorBrush(COLOR_WINDOWFRAME));
      InflateRect(&frame, -1, -1);
    }
    const UINT look = DFCS_BUTTONPUSH | (pushed ? (isDefault_ ? DFCS_FLAT : DFCS_PUSHED) : 0);
    DrawFrameControl(dc, &frame, DFC_BUTTON, look);
    RECT label = frame;
    InflateRect(&label, -2, -2);
    if (pushed) OffsetRect(&label, 1, 1);
    const COLORREF oldColor = SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    RECT text = CentredLabel(dc, text_, label);
    DrawTextW(dc, text_.c_str(), -1, &text, kLabelFormat);
    SetTextColor(dc, oldColor);
  }
  SetBkMode(dc, oldMode);
  SelectObject(dc, oldFont);
}

std::optional<LRESULT> DrawnButton::HandleMessage(UINT message, WPARAM, LPARAM lParam) {
  switch (message) {
    case WM_THEMECHANGED:
      CloseTheme();
      Invalidate();
      return std::nullopt;
    case WM_MOUSEMOVE: {
      const bool over = Over(lParam);
      if (pressed_) {
        if (over != pressedShown_) {
          pressedShown_ = over;
          Invalidate();
        }
        return std::nullopt;
      }
      SetHot(over);
      if (over && !leaveTracked_) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, host_.Handle(), 0};
        leaveTracked_ = TrackMouseEvent(&track) != FALSE;
      }
      return std::nullopt;
    }
    case WM_MOUSELEAVE:
      leaveTracked_ = false;
      if (!pressed_) SetHot(false);
      return std::nullopt;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (!Over(lParam)) return std::nullopt;
      pressed_ = pressedShown_ = true;
      SetCapture(host_.Handle());
      Invalidate();
      return 0;
    case WM_LBUTTONUP: {
      if (!pressed_) return std::nullopt;
      const bool over = Over(lParam);
      ReleaseCapture();  // WM_CAPTURECHANGED lets the button go
      SetHot(over);
      if (over) Click();
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (pressed_) {
        pressed_ = pressedShown_ = false;
        Invalidate();
      }
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

std::optional<LRESULT> DragArea::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND host = host_.Handle();
  switch (message) {
    case WM_SETCURSOR: {
      if (reinterpret_cast<HWND>(wParam) != host || LOWORD(lParam) != HTCLIENT) return std::nullopt;
      const POINT at = CursorInClient(host);
      if (!PtInRect(&bounds_, at)) return std::nullopt;
      SetCursor(LoadCursorW(nullptr, cursor_));
      return TRUE;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      const POINT at = ClientPoint(lParam);
      if (!PtInRect(&bounds_, at)) return std::nullopt;
      start_ = at;
      ClientToScreen(host, &start_);
      if (onStart) onStart();
      dragging_ = true;
      SetCapture(host);
      return 0;
    }
    case WM_MOUSEMOVE: {
      if (!dragging_) return std::nullopt;
      POINT at = ClientPoint(lParam);
      ClientToScreen(host, &at);
      if (onDrag) onDrag(at.x - start_.x, at.y - start_.y);
      return 0;
    }
    case WM_LBUTTONUP:
      if (!dragging_) return std::nullopt;
      ReleaseCapture();  // WM_CAPTURECHANGED ends the drag
      return 0;
    case WM_CAPTURECHANGED:
      dragging_ = false;
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

void PaintSizeGrip(HWND host, HDC dc, const RECT& bounds) {
  RECT box = bounds;
  box.left = std::max<LONG>(box.left, box.right - GetSystemMetrics(SM_CXVSCROLL));
  box.top = std::max<LONG>(box.top, box.bottom - GetSystemMetrics(SM_CYHSCROLL));
  if (HTHEME theme = OpenStyle(host, L"SCROLLBAR")) {
    Styles()->background(theme, dc, SBP_SIZEBOX, SZB_RIGHTALIGN, &box, nullptr);
    Styles()->close(theme);
    return;
  }
  FillRect(dc, &box, GetSysColorBrush(COLOR_BTNFACE));
  DrawFrameControl(dc, &box, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
}

void ResizeFormKeepingMinimum(HWND form, int width, int height) {
  MINMAXINFO limits{};
  SendMessageW(form, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  width = std::max<int>(width, limits.ptMinTrackSize.x);
  height = std::max<int>(height, limits.ptMinTrackSize.y);
  SetWindowPos(form, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace ui
