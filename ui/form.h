#pragma once
// The base of every top-level window of the program.
//
// Two-step creation: the constructor records the design (FormParams and the
// member controls, timers and menus); Create() then makes the window, the
// controls, calls OnCreate() and ApplyLanguage() — virtual calls that reach
// the derived form because its constructor has finished by then.
//
// The window class name is the form's class name (FormParams::className):
// other programs and the settings store find forms by it. The caption is
// separate.
#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/component.h"
#include "ui/gdi.h"
#include "ui/window.h"

namespace ui {

class Control;

enum class BorderStyle { Sizeable, Dialog, ToolWindow, SizeableToolWindow, None };

namespace border_icon {
inline constexpr unsigned kSystemMenu = 1;
inline constexpr unsigned kMinimize = 2;
inline constexpr unsigned kMaximize = 4;
inline constexpr unsigned kAll = kSystemMenu | kMinimize | kMaximize;
}  // namespace border_icon

// Where a form goes when first shown.
enum class PositionRule {
  Designed,       // FormParams left/top (or wherever the program moved it)
  DesktopCenter,  // centred on the whole desktop (all monitors)
  MonitorCenter,  // centred in the work area of the monitor it lies on
};

enum class WindowState { Normal, Minimized, Maximized };
enum class CloseAction { None, Hide, Free, Minimize };
enum class FormOwner { Application, None, Window };

struct FormParams {
  std::wstring className{};  // e.g. L"TTemplateViewForm"; required
  std::wstring caption{};
  BorderStyle border = BorderStyle::Sizeable;
  unsigned borderIcons = border_icon::kAll;
  PositionRule position = PositionRule::Designed;
  // Design values in pixels at 96 DPI, scaled to the system DPI on creation.
  int left = 0, top = 0;
  int clientWidth = 320, clientHeight = 240;
  int minWidth = 0, minHeight = 0;  // outer size
  FormOwner owner = FormOwner::Application;
  HWND ownerWindow = nullptr;  // with FormOwner::Window
  bool alwaysOnTop = false;
  bool noActivate = false;     // WS_EX_NOACTIVATE: clicks do not activate it
  bool appWindow = false;      // its own taskbar button
  bool dropShadow = false;     // CS_DROPSHADOW for the class
  bool keyboardNavigation = false;  // Tab, Enter, Esc between controls (dialog keys)
  std::optional<COLORREF> background{};  // default: the button face colour
  std::wstring fontFace{};  // default: the system's message font
  int fontPointSize = 0;
  DWORD extraStyle = 0, extraExStyle = 0;
};

class Form : public Window {
 public:
  explicit Form(FormParams params);
  ~Form() override;

  void Create();   // no-op when created; exceptions from OnCreate propagate
  // Destroys the window while the derived object is alive, so OnDestroy runs.
  // Destroying the object instead also destroys the window, but quietly: the
  // derived part is gone by then. The application Destroy()s the forms it owns.
  void Destroy();

  // Re-reads the form's texts; called once on creation and again when the
  // language changes. The base does nothing.
  virtual void ApplyLanguage() {}

  const std::wstring& ClassName() const { return params_.className; }
  unsigned Serial() const { return serial_; }

  Component* FindComponent(std::wstring_view name) const;
  template <class T>
  T* Find(std::wstring_view name) const {
    return dynamic_cast<T*>(FindComponent(name));
  }
  const std::vector<Control*>& Controls() const { return controls_; }

  // Showing and closing.
  void Show();             // shows (creating first if needed) and activates
  void ShowNoActivate();   // shows without taking the foreground
  void Hide();
  void BringToFront();
  void Restore();          // un-minimises
  void Close();            // the close path: CanClose, OnClose, then the action
  void Release();          // destroyed (and freed when owned by the application) from the loop
  int ShowModal();         // runs a modal loop through the application filter
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int result) { modalResult_ = result; }
  bool IsModal() const { return modal_; }

  // Design and placement.
  BorderStyle Border() const { return params_.border; }
  unsigned BorderIcons() const { return params_.borderIcons; }
  PositionRule Position() const { return params_.position; }
  void SetPosition(PositionRule rule) { params_.position = rule; }
  WindowState State() const;
  void SetState(WindowState state);
  void CenterOnMonitor();  // in the work area of the monitor the form lies on
  bool AlwaysOnTop() const;
  void SetAlphaBlend(bool on, BYTE level = 255);
  void SetTransparentColor(bool on, COLORREF color = 0);

  HFONT FontHandle() const { return font_.Get(); }
  LOGFONTW FontDescription() const;
  void SetFont(const LOGFONTW& font);  // the form and all its controls

 protected:
  // The window procedure: typed handlers below, then DefaultHandler. Override
  // for messages of your own and call the base for the rest.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam);

  virtual void OnCreate() {}
  virtual bool OnCommand(WORD id, WORD code, HWND control) { return false; }
  virtual bool OnNotify(NMHDR& header, LRESULT& result) { return false; }
  virtual void OnSize(int clientWidth, int clientHeight) {}
  virtual void OnActivate(bool active) {}
  virtual bool CanClose() { return true; }
  virtual void OnClose(CloseAction& action) {}
  virtual void OnShow() {}
  virtual void OnHide() {}
  virtual void OnDestroy() {}

  // How the window is made; DialogForm builds it from a dialog template.
  virtual HWND CreateHandle(DWORD style, DWORD exStyle, const RECT& outer, HWND owner);
  bool IsDialogBased() const { return dialogBased_; }
  void RegisterFormClass(WNDPROC procedure, int windowExtra);

  const FormParams& Params() const { return params_; }
  HWND OwnerHandle() const;

 private:
  friend class Component;
  friend class Control;
  friend class Application;
  friend class DialogForm;  // dispatch flag, attach, and the border read from its template

  static LRESULT CALLBACK StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Attach(HWND window);
  void Detached();
  bool HandleCommand(WPARAM wParam, LPARAM lParam);
  bool HandleNotify(NMHDR& header, LRESULT& result);
  void CreateControls();
  void CreateDefaultFont();
  void ApplyPositionRule();
  void ApplyLayeredAttributes();
  bool EndModalIfAllowed(CloseAction& action);
  int NextControlId() { return nextControlId_++; }

  FormParams params_;
  unsigned serial_;
  std::vector<Component*> components_;
  std::vector<Control*> controls_;
  Font font_;
  Brush background_;
  WindowState state_ = WindowState::Normal;
  bool shownOnce_ = false;
  bool modal_ = false;
  int modalResult_ = 0;
  bool alpha_ = false;
  BYTE alphaLevel_ = 255;
  bool colorKey_ = false;
  COLORREF colorKeyValue_ = 0;
  bool dialogBased_ = false;
  bool defaulted_ = false;  // DialogForm: the current message fell to the default
  int nextControlId_ = 1000;
};

}  // namespace ui
