#include "ui/tool_bar.h"

#include <algorithm>
#include <stdexcept>

#include "ui/form.h"
#include "ui/image_list.h"

namespace ui {
namespace {

BYTE StyleOf(ToolButtonKind kind) {
  switch (kind) {
    case ToolButtonKind::Check: return BTNS_CHECK;
    case ToolButtonKind::CheckGroup: return BTNS_CHECKGROUP;
    case ToolButtonKind::DropDown: return BTNS_WHOLEDROPDOWN;
    case ToolButtonKind::Separator: return BTNS_SEP;
    case ToolButtonKind::Button:
    case ToolButtonKind::Placeholder: break;
  }
  return BTNS_BUTTON;
}

bool IsToggle(ToolButtonKind kind) { return kind == ToolButtonKind::Check || kind == ToolButtonKind::CheckGroup; }

}  // namespace

ToolBar::~ToolBar() { parentCommands_.Detach(); }

DWORD ToolBar::ControlStyle() const {
  // The form lays the toolbar out itself; WS_CLIPSIBLINGS keeps it off the
  // controls laid over its placeholders.
  return TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER |
         WS_CLIPSIBLINGS | (showText_ ? TBSTYLE_LIST : 0);
}

void ToolBar::SetImages(const ImageList* images) {
  images_ = images;
  if (hwnd_) {
    Send(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_ ? images_->Get() : nullptr));
    Invalidate(true);
  }
}

void ToolBar::OnAttached() {
  Send(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
  Send(TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
  if (images_) Send(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_->Get()));
  for (const auto& entry : entries_) Insert(*entry);
  // Button commands go to the form; this toolbar takes its own.
  parentCommands_.Attach(Owner().Handle(), [this](UINT message, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
    if (message != WM_COMMAND || reinterpret_cast<HWND>(lParam) != hwnd_ || !hwnd_) return std::nullopt;
    Entry* entry = FindId(LOWORD(wParam));
    if (!entry) return std::nullopt;
    if (entry->button.onClick) {
      std::function<void()> click = entry->button.onClick;  // the handler may change the toolbar
      click();
    }
    return 0;
  });
}

int ToolBar::Add(ToolButton button) {
  auto entry = std::make_unique<Entry>();
  entry->button = std::move(button);
  entry->id = nextId_++;
  entries_.push_back(std::move(entry));
  if (hwnd_) Insert(*entries_.back());
  return entries_.back()->id;
}

void ToolBar::Insert(const Entry& entry) {
  const ToolButton& b = entry.button;
  TBBUTTON tb{};
  tb.idCommand = entry.id;
  tb.fsStyle = StyleOf(b.kind);
  if (showText_ && b.kind != ToolButtonKind::Separator) tb.fsStyle |= BTNS_AUTOSIZE;
  // A placeholder is a disabled empty button (it draws nothing, unlike a wide
  // separator's line), but a row break needs an enabled button.
  const bool enabled = entry.enabled && (b.kind != ToolButtonKind::Placeholder || b.wrapAfter);
  tb.fsState = static_cast<BYTE>((enabled ? TBSTATE_ENABLED : 0) | (entry.down ? TBSTATE_CHECKED : 0) |
                                 (b.wrapAfter ? TBSTATE_WRAP : 0));
  if (b.kind == ToolButtonKind::Separator) {
    tb.iBitmap = b.width;  // a separator's width
  } else {
    tb.iBitmap = b.imageIndex >= 0 && b.kind != ToolButtonKind::Placeholder ? b.imageIndex : I_IMAGENONE;
  }
  tb.iString = showText_ && !b.text.empty() ? reinterpret_cast<INT_PTR>(b.text.c_str()) : -1;
  Send(TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&tb));
  if (b.kind == ToolButtonKind::Placeholder) {
    TBBUTTONINFOW info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_SIZE;
    info.cx = static_cast<WORD>(b.width);
    Send(TB_SETBUTTONINFOW, static_cast<WPARAM>(entry.id), reinterpret_cast<LPARAM>(&info));
  }
}

ToolBar::Entry& ToolBar::Find(std::wstring_view name) {
  return const_cast<Entry&>(static_cast<const ToolBar*>(this)->Find(name));
}

const ToolBar::Entry& ToolBar::Find(std::wstring_view name) const {
  for (const auto& entry : entries_) {
    if (entry->button.name == name) return *entry;
  }
  throw std::out_of_range("no toolbar button " + std::string(name.begin(), name.end()));
}

ToolBar::Entry* ToolBar::FindId(int id) {
  for (const auto& entry : entries_) {
    if (entry->id == id) return entry.get();
  }
  return nullptr;
}

// A button's state is kept in its entry until the window exists, then the window holds it.
void ToolBar::SetState(std::wstring_view name, bool Entry::*state, UINT setMessage, bool on) {
  Entry& entry = Find(name);
  entry.*state = on;
  if (hwnd_) Send(setMessage, static_cast<WPARAM>(entry.id), MAKELPARAM(on ? TRUE : FALSE, 0));
}

bool ToolBar::State(std::wstring_view name, bool Entry::*state, UINT askMessage) const {
  const Entry& entry = Find(name);
  return hwnd_ ? Send(askMessage, static_cast<WPARAM>(entry.id)) != 0 : entry.*state;
}

void ToolBar::SetEnabled(std::wstring_view name, bool enabled) {
  SetState(name, &Entry::enabled, TB_ENABLEBUTTON, enabled);
}
bool ToolBar::IsButtonEnabled(std::wstring_view name) const {
  return State(name, &Entry::enabled, TB_ISBUTTONENABLED);
}
void ToolBar::SetDown(std::wstring_view name, bool down) { SetState(name, &Entry::down, TB_CHECKBUTTON, down); }
bool ToolBar::IsDown(std::wstring_view name) const { return State(name, &Entry::down, TB_ISBUTTONCHECKED); }

void ToolBar::SetText(std::wstring_view name, std::wstring text) {
  Entry& entry = Find(name);
  entry.button.text = std::move(text);
  if (!hwnd_ || !showText_) return;
  TBBUTTONINFOW info{};
  info.cbSize = sizeof info;
  info.dwMask = TBIF_TEXT;
  info.pszText = entry.button.text.data();
  Send(TB_SETBUTTONINFOW, static_cast<WPARAM>(entry.id), reinterpret_cast<LPARAM>(&info));
}

void ToolBar::SetHint(std::wstring_view name, std::wstring hint) { Find(name).button.hint = std::move(hint); }

const std::wstring& ToolBar::Hint(std::wstring_view name) const { return Find(name).button.hint; }

RECT ToolBar::ButtonRect(std::wstring_view name) const {
  RECT r{};
  if (!hwnd_) return r;
  const LRESULT index = Send(TB_COMMANDTOINDEX, static_cast<WPARAM>(Find(name).id));
  Send(TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
  MapWindowPoints(hwnd_, GetParent(hwnd_), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

RECT ToolBar::ButtonScreenRect(std::wstring_view name) const {
  RECT r = ButtonRect(name);
  if (hwnd_) MapWindowPoints(GetParent(hwnd_), HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void ToolBar::PlaceOver(std::wstring_view placeholder, Window& control) const {
  if (!control.Handle()) return;
  const RECT r = ButtonRect(placeholder);
  const int height = control.Height();
  SetWindowPos(control.Handle(), HWND_TOP, r.left, r.top + std::max<int>(0, (r.bottom - r.top - height) / 2),
               r.right - r.left, height, SWP_NOACTIVATE);
}

int ToolBar::RowsHeight() const {
  int bottom = 0;
  const int count = hwnd_ ? static_cast<int>(Send(TB_BUTTONCOUNT)) : 0;
  for (int i = 0; i < count; ++i) {
    RECT r{};
    if (Send(TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r))) bottom = std::max<int>(bottom, static_cast<int>(r.bottom));
  }
  return bottom;
}

void ToolBar::Click(std::wstring_view name) {
  Entry& entry = Find(name);
  if (!IsButtonEnabled(name)) return;
  if (entry.button.kind == ToolButtonKind::DropDown) {
    if (entry.button.onDropDown) entry.button.onDropDown(ButtonScreenRect(name));
    return;
  }
  if (entry.button.kind == ToolButtonKind::CheckGroup) {
    SetDown(name, true);
  } else if (IsToggle(entry.button.kind)) {
    SetDown(name, !IsDown(name));
  }
  if (entry.button.onClick) {
    std::function<void()> click = entry.button.onClick;
    click();
  }
}

bool ToolBar::OnNotifyReflected(NMHDR& header, LRESULT& result) {
  if (header.code == TBN_DROPDOWN) {
    auto& info = reinterpret_cast<NMTOOLBARW&>(header);
    Entry* entry = FindId(info.iItem);
    if (!entry || !entry->button.onDropDown) return false;
    RECT screen = info.rcButton;
    MapWindowPoints(hwnd_, HWND_DESKTOP, reinterpret_cast<POINT*>(&screen), 2);
    std::function<void(const RECT&)> dropDown = entry->button.onDropDown;
    dropDown(screen);
    result = TBDDRET_DEFAULT;
    return true;
  }
  if (header.code == TBN_GETINFOTIPW) {
    auto& tip = reinterpret_cast<NMTBGETINFOTIPW&>(header);
    Entry* entry = FindId(tip.iItem);
    if (!entry || !tip.pszText || tip.cchTextMax <= 0) return false;
    lstrcpynW(tip.pszText, entry->button.hint.c_str(), tip.cchTextMax);
    result = 0;
    return true;
  }
  return false;
}

}  // namespace ui
