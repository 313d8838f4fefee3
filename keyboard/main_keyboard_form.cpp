#include "keyboard/main_keyboard_form.h"

#include <windowsx.h>

#include <algorithm>
#include <iterator>
#include <optional>

#include "core/app_ini.h"
#include "core/debug_log.h"
#include "core/foreground_state.h"
#include "core/key_classes.h"
#include "core/lang_table.h"
#include "core/preset.h"
#include "core/window_helpers.h"
#include "keyboard/key_model.h"
#include "keyboard/key_icons.h"
#include "keyboard/key_painter.h"
#include "keyboard/key_shape.h"
#include "keyboard/keyboard_background_form.h"
#include "keyboard/keyboard_loader.h"
#include "ui/application.h"
#include "ui/exceptions.h"
#include "ui/monitor.h"
#include "ui/tool_tips.h"

namespace snibbet {

// The key hint: a plain pop-up in the system's tooltip colours that never
// takes activation.
class KeyHintWindow {
 public:
  static constexpr int kMaxWidth = 600;

  explicit KeyHintWindow(HWND owner) {
    static const ATOM registered = [] {
      WNDCLASSEXW wc{};
      wc.cbSize = sizeof wc;
      wc.lpfnWndProc = &Procedure;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
      wc.hbrBackground = GetSysColorBrush(COLOR_INFOBK);
      wc.lpszClassName = L"TKeyboardHintWindow";
      return RegisterClassExW(&wc);
    }();
    (void)registered;
    window_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, L"TKeyboardHintWindow", L"",
                              WS_POPUP | WS_BORDER, 0, 0, 0, 0, owner, nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  ~KeyHintWindow() {
    if (window_) DestroyWindow(window_);
  }
  KeyHintWindow(const KeyHintWindow&) = delete;
  KeyHintWindow& operator=(const KeyHintWindow&) = delete;

  // The screen rectangle the text needs with its top-left at `at`.
  RECT Measure(const std::wstring& text, POINT at) const {
    ui::WindowDC dc(window_);
    ui::SelectedObject font(dc, GetStockObject(DEFAULT_GUI_FONT));
    RECT box{0, 0, kMaxWidth, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    return RECT{at.x, at.y, at.x + box.right + 8, at.y + box.bottom + 4};
  }
  void Show(const std::wstring& text, const RECT& bounds) {
    SetWindowTextW(window_, text.c_str());
    SetWindowPos(window_, HWND_TOPMOST, bounds.left, bounds.top, bounds.right - bounds.left,
                 bounds.bottom - bounds.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(window_, nullptr, TRUE);
  }
  void Hide() {
    if (window_ && IsWindowVisible(window_)) ShowWindow(window_, SW_HIDE);
  }
  bool Visible() const { return window_ && IsWindowVisible(window_); }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
      ui::PaintDC dc(window);
      wchar_t text[1024] = {};
      GetWindowTextW(window, text, static_cast<int>(std::size(text)));
      RECT client{};
      GetClientRect(window, &client);
      InflateRect(&client, -3, -1);
      ui::SelectedObject font(dc, GetStockObject(DEFAULT_GUI_FONT));
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
      DrawTextW(dc, text, -1, &client, DT_WORDBREAK | DT_NOPREFIX);
      return 0;
    }
    if (message == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
    return DefWindowProcW(window, message, wParam, lParam);
  }

  HWND window_ = nullptr;
};

namespace {

constexpr int kCaptionButtonSize = 16;
constexpr int kCaptionButtonTop = 2;
constexpr int kCloseButtonOffset = 17;
constexpr int kButtonPanelFromRight = 36;
constexpr int kWindowCorner = 11;
constexpr BYTE kOpaque = 255;
constexpr UINT kHideTickMs = 50;
constexpr int kFadeTicks = 15;
constexpr int kFadeStep = 10;
constexpr int kPrintableSound = 0, kEraseSound = 1, kOtherKeySound = 2;

ui::FormParams KeyboardParams() {
  ui::FormParams params;
  params.className = TMainKeyboardForm::kClassName;
  params.border = ui::BorderStyle::None;
  params.left = TMainKeyboardForm::kOffScreen;
  params.top = TMainKeyboardForm::kOffScreen;
  params.clientWidth = TMainKeyboardForm::kDesignWidth;
  params.clientHeight = TMainKeyboardForm::kDesignHeight;
  // The desktop as parent: no taskbar button, no owner to follow.
  params.owner = ui::FormOwner::Window;
  params.ownerWindow = GetDesktopWindow();
  params.alwaysOnTop = true;
  params.noActivate = true;
  params.background = kTransparentFaceColor;
  params.fontFace = L"Tahoma";
  params.fontPointSize = 8;
  return params;
}

std::optional<std::wstring> ReadText(HKEY key, const wchar_t* name) {
  wchar_t buffer[64] = {};
  DWORD type = 0, size = sizeof buffer - sizeof(wchar_t);
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return std::nullopt;
  return std::wstring(buffer);
}

void PlayKeySound(const TPreset* settings, int slot) {
  if (settings) settings->PlaySound(slot, false);
}

POINT CursorIn(HWND window) {
  POINT cursor{};
  GetCursorPos(&cursor);
  ScreenToClient(window, &cursor);
  return cursor;
}

}  // namespace

KeyRepeatTiming ReadUserKeyRepeat() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Keyboard", 0, KEY_READ, &key) != ERROR_SUCCESS)
    return KeyRepeatTimingFrom(std::nullopt, std::nullopt);
  const std::optional<std::wstring> delay = ReadText(key, L"KeyboardDelay");
  const std::optional<std::wstring> speed = delay ? ReadText(key, L"KeyboardSpeed") : std::nullopt;
  RegCloseKey(key);
  return KeyRepeatTimingFrom(delay, speed);
}

TMainKeyboardForm::TMainKeyboardForm(const KeyboardWindowParts& parts)
    : TQvForm(KeyboardParams()),
      model_(parts.model),
      bindings_(parts.bindings),
      appearance_(parts.appearance),
      port_(parts.port),
      settings_(parts.settings),
      store_(parts.store),
      keyPictures_(parts.keyPictures),
      tmrPress(this, L"tmrPress", 500, [this] { RepeatScreenKey(); }),
      pbKeyboard(*this, {.name = L"pbKeyboard", .width = kDesignWidth, .height = kDesignHeight,
                         .style = WS_CLIPSIBLINGS}),
      tmrHint(this, L"tmrHint", 500, [this] { ShowHintNow(); }),
      tmrHideHint(this, L"tmrHideHint", 2500, [this] { HideHint(); }),
      tmrCheckHint(this, L"tmrCheckHint", 100,
                   [this] {
                     POINT cursor{};
                     GetCursorPos(&cursor);
                     if (PtInRect(&hintRect_, cursor)) HideHint();
                   }),
      tmrShow(this, L"tmrShow", 500, [this] { tmrShowTimer(); }),
      tmrHide(this, L"tmrHide", kHideTickMs, [this] { tmrHideTimer(); }),
      btnAutoHide(*this, L"btnAutoHide", parts.appearance, parts.buttonPictures),
      btnClose(*this, L"btnClose", parts.appearance, parts.buttonPictures) {
  pbKeyboard.onPaint = [this](HDC dc, const RECT& client) {
    if (painter_) painter_->PaintTo(dc, client.right, client.bottom);
  };
  pbKeyboard.onMouse = [this](UINT message, POINT point, WPARAM) {
    switch (message) {
      case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: return PictureMouseDown(ScreenMouseButton::Left, point);
      // The second press of a double click is a press too.
      case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: return PictureMouseDown(ScreenMouseButton::Right, point);
      case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: return PictureMouseDown(ScreenMouseButton::Middle, point);
      case WM_LBUTTONUP: return PictureMouseUp(ScreenMouseButton::Left, point);
      case WM_RBUTTONUP: return PictureMouseUp(ScreenMouseButton::Right, point);
      case WM_MBUTTONUP: return PictureMouseUp(ScreenMouseButton::Middle, point);
      case WM_MOUSEMOVE: return PictureMouseMove(point);
      default: return;
    }
  };
  pbKeyboard.onMouseLeave = [this] { PictureMouseLeave(); };
  btnClose.onClick = [this] {
    Hide();
    AfterTitleButton();
  };
  btnAutoHide.onClick = [this] {
    if (settings_) settings_->SetKeyboardAutoHide(!settings_->KeyboardAutoHide());
    AfterTitleButton();
  };
  // Leaving a button is leaving the picture; entering one keeps the window shown.
  btnClose.onLeave = btnAutoHide.onLeave = [this] { PictureMouseLeave(); };
}

TMainKeyboardForm::~TMainKeyboardForm() {
  // The background window, made after this one, is usually gone already.
  if (background_) background_->KeyboardWindowGone();
}

void TMainKeyboardForm::OnCreate() {
  DebugLog(L"MainKeyboardForm");
  hint_ = std::make_unique<KeyHintWindow>(Handle());
  stickyKeys_.fill(false);
  dragOrigin_ = gestureStart_ = {kNoPoint, kNoPoint};
  gestureKey_ = 0;

  painter_ = std::make_unique<KeyboardPainter>(model_, bindings_);
  painter_->SetTarget(pbKeyboard.Handle());
  painter_->SetAppearance(appearance_);
  painter_->SetTransparentFace(true);
  painter_->SetTwoShapeStates(true);
  painter_->settings = [settings = settings_] { return KeyPaintSettings::FromPreset(settings); };
  ConnectKeyPictures(*painter_, keyPictures_);

  repeat_ = ReadUserKeyRepeat();

  SetAlphaBlend(true, kOpaque);
  SetTransparentColor(true, kTransparentFaceColor);

  SetWindowPos(Handle(), nullptr, kOffScreen, kOffScreen, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (store_) {
    try {
      store_->LoadFormPlacement(Handle(), /*positionOnly=*/true);
    } catch (const RegistryError&) {
      // A value of another type: the window stays off screen, and the program starts.
    }
  }

  const TPreset* preset = settings_;
  buttonPanelLeft_ = ClientWidth() - kButtonPanelFromRight;
  btnAutoHide.ShowAt(buttonPanelLeft_, preset && preset->KeyboardAutoHide() ? kAutoHideImageOn : kAutoHideImageOff,
                     kCaptionButtonSize, kCaptionButtonSize, kCaptionButtonTop);
  btnClose.ShowAt(buttonPanelLeft_ + kCloseButtonOffset, kCloseImage, kCaptionButtonSize, kCaptionButtonSize,
                  kCaptionButtonTop);
  // After every full redraw of the view the buttons are painted over it again.
  painter_->onRedrawn = [this] {
    btnAutoHide.Invalidate();
    btnClose.Invalidate();
  };
}

void TMainKeyboardForm::ApplyLanguage() {
  TQvForm::ApplyLanguage();
  buttonHints_.SetHint(*this, btnAutoHide, LangText(521, L"Hide automatically"));
  buttonHints_.SetHint(*this, btnClose, LangText(105, L"Close"));
  model_.Redraw();
}

void TMainKeyboardForm::OnShow() {
  const TPreset* preset = settings_;
  if (preset && model_.LayoutName() != preset->KeyboardName()) {
    LoadLayoutFromSettings();
  } else {
    FollowWithBackground();
  }
  ApplyAlphaBlend();
  if (background_) {
    background_->SetAlphaBlend(true, 5);
    background_->ShowNoActivate();
    SetWindowPos(background_->Handle(), Handle(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const BYTE alpha = preset ? preset->BackgroundAlphaBlend() : TMainKeyboardBackgroundForm::kDesignAlpha;
    background_->SetAlphaBlend(alpha < kOpaque, alpha);
  }
  model_.SetPainting(true);
  tmrShow.Stop();
  tmrHide.Stop();
  mouseMoved_ = false;
  shownCursor_ = CursorIn(pbKeyboard.Handle());
  port_.CheckKeyboardTrayItem(true);
}

void TMainKeyboardForm::OnHide() {
  if (background_) background_->Hide();
  // Nobody sees the picture now: the hook's key changes paint nothing.
  model_.SetPainting(false);
  tmrHide.Stop();
  HideHint();
  port_.CheckKeyboardTrayItem(false);
}

void TMainKeyboardForm::OnClose(ui::CloseAction& action) { action = ui::CloseAction::Hide; }

void TMainKeyboardForm::OnDestroy() {
  tmrPress.Stop();
  // Like the settings, the position is written only by a run that read them:
  // a start that ended early leaves the settings key as it was.
  if (store_ && settings_ && settings_->Loaded()) store_->SaveFormPlacement(Handle(), /*positionOnly=*/true);
  hint_.reset();
  // The model outlives the window; it must not paint into a window that is gone.
  model_.SetPainting(false);
  painter_.reset();
}

void TMainKeyboardForm::ConnectIconSets(const KeyIconSets& sets) {
  if (painter_)
    ConnectKeyIcons(*painter_, model_, sets, [settings = settings_] { return KeyIconSettings::FromPreset(settings); });
}

void TMainKeyboardForm::LoadLayoutFromSettings() {
  const TPreset* preset = settings_;
  LoadKeyboard(model_, painter_.get(), preset ? preset->KeyboardName() : L"Standard");
  const int width = model_.Layout().width, height = model_.Layout().height;
  const int borderWidth = Width() - pbKeyboard.Width(), borderHeight = Height() - pbKeyboard.Height();
  pbKeyboard.SetBounds(0, 0, width, height);
  SetWindowPos(Handle(), nullptr, 0, 0, width + borderWidth, height + borderHeight,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowRgn(Handle(), CreateRoundRectRgn(0, 0, Width() + 1, Height() + 1, kWindowCorner, kWindowCorner), TRUE);
  buttonPanelLeft_ = Width() - kButtonPanelFromRight;
  PlaceTitleButtons();
  model_.Redraw();
  KeepFormOnMonitor(Handle());
  FollowWithBackground();
}

void TMainKeyboardForm::PlaceTitleButtons() {
  SetWindowPos(btnAutoHide.Handle(), HWND_TOP, buttonPanelLeft_, kCaptionButtonTop, 0, 0,
               SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowPos(btnClose.Handle(), HWND_TOP, buttonPanelLeft_ + kCloseButtonOffset, kCaptionButtonTop, 0, 0,
               SWP_NOSIZE | SWP_NOACTIVATE);
}

void TMainKeyboardForm::FollowWithBackground() {
  if (!background_ || !background_->Handle()) return;
  const RECT bounds = Bounds();
  SetWindowPos(background_->Handle(), nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
               bounds.bottom - bounds.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TMainKeyboardForm::ApplyAlphaBlend() {
  const TPreset* preset = settings_;
  const BYTE alpha = preset ? preset->KeyboardAlphaBlend() : kOpaque;
  const BYTE backgroundAlpha = preset ? preset->BackgroundAlphaBlend() : TMainKeyboardBackgroundForm::kDesignAlpha;
  SetAlphaBlend(alpha < kOpaque, alpha);
  if (background_) background_->SetAlphaBlend(backgroundAlpha < kOpaque, backgroundAlpha);
  if (painter_) painter_->SetFrameVisible(backgroundAlpha != 0);
  hideCountdown_ = (preset ? preset->KeyboardHideDelay() : 0) / static_cast<int>(kHideTickMs);
}

void TMainKeyboardForm::ApplyAppearance() {
  if (!painter_) return;
  painter_->SetAppearance(appearance_);
  btnAutoHide.Invalidate();
  btnClose.Invalidate();
}

bool TMainKeyboardForm::IsMouseOverKeyboard() const {
  if (!IsVisible()) return false;
  POINT cursor{};
  GetCursorPos(&cursor);
  const RECT bounds = Bounds();
  return PtInRect(&bounds, cursor) != FALSE;
}

void TMainKeyboardForm::HideTitleButtons() {
  btnAutoHide.SetVisible(false);
  btnClose.SetVisible(false);
}

void TMainKeyboardForm::AfterTitleButton() {
  // An open settings window saves the settings itself, on Apply.
  if (port_.SettingsWindowOpen()) return;
  if (settings_) settings_->Save();
}

// ---- the mouse on the picture ----

void TMainKeyboardForm::PictureMouseDown(ScreenMouseButton button, POINT point) {
  mouseMoved_ = true;
  const TPreset* preset = settings_;
  int whichShape = 0;
  if (const TQvBtn* key = painter_ ? painter_->KeyAt(point.x, point.y, whichShape) : nullptr) {
    if (preset && preset->UseGestures()) {
      gestureKey_ = key->Code();
      gestureStart_ = point;
    } else {
      PressScreenKey(key->Code(), button);
    }
  } else if (button == ScreenMouseButton::Left && !(preset && preset->AccessDenied())) {
    GetCursorPos(&dragOrigin_);
    // The cursor may leave the window faster than the window follows it.
    SetCapture(pbKeyboard.Handle());
  }
  model_.Present();
}

void TMainKeyboardForm::PictureMouseUp(ScreenMouseButton button, POINT point) {
  const TPreset* preset = settings_;
  if (preset && preset->UseGestures() && gestureKey_) {
    const int key = gestureKey_;
    gestureKey_ = 0;
    switch (DecideGesture(gestureStart_.x - point.x, gestureStart_.y - point.y, preset->SensitivityGestures())) {
      case GestureResult::Backspace: PressScreenKey(kVkBack, button); break;
      case GestureResult::Space: PressScreenKey(kVkSpace, button); break;
      case GestureResult::KeyAsRightClick: PressScreenKey(key, ScreenMouseButton::Right); break;
      case GestureResult::Enter: PressScreenKey(kVkReturn, button); break;
      case GestureResult::KeyItself: PressScreenKey(key, button); break;
    }
  }
  gestureKey_ = 0;
  const bool wasDragging = Dragging();
  dragOrigin_ = gestureStart_ = {kNoPoint, kNoPoint};
  if (wasDragging && GetCapture() == pbKeyboard.Handle()) ReleaseCapture();
  if (heldKey_ && tmrPress.Enabled()) ReleaseHeldKey();
}

void TMainKeyboardForm::ReleaseHeldKey() {
  tmrPress.Stop();
  // Modifiers clicked to stay down for this key are let go with it.
  for (int code = kFirstKeyCode; code <= kLastKeyCode; ++code) {
    if (code == heldKey_ || !stickyKeys_[static_cast<std::size_t>(code)]) continue;
    if (const TQvBtn* key = model_.Button(code); key && key->Pressed()) stickyKeys_[static_cast<std::size_t>(code)] = false;
  }
  model_.SetKeyPressed(heldKey_, false);
  heldKey_ = 0;
}

void TMainKeyboardForm::PictureMouseMove(POINT point) {
  if (!mouseMoved_ && (point.x != shownCursor_.x || point.y != shownCursor_.y)) mouseMoved_ = true;
  if (!painter_) return;
  if (!Dragging()) {
    const int before = hintKey_;
    painter_->HighlightKeyAt(point.x, point.y);
    const TQvBtn* key = painter_->HighlightedKey();
    hintKey_ = key ? key->Code() : 0;
    if (!key) {
      HideHint();
    } else if (hintKey_ != before) {
      UpdateHint();
    }
    return;
  }
  POINT cursor{};
  GetCursorPos(&cursor);
  const RECT before = Bounds();
  const int left = before.left + cursor.x - dragOrigin_.x, top = before.top + cursor.y - dragOrigin_.y;
  const RECT work = ui::MonitorWorkArea(Handle());
  const ScreenPoint place = SnapToWorkArea(
      {left, top, left + before.right - before.left, top + before.bottom - before.top},
      {work.left, work.top, work.right, work.bottom});
  SetWindowPos(Handle(), nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  const RECT after = Bounds();
  // The origin moves only with the window: held at an edge, the cursor's
  // distance adds up until it pulls the window off the edge again.
  if (after.left != before.left) dragOrigin_.x = cursor.x;
  if (after.top != before.top) dragOrigin_.y = cursor.y;
  FollowWithBackground();
}

void TMainKeyboardForm::PictureMouseLeave() {
  // Also during a drag: the leave ends it as the left button's release would.
  if (painter_) painter_->ClearHighlight(true);
  hintKey_ = 0;
  HideHint();
  PictureMouseUp(ScreenMouseButton::Left, CursorIn(pbKeyboard.Handle()));
}

void TMainKeyboardForm::PressScreenKey(int code, ScreenMouseButton button) {
  if (IsModifierKey(code)) {
    // Held down by the sent key while it sticks, let go by the next click.
    stickyKeys_[static_cast<std::size_t>(code)] = !model_.IsKeyPressed(code);
    PlayKeySound(settings_, kOtherKeySound);
    port_.SendScreenKey(static_cast<std::uint8_t>(code), button);
    return;
  }
  heldKey_ = code;
  rightButtonMode_ = button == ScreenMouseButton::Right;
  middleButtonMode_ = button == ScreenMouseButton::Middle;
  RepeatScreenKey();
}

void TMainKeyboardForm::RepeatScreenKey() {
  if (!heldKey_) return;
  if (!tmrPress.Enabled()) {
    tmrPress.SetInterval(static_cast<UINT>(repeat_.delayMs));
    tmrPress.Start();
  } else {
    tmrPress.SetInterval(static_cast<UINT>(repeat_.intervalMs));
  }
  PlayKeySound(settings_, IsPrintableKey(heldKey_)                     ? kPrintableSound
                          : heldKey_ == kVkBack || heldKey_ == kVkDelete ? kEraseSound
                                                                         : kOtherKeySound);
  const ScreenMouseButton button = rightButtonMode_    ? ScreenMouseButton::Right
                                   : middleButtonMode_ ? ScreenMouseButton::Middle
                                                       : ScreenMouseButton::Left;
  port_.SendScreenKey(static_cast<std::uint8_t>(heldKey_), button);
}

// ---- key hints ----

void TMainKeyboardForm::UpdateHint() {
  // The hook calls this on every modifier change: with no key under the
  // mouse (always so while the window is hidden) it ends at the first test.
  if (!painter_ || !painter_->HighlightedKey() || !IsVisible()) return;
  const TPreset* preset = settings_;
  if (!preset || !preset->ShowIconHints()) return;
  if (tmrHideHint.Enabled()) {
    tmrHideHint.Stop();
    tmrCheckHint.Stop();
    ShowHintNow();
  } else {
    tmrHint.Start();
  }
}

void TMainKeyboardForm::ShowHintNow() {
  tmrHint.Stop();
  const TQvBtn* key = painter_ ? painter_->HighlightedKey() : nullptr;
  const std::wstring text = key ? painter_->GetHint(*key) : std::wstring();
  if (text.empty()) return HideHint();
  const KeyShape& points = key->Linked() ? key->Linked()->Points() : key->Points();
  if (points.empty()) return HideHint();
  POINT at{points[0].x, points[0].y + KeyHeight(points)};
  ClientToScreen(pbKeyboard.Handle(), &at);
  hintRect_ = hint_->Measure(text, at);
  hint_->Show(text, hintRect_);
  tmrHideHint.Start();
  tmrCheckHint.Start();
}

void TMainKeyboardForm::HideHint() {
  tmrHint.Stop();
  tmrHideHint.Stop();
  tmrCheckHint.Stop();
  if (hint_) hint_->Hide();
}

// ---- delayed showing and the fade-out (not started in this program) ----

void TMainKeyboardForm::tmrShowTimer() {
  tmrShow.Stop();
  if (!port_.NoProgramWindowShown()) return;
  model_.SetPainting(true);
  ActivateKeyboardLayout(reinterpret_cast<HKL>(model_.CurrentLayout()), 0);
  ShowNoActivate();
}

void TMainKeyboardForm::tmrHideTimer() {
  --hideCountdown_;
  if (hideCountdown_ < 1) {
    tmrHide.Stop();
    model_.SetPainting(false);
    ActivateKeyboardLayout(reinterpret_cast<HKL>(model_.CurrentLayout()), 0);
    Hide();
    return;
  }
  if (hideCountdown_ < kFadeTicks) {
    BYTE alpha = 0, backgroundAlpha = 1;
    COLORREF key = 0;
    DWORD flags = 0;
    if (GetLayeredWindowAttributes(Handle(), &key, &alpha, &flags))
      SetAlphaBlend(true, static_cast<BYTE>(std::max(0, alpha - kFadeStep)));
    if (background_ && GetLayeredWindowAttributes(background_->Handle(), &key, &backgroundAlpha, &flags))
      background_->SetAlphaBlend(true, static_cast<BYTE>(std::max(1, backgroundAlpha - kFadeStep)));
  }
}

// Forwarded by the background window: a click through the see-through face.
LRESULT TMainKeyboardForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
      const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      PictureMouseDown(message == WM_LBUTTONDOWN ? ScreenMouseButton::Left : ScreenMouseButton::Right, point);
      return 0;
    }
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    default:
      break;
  }
  return TQvForm::HandleMessage(message, wParam, lParam);
}

void PrepareKeyboardWindowsHidden(TMainKeyboardForm& keyboard) {
  // Never shown here: a showing, even off screen, makes the view's picture,
  // a bitmap of the layout's size, for nobody to see.
  keyboard.LoadLayoutFromSettings();
  keyboard.ApplyAlphaBlend();
}

}  // namespace snibbet
