#include "ui/form.h"

#include <stdexcept>
#include <system_error>

#include "ui/application.h"
#include "ui/control.h"
#include "ui/exceptions.h"
#include "ui/forms.h"
#include "ui/monitor.h"
#include "ui/window_class.h"

namespace ui {
namespace {

unsigned g_nextSerial = 1;

HINSTANCE ModuleInstance() {
  Application* app = Application::Existing();
  return app ? app->Module() : GetModuleHandleW(nullptr);
}

DWORD StyleFor(BorderStyle border, unsigned icons) {
  using namespace border_icon;
  DWORD style = WS_CLIPCHILDREN;
  bool caption = true, minMax = false;
  switch (border) {
    case BorderStyle::Sizeable: style |= WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME; minMax = true; break;
    case BorderStyle::Dialog: style |= WS_POPUP | WS_CAPTION; break;
    case BorderStyle::ToolWindow: style |= WS_POPUP | WS_CAPTION; break;
    case BorderStyle::SizeableToolWindow: style |= WS_POPUP | WS_CAPTION | WS_THICKFRAME; break;
    case BorderStyle::None: style |= WS_POPUP; caption = false; break;
  }
  if (caption && (icons & kSystemMenu)) {
    style |= WS_SYSMENU;
    if (minMax && (icons & kMinimize)) style |= WS_MINIMIZEBOX;
    if (minMax && (icons & kMaximize)) style |= WS_MAXIMIZEBOX;
  }
  return style;
}

DWORD ExStyleFor(const FormParams& p) {
  DWORD ex = p.extraExStyle;
  if (p.border == BorderStyle::Dialog) ex |= WS_EX_DLGMODALFRAME;
  if (p.border == BorderStyle::ToolWindow || p.border == BorderStyle::SizeableToolWindow) ex |= WS_EX_TOOLWINDOW;
  if (p.alwaysOnTop) ex |= WS_EX_TOPMOST;
  if (p.noActivate) ex |= WS_EX_NOACTIVATE;
  if (p.appWindow) ex |= WS_EX_APPWINDOW;
  return ex;
}

// Windows of this thread disabled while a modal form runs; enabled again on scope exit.
class DisabledThreadWindows {
 public:
  explicit DisabledThreadWindows(HWND except) : except_(except) {
    EnumThreadWindows(GetCurrentThreadId(), &Collect, reinterpret_cast<LPARAM>(this));
  }
  ~DisabledThreadWindows() {
    for (HWND w : disabled_) {
      if (IsWindow(w)) EnableWindow(w, TRUE);
    }
  }
  DisabledThreadWindows(const DisabledThreadWindows&) = delete;
  DisabledThreadWindows& operator=(const DisabledThreadWindows&) = delete;

 private:
  static BOOL CALLBACK Collect(HWND window, LPARAM self) {
    auto* me = reinterpret_cast<DisabledThreadWindows*>(self);
    if (window != me->except_ && IsWindowVisible(window) && IsWindowEnabled(window)) {
      EnableWindow(window, FALSE);
      me->disabled_.push_back(window);
    }
    return TRUE;
  }
  HWND except_;
  std::vector<HWND> disabled_;
};

}  // namespace

Form::Form(FormParams params) : params_(std::move(params)), serial_(g_nextSerial++) {
  if (params_.className.empty()) throw std::invalid_argument("a form needs a class name");
  if (params_.background) background_.Reset(CreateSolidBrush(*params_.background));
}

Form::~Form() {
  if (hwnd_) {
    // The derived part is gone: let the window die without calling into it.
    SetWindowLongPtrW(hwnd_, IsDialogBased() ? DWLP_USER : GWLP_USERDATA, 0);
    HWND window = hwnd_;
    Detached();
    DestroyWindow(window);
  }
}

void Form::RegisterFormClass(WNDPROC procedure, int windowExtra) {
  Application* app = Application::Existing();
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS | (params_.dropShadow ? CS_DROPSHADOW : 0);
  wc.lpfnWndProc = procedure;
  wc.cbWndExtra = windowExtra;
  wc.hInstance = ModuleInstance();
  wc.hIcon = app ? app->Icon() : nullptr;
  wc.hIconSm = app ? app->SmallIcon() : nullptr;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = params_.className.c_str();
  EnsureWindowClass(wc);
}

HWND Form::OwnerHandle() const {
  switch (params_.owner) {
    case FormOwner::Application: return ApplicationWindow();
    case FormOwner::None: return nullptr;
    case FormOwner::Window: return params_.ownerWindow;
  }
  return nullptr;
}

HWND Form::CreateHandle(DWORD style, DWORD exStyle, const RECT& outer, HWND owner) {
  RegisterFormClass(&Form::StaticWindowProc, 0);
  return CreateWindowExW(exStyle, params_.className.c_str(), params_.caption.c_str(), style, outer.left, outer.top,
                         outer.right - outer.left, outer.bottom - outer.top, owner, nullptr, ModuleInstance(), this);
}

void Form::Create() {
  if (hwnd_) return;
  const DWORD style = StyleFor(params_.border, params_.borderIcons) | params_.extraStyle;
  const DWORD exStyle = ExStyleFor(params_);
  RECT outer{0, 0, ScaleToDpi(params_.clientWidth), ScaleToDpi(params_.clientHeight)};
  AdjustWindowRectEx(&outer, style, FALSE, exStyle);
  OffsetRect(&outer, params_.left - outer.left, params_.top - outer.top);

  HWND window = CreateHandle(style, exStyle, outer, OwnerHandle());
  if (!window) {
    throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), "CreateWindowEx failed");
  }
  Attach(window);
  detail::AddForm(this);
  try {
    if (!IsDialogBased()) CreateDefaultFont();
    CreateControls();
    ApplyLayeredAttributes();
    OnCreate();
    ApplyLanguage();
  } catch (...) {
    Destroy();
    throw;
  }
}

void Form::Destroy() {
  if (hwnd_) DestroyWindow(hwnd_);
}

void Form::Attach(HWND window) {
  hwnd_ = window;
  SetWindowLongPtrW(window, IsDialogBased() ? DWLP_USER : GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void Form::Detached() {
  hwnd_ = nullptr;
  for (Control* c : controls_) c->hwnd_ = nullptr;
  detail::RemoveForm(this);
}

void Form::CreateDefaultFont() {
  LOGFONTW lf{};
  if (params_.fontFace.empty()) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    lf = metrics.lfMessageFont;
  } else {
    lf.lfHeight = -MulDiv(params_.fontPointSize > 0 ? params_.fontPointSize : 8, SystemDpi(), 72);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(lf.lfFaceName, params_.fontFace.c_str(), LF_FACESIZE);
  }
  font_.Reset(CreateFontIndirectW(&lf));
}

void Form::CreateControls() {
  for (Control* c : controls_) c->Realize();
}

LOGFONTW Form::FontDescription() const {
  LOGFONTW lf{};
  if (HFONT font = FontHandle() ? FontHandle() : reinterpret_cast<HFONT>(Send(WM_GETFONT))) {
    GetObjectW(font, sizeof lf, &lf);
  }
  return lf;
}

void Form::SetFont(const LOGFONTW& font) {
  Font replacement(CreateFontIndirectW(&font));
  if (!replacement) return;
  // Controls still point at the old font until told otherwise: switch them first.
  for (Control* c : controls_) {
    if (c->hwnd_ && c->TakesFormFont())
      SendMessageW(c->hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(replacement.Get()), TRUE);
  }
  if (hwnd_) Send(WM_SETFONT, reinterpret_cast<WPARAM>(replacement.Get()), TRUE);
  font_ = std::move(replacement);
}

Component* Form::FindComponent(std::wstring_view name) const {
  for (Component* c : components_) {
    if (c->Name() == name) return c;
  }
  return nullptr;
}

// --- showing and closing ---------------------------------------------------

void Form::Show() {
  Create();
  if (!shownOnce_) {
    ApplyPositionRule();
    shownOnce_ = true;
  }
  int command = SW_SHOW;
  if (state_ == WindowState::Maximized) command = SW_SHOWMAXIMIZED;
  if (state_ == WindowState::Minimized) command = SW_SHOWMINIMIZED;
  if (params_.noActivate && command == SW_SHOW) command = SW_SHOWNA;
  ShowWindow(hwnd_, command);
  if (!params_.noActivate) SetForegroundWindow(hwnd_);
}

void Form::ShowNoActivate() {
  Create();
  if (!shownOnce_) {
    ApplyPositionRule();
    shownOnce_ = true;
  }
  ShowWindow(hwnd_, SW_SHOWNA);
}

void Form::Hide() {
  if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
}

void Form::BringToFront() {
  if (!hwnd_) return;
  const bool onTop = AlwaysOnTop();
  SetWindowPos(hwnd_, onTop ? HWND_TOPMOST : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (!params_.noActivate) SetForegroundWindow(hwnd_);
}

void Form::Restore() {
  if (hwnd_ && IsIconic(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
  state_ = WindowState::Normal;
}

void Form::Close() {
  if (!hwnd_) return;
  if (modal_) {
    if (!modalResult_) modalResult_ = IDCANCEL;  // the modal loop asks CanClose/OnClose
    return;
  }
  if (!CanClose()) return;
  CloseAction action = CloseAction::Hide;
  OnClose(action);
  switch (action) {
    case CloseAction::None: break;
    case CloseAction::Hide: Hide(); break;
    case CloseAction::Minimize: ShowWindow(hwnd_, SW_MINIMIZE); break;
    case CloseAction::Free: Release(); break;
  }
}

void Form::Release() {
  HWND appWindow = ApplicationWindow();
  if (appWindow) {
    PostMessageW(appWindow, kReleaseFormMessage, serial_, 0);
  } else {
    Destroy();
  }
}

bool Form::EndModalIfAllowed(CloseAction& action) {
  if (!CanClose()) return false;
  action = CloseAction::Hide;
  OnClose(action);
  return action != CloseAction::None;
}

int Form::ShowModal() {
  Application& app = Application::Get();
  Create();
  if (modal_) throw std::logic_error("the form is already modal");
  modalResult_ = 0;
  modal_ = true;
  CloseAction action = CloseAction::Hide;
  {
    DisabledThreadWindows disabled(hwnd_);
    Show();
    while (hwnd_) {
      if (!app.HandleMessage()) {
        if (!modalResult_) modalResult_ = IDCANCEL;
        break;
      }
      if (modalResult_ != 0) {
        if (EndModalIfAllowed(action)) break;
        modalResult_ = 0;
      }
    }
  }  // the other windows are enabled again before this one hides, so activation goes back to them
  modal_ = false;
  Hide();
  if (action == CloseAction::Free) Release();
  return modalResult_;
}

// --- placement -------------------------------------------------------------

WindowState Form::State() const {
  if (!hwnd_ || !IsWindowVisible(hwnd_)) return state_;
  if (IsIconic(hwnd_)) return WindowState::Minimized;
  if (IsZoomed(hwnd_)) return WindowState::Maximized;
  return WindowState::Normal;
}

void Form::SetState(WindowState state) {
  state_ = state;
  if (!IsVisible()) return;  // applied when shown
  ShowWindow(hwnd_, state == WindowState::Maximized   ? SW_MAXIMIZE
                    : state == WindowState::Minimized ? SW_MINIMIZE
                                                      : SW_RESTORE);
}

void Form::CenterOnMonitor() {
  if (!hwnd_) return;
  const int width = Width(), height = Height();
  const POINT corner = CenteredIn(MonitorWorkArea(hwnd_), width, height);
  SetBounds(corner.x, corner.y, width, height);
}

void Form::ApplyPositionRule() {
  switch (params_.position) {
    case PositionRule::Designed: break;
    case PositionRule::MonitorCenter: CenterOnMonitor(); break;
    case PositionRule::DesktopCenter: {
      const int width = Width(), height = Height();
      const POINT corner = CenteredIn(VirtualDesktop(), width, height);
      SetBounds(corner.x, corner.y, width, height);
      break;
    }
  }
}

bool Form::AlwaysOnTop() const {
  if (!hwnd_) return params_.alwaysOnTop;
  return (GetWindowLongPtrW(hwnd_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

void Form::SetAlphaBlend(bool on, BYTE level) {
  alpha_ = on;
  alphaLevel_ = level;
  ApplyLayeredAttributes();
}

void Form::SetTransparentColor(bool on, COLORREF color) {
  colorKey_ = on;
  colorKeyValue_ = color;
  ApplyLayeredAttributes();
}

void Form::ApplyLayeredAttributes() {
  if (!hwnd_) return;
  const LONG_PTR ex = GetWindowLongPtrW(hwnd_, GWL_EXSTYLE);
  if (alpha_ || colorKey_) {
    if (!(ex & WS_EX_LAYERED)) SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, ex | WS_EX_LAYERED);
    SetLayeredWindowAttributes(hwnd_, colorKeyValue_, alphaLevel_,
                               (alpha_ ? LWA_ALPHA : 0) | (colorKey_ ? LWA_COLORKEY : 0));
  } else if (ex & WS_EX_LAYERED) {
    SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, ex & ~WS_EX_LAYERED);
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
  }
}

// --- messages --------------------------------------------------------------

LRESULT CALLBACK Form::StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Form* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->Attach(window);
  } else {
    self = reinterpret_cast<Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcW(window, message, wParam, lParam);

  LRESULT result = 0;
  try {
    result = self->HandleMessage(message, wParam, lParam);
  } catch (...) {
    HandleException(std::current_exception());
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->Detached();
  }
  return result;
}

LRESULT Form::DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam) {
  if (IsDialogBased()) {
    defaulted_ = true;  // the dialog manager's own handling follows
    return 0;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

bool Form::HandleCommand(WPARAM wParam, LPARAM lParam) {
  const WORD id = LOWORD(wParam), code = HIWORD(wParam);
  HWND control = reinterpret_cast<HWND>(lParam);
  if (control) {
    for (Control* c : controls_) {
      if (c->hwnd_ == control) {
        if (c->OnCommandReflected(code)) return true;
        break;
      }
    }
  }
  if (OnCommand(id, code, control)) return true;
  // Enter and Esc of the dialog keys, or OK/Cancel buttons without handlers.
  if (id == IDCANCEL) {
    if (modal_) modalResult_ = IDCANCEL;
    else Close();
    return true;
  }
  if (id == IDOK && modal_) {
    modalResult_ = IDOK;
    return true;
  }
  return false;
}

bool Form::HandleNotify(NMHDR& header, LRESULT& result) {
  for (Control* c : controls_) {
    if (c->hwnd_ == header.hwndFrom) {
      if (c->OnNotifyReflected(header, result)) return true;
      break;
    }
  }
  return OnNotify(header, result);
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (HandleCommand(wParam, lParam)) return 0;
      break;
    case WM_NOTIFY: {
      LRESULT result = 0;
      if (HandleNotify(*reinterpret_cast<NMHDR*>(lParam), result)) return result;
      break;
    }
    case WM_CLOSE:
      Close();
      return 0;
    case WM_ACTIVATE:
      detail::SetActiveForm(this, LOWORD(wParam) != WA_INACTIVE);
      OnActivate(LOWORD(wParam) != WA_INACTIVE);
      break;
    case WM_SHOWWINDOW:
      if (lParam == 0) {
        if (wParam) OnShow();
        else OnHide();
      }
      break;
    case WM_SIZE:
      OnSize(LOWORD(lParam), HIWORD(lParam));
      break;
    case WM_GETMINMAXINFO:
      if (params_.minWidth > 0 || params_.minHeight > 0) {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize.x = ScaleToDpi(params_.minWidth);
        info->ptMinTrackSize.y = ScaleToDpi(params_.minHeight);
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      if (background_ && !IsDialogBased()) {
        RECT r = ClientRect();
        FillRect(reinterpret_cast<HDC>(wParam), &r, background_.Get());
        return 1;
      }
      break;
    case WM_CTLCOLORDLG:
      if (background_) return reinterpret_cast<LRESULT>(background_.Get());
      break;
    case WM_DESTROY:
      OnDestroy();
      break;
    default:
      break;
  }
  return DefaultHandler(message, wParam, lParam);
}

}  // namespace ui
