#include "keyboard/keyboard_background_form.h"

#include <windowsx.h>

#include "core/debug_log.h"
#include "core/foreground_state.h"
#include "core/preset.h"
#include "keyboard/key_model.h"
#include "keyboard/key_painter.h"
#include "keyboard/keyboard_appearance.h"
#include "keyboard/keyboard_background.h"
#include "keyboard/keyboard_window_rules.h"
#include "keyboard/main_keyboard_form.h"

namespace snibbet {
namespace {

TMainKeyboardBackgroundForm* g_background = nullptr;

constexpr int kCorner = 11;

ui::FormParams BackgroundParams() {
  ui::FormParams params;
  params.className = TMainKeyboardBackgroundForm::kClassName;
  params.border = ui::BorderStyle::None;
  params.clientWidth = 366;
  params.clientHeight = 197;
  // The desktop as owner: no taskbar button, and a click never activates it.
  params.owner = ui::FormOwner::Window;
  params.ownerWindow = GetDesktopWindow();
  params.alwaysOnTop = true;
  params.noActivate = true;
  params.fontFace = L"Tahoma";
  params.fontPointSize = 8;
  return params;
}

// Exactly one button and no Shift or Ctrl with it (Alt is not in the flags).
bool OnlyButton(WPARAM keys, WPARAM button) {
  return (keys & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON | MK_SHIFT | MK_CONTROL | MK_XBUTTON1 | MK_XBUTTON2)) ==
             button &&
         GetKeyState(VK_MENU) >= 0;
}

}  // namespace

TMainKeyboardBackgroundForm* MainKeyboardBackgroundForm() { return g_background; }

TMainKeyboardBackgroundForm::TMainKeyboardBackgroundForm(TMainKeyboardForm& keyboard,
                                                         const KeyboardAppearance& appearance,
                                                         KeyboardWindowPort& port, ForegroundState& foreground)
    : ui::Form(BackgroundParams()), keyboard_(keyboard), appearance_(appearance), port_(port), foreground_(foreground) {}

TMainKeyboardBackgroundForm::~TMainKeyboardBackgroundForm() {
  if (g_background == this) g_background = nullptr;
  // The keyboard window, made first, is still there unless it said otherwise.
  if (!keyboardGone_ && keyboard_.BackgroundWindow() == this) keyboard_.SetBackgroundWindow(nullptr);
}

void TMainKeyboardBackgroundForm::OnCreate() {
  g_background = this;
  DebugLog(L"MainKeyboardBackgroundForm");
  frontGuard_ = paintGuard_ = false;
  SetAlphaBlend(true, kDesignAlpha);
  SetColourKey(true);
  keyboard_.SetBackgroundWindow(this);
}

void TMainKeyboardBackgroundForm::SetColourKey(bool on) {
  colourKeyOn_ = on;
  SetTransparentColor(on, kSeeThroughColour);
}

void TMainKeyboardBackgroundForm::BringToFront() {
  if (!IsVisible() || !keyboard_.IsVisible() || frontGuard_) return;
  frontGuard_ = true;
  ActivateKeyboardLayout(reinterpret_cast<HKL>(keyboard_.Model().CurrentLayout()), 0);
  SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowPos(keyboard_.Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  foreground_.TouchActivityTick();
  frontGuard_ = false;
}

void TMainKeyboardBackgroundForm::FormResize() {
  if (!Handle()) return;
  SetWindowRgn(Handle(), CreateRoundRectRgn(0, 0, Width() + 1, Height() + 1, kCorner, kCorner), TRUE);
  if (!keyboard_.Handle() || !keyboard_.IsVisible()) {
    SetWindowPos(Handle(), nullptr, keyboard_.Left(), keyboard_.Top(), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void TMainKeyboardBackgroundForm::OnSize(int, int) { FormResize(); }

void TMainKeyboardBackgroundForm::OnHide() {
  // Switched on and off once more: the layered attributes are applied afresh.
  if (!colourKeyOn_) {
    SetColourKey(true);
    SetColourKey(false);
  }
}

void TMainKeyboardBackgroundForm::RepaintNow() {
  if (Handle()) RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void TMainKeyboardBackgroundForm::FormPaint(HDC dc) {
  if (paintGuard_) return;
  paintGuard_ = true;
  const RECT client = ClientRect();
  KeyboardPainter& view = keyboard_.Painter();
  if (view.HasBackground()) {
    if (!colourKeyOn_) SetColourKey(true);
    ui::Brush white(CreateSolidBrush(kSeeThroughColour));
    FillRect(dc, &client, white.Get());
    view.PaintBackground(dc, client.right, client.bottom);
  } else {
    ui::Brush face(CreateSolidBrush(appearance_.face));
    FillRect(dc, &client, face.Get());
    TPreset* preset = keyboard_.Settings();
    const auto* held = preset ? dynamic_cast<const HeldBackgroundPicture*>(preset->BackgroundImage().picture.get())
                              : nullptr;
    if (held) {
      const BackgroundPicture& picture = held->Picture();
      for (const TileOrigin tile : BackgroundTileOrigins(client.right, client.bottom, picture.Width(),
                                                         picture.Height(), preset->KeyboardShowCaption()))
        picture.DrawAt(dc, tile.x, tile.y);
    }
  }
  paintGuard_ = false;
}

// Every press brings both windows to the front; only a single press of the
// left or the right button alone goes on to the keyboard window.
void TMainKeyboardBackgroundForm::FormMouseDown(UINT message, WPARAM keys, POINT point) {
  if (!keyboard_.IsVisible()) return;
  BringToFront();
  const LPARAM where = MAKELPARAM(point.x, point.y);
  if (message == WM_LBUTTONDOWN && OnlyButton(keys, MK_LBUTTON)) {
    SendMessageW(keyboard_.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, where);
  } else if (message == WM_RBUTTONDOWN && OnlyButton(keys, MK_RBUTTON)) {
    SendMessageW(keyboard_.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, where);
  }
}

void TMainKeyboardBackgroundForm::FormMouseUp(UINT message, POINT point) {
  if (message != WM_RBUTTONUP) return;
  SetForegroundWindow(keyboard_.Handle());
  POINT screen = point;
  ClientToScreen(Handle(), &screen);
  port_.PopUpTrayMenu(screen);
}

LRESULT TMainKeyboardBackgroundForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (message) {
    case WM_PAINT: {
      ui::PaintDC dc(Handle());
      FormPaint(dc);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
      FormMouseDown(message, wParam, point);
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      FormMouseUp(message, point);
      return 0;
    case WM_MOUSEMOVE:
      if (keyboard_.IsVisible()) keyboard_.PictureMouseMove(point);
      return 0;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    default:
      break;
  }
  return ui::Form::HandleMessage(message, wParam, lParam);
}

}  // namespace snibbet
