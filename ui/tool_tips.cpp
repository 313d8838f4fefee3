#include "ui/tool_tips.h"

#include <commctrl.h>

#include "ui/form.h"
#include "ui/window.h"

namespace ui {

ToolTips::~ToolTips() {
  if (tips_) DestroyWindow(tips_);
}

void ToolTips::SetHint(const Form& form, const Window& control, const std::wstring& hint) {
  if (!control.Handle()) return;
  if (!tips_) {
    tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0,
                            0, form.Handle(), nullptr, nullptr, nullptr);
    if (!tips_) return;
  }
  SetHintOf(control.Handle(), form.Handle(), hint);
  for (HWND child = GetWindow(control.Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    SetHintOf(child, control.Handle(), hint);
  }
}

void ToolTips::SetHintOf(HWND tool, HWND parent, const std::wstring& hint) {
  TTTOOLINFOW info{};
  info.cbSize = sizeof info;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = parent;
  info.uId = reinterpret_cast<UINT_PTR>(tool);
  TTTOOLINFOW present = info;
  const bool known = SendMessageW(tips_, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&present)) != 0;
  info.lpszText = const_cast<wchar_t*>(hint.c_str());  // the tooltip copies it
  SendMessageW(tips_, known ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

std::wstring ToolTips::Hint(const Window& control) const {
  if (!tips_ || !control.Handle()) return {};
  wchar_t text[512] = {};
  TTTOOLINFOW info{};
  info.cbSize = sizeof info;
  info.hwnd = GetParent(control.Handle());
  info.uId = reinterpret_cast<UINT_PTR>(control.Handle());
  info.lpszText = text;
  SendMessageW(tips_, TTM_GETTEXTW, 512, reinterpret_cast<LPARAM>(&info));
  return text;
}

}  // namespace ui
