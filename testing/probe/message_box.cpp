#include "testing/probe/message_box.h"

#include "testing/probe/window_find.h"

namespace probe {
namespace {

// The message text static of a system message box.
constexpr int kMessageTextId = 0xFFFF;

std::wstring WithoutAccelerators(const std::wstring& text) {
  std::wstring out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'&' && i + 1 < text.size()) ++i;
    out += text[i];
  }
  return out;
}

bool IsTextStatic(HWND control) {
  if (ClassNameOf(control) != L"Static") return false;
  const LONG type = GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK;
  return type != SS_ICON && type != SS_BITMAP && type != SS_ENHMETAFILE;
}

}  // namespace

const DialogButton* MessageBoxInfo::Button(int id) const {
  for (const auto& button : buttons)
    if (button.id == id) return &button;
  return nullptr;
}

const DialogButton* MessageBoxInfo::Button(const std::wstring& text) const {
  const std::wstring wanted = WithoutAccelerators(text);
  for (const auto& button : buttons)
    if (WithoutAccelerators(button.text) == wanted) return &button;
  return nullptr;
}

std::vector<HWND> FindMessageBoxes(DWORD pid, const std::wstring& className) {
  WindowQuery query;
  query.className = className;
  query.visibleOnly = true;
  if (pid) query.pid = pid;
  return FindWindows(query);
}

std::optional<MessageBoxInfo> ReadMessageBox(HWND box) {
  if (!IsWindow(box)) return std::nullopt;
  MessageBoxInfo info;
  info.hwnd = box;
  info.pid = ProcessOf(box);
  info.caption = CaptionOf(box);
  std::wstring anyStaticText;
  for (HWND control : ChildWindows(box)) {
    if (GetParent(control) != box || !IsWindowVisible(control)) continue;
    const int id = GetDlgCtrlID(control);
    if (ClassNameOf(control) == L"Button") {
      info.buttons.push_back({id, CaptionOf(control), control});
    } else if (IsTextStatic(control)) {
      const std::wstring text = CaptionOf(control);
      if (id == kMessageTextId) info.text = text;
      else if (anyStaticText.empty()) anyStaticText = text;
    }
  }
  if (info.text.empty()) info.text = anyStaticText;
  // The button drawn as default is what Enter presses; DM_GETDEFID is not kept up to date everywhere.
  for (const auto& button : info.buttons)
    if ((GetWindowLongW(button.hwnd, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) info.defaultId = button.id;
  DWORD_PTR reply = 0;
  if (!info.defaultId && SendMessageTimeoutW(box, DM_GETDEFID, 0, 0, SMTO_ABORTIFHUNG, 500, &reply) &&
      HIWORD(reply) == DC_HASDEFID && info.Button(LOWORD(reply))) {
    info.defaultId = LOWORD(reply);
  }
  return info;
}

std::optional<MessageBoxInfo> FindMessageBox(DWORD pid) {
  for (HWND box : FindMessageBoxes(pid))
    if (auto info = ReadMessageBox(box)) return info;
  return std::nullopt;
}

std::optional<MessageBoxInfo> WaitForMessageBox(DWORD pid, milliseconds timeout) {
  std::optional<MessageBoxInfo> found;
  WaitUntil([&] { return (found = FindMessageBox(pid)).has_value(); }, timeout);
  return found;
}

bool PressButton(const MessageBoxInfo& box, int id) {
  const DialogButton* button = box.Button(id);
  if (!button) return false;
  // What a click on the button makes the button send to its dialog.
  return PostMessageW(box.hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                      reinterpret_cast<LPARAM>(button->hwnd)) != FALSE;
}

bool PressButton(const MessageBoxInfo& box, const std::wstring& text) {
  const DialogButton* button = box.Button(text);
  return button && PressButton(box, button->id);
}

int DefaultButtonOf(const MessageBoxInfo& box) {
  if (box.defaultId && box.Button(box.defaultId)) return box.defaultId;
  if (box.Button(IDOK)) return IDOK;
  if (box.buttons.size() == 1) return box.buttons.front().id;
  return 0;
}

void CloseMessageBox(const MessageBoxInfo& box) { PostMessageW(box.hwnd, WM_CLOSE, 0, 0); }

int AnswerDefault(const MessageBoxInfo& box) {
  const int id = DefaultButtonOf(box);
  if (id && PressButton(box, id)) return id;
  CloseMessageBox(box);
  return IDCANCEL;
}

}  // namespace probe
