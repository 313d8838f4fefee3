#include "ui/dialog_form.h"

#include <cstring>
#include <stdexcept>
#include <system_error>

#include "ui/application.h"
#include "ui/exceptions.h"

namespace ui {
namespace {

// DLGTEMPLATEEX up to and including its position and size.
constexpr size_t kHeaderSize = 26;
constexpr size_t kExStyleOffset = 8;
constexpr size_t kStyleOffset = 12;

// The length in bytes of a sz_Or_Ord field (ordinal, empty or string).
size_t FieldLength(const BYTE* data, size_t size, size_t offset) {
  if (offset + 2 > size) throw std::invalid_argument("dialog template truncated");
  WORD first;
  std::memcpy(&first, data + offset, 2);
  if (first == 0xFFFF) return 4;
  size_t end = offset;
  for (;;) {
    if (end + 2 > size) throw std::invalid_argument("dialog template truncated");
    WORD ch;
    std::memcpy(&ch, data + end, 2);
    end += 2;
    if (ch == 0) return end - offset;
  }
}

size_t AlignToDword(size_t offset) { return (offset + 3) & ~size_t{3}; }

}  // namespace

std::vector<BYTE> RetargetDialogTemplate(const BYTE* data, size_t size, const std::wstring& className,
                                         DWORD extraExStyle) {
  if (size < kHeaderSize) throw std::invalid_argument("dialog template truncated");
  WORD version, signature;
  std::memcpy(&version, data, 2);
  std::memcpy(&signature, data + 2, 2);
  if (version != 1 || signature != 0xFFFF) throw std::invalid_argument("not a DIALOGEX template");
  DWORD style;
  std::memcpy(&style, data + kStyleOffset, 4);

  const size_t menuAt = kHeaderSize;
  const size_t classAt = menuAt + FieldLength(data, size, menuAt);
  const size_t titleAt = classAt + FieldLength(data, size, classAt);
  size_t headerEnd = titleAt + FieldLength(data, size, titleAt);
  if (style & DS_SETFONT) {
    headerEnd += 6;  // point size, weight, italic, charset
    headerEnd += FieldLength(data, size, headerEnd);
  }
  const size_t itemsAt = std::min(AlignToDword(headerEnd), size);

  std::vector<BYTE> out;
  out.reserve(size + className.size() * 2 + 8);
  out.insert(out.end(), data, data + classAt);
  const BYTE* name = reinterpret_cast<const BYTE*>(className.c_str());
  out.insert(out.end(), name, name + (className.size() + 1) * 2);
  out.insert(out.end(), data + titleAt, data + headerEnd);
  out.resize(AlignToDword(out.size()), 0);  // items start on a DWORD boundary
  out.insert(out.end(), data + itemsAt, data + size);

  DWORD exStyle;
  std::memcpy(&exStyle, out.data() + kExStyleOffset, 4);
  exStyle |= extraExStyle;
  std::memcpy(out.data() + kExStyleOffset, &exStyle, 4);
  style &= ~WS_VISIBLE;  // showing is the form's business
  std::memcpy(out.data() + kStyleOffset, &style, 4);
  return out;
}

DialogForm::DialogForm(FormParams params, WORD templateId, HINSTANCE module)
    : Form(std::move(params)), templateId_(templateId), module_(module) {
  dialogBased_ = true;
}

DialogForm::DialogForm(FormParams params, std::vector<BYTE> dialogTemplate)
    : Form(std::move(params)), template_(std::move(dialogTemplate)) {
  dialogBased_ = true;
}

std::vector<BYTE> DialogForm::LoadTemplate() const {
  if (!template_.empty()) return template_;
  HINSTANCE module = module_ ? module_ : (Application::Existing() ? Application::Get().Module() : GetModuleHandleW(nullptr));
  HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(templateId_), MAKEINTRESOURCEW(5) /* RT_DIALOG */);
  HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) throw std::invalid_argument("dialog resource not found");
  const BYTE* bytes = static_cast<const BYTE*>(data);
  return std::vector<BYTE>(bytes, bytes + SizeofResource(module, resource));
}

HWND DialogForm::CreateHandle(DWORD, DWORD exStyle, const RECT&, HWND owner) {
  RegisterFormClass(&DefDlgProcW, DLGWINDOWEXTRA);
  const std::vector<BYTE> source = LoadTemplate();
  // Only the flags FormParams asks for; the border comes from the template.
  const DWORD extra = exStyle & (WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_APPWINDOW | WS_EX_TOOLWINDOW);
  std::vector<BYTE> dialog = RetargetDialogTemplate(source.data(), source.size(), Params().className, extra);
  HWND window = CreateDialogIndirectParamW(Application::Existing() ? Application::Get().Module() : GetModuleHandleW(nullptr),
                                           reinterpret_cast<const DLGTEMPLATE*>(dialog.data()), owner,
                                           &DialogForm::StaticDialogProc, reinterpret_cast<LPARAM>(this));
  if (!window) return nullptr;
  if (!Params().caption.empty()) SetWindowTextW(window, Params().caption.c_str());
  TakeBorderFromWindow(window);
  return window;
}

// The template decides the border; placement code asks the form for it.
void DialogForm::TakeBorderFromWindow(HWND window) {
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  const bool tool = (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0;
  BorderStyle border = BorderStyle::Dialog;
  if (style & WS_THICKFRAME) border = tool ? BorderStyle::SizeableToolWindow : BorderStyle::Sizeable;
  else if ((style & WS_CAPTION) != WS_CAPTION) border = BorderStyle::None;
  else if (tool) border = BorderStyle::ToolWindow;
  unsigned icons = 0;
  if (style & WS_SYSMENU) icons |= border_icon::kSystemMenu;
  if (style & WS_MINIMIZEBOX) icons |= border_icon::kMinimize;
  if (style & WS_MAXIMIZEBOX) icons |= border_icon::kMaximize;
  params_.border = border;
  params_.borderIcons = icons;
}

INT_PTR CALLBACK DialogForm::StaticDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DialogForm* self = nullptr;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<DialogForm*>(lParam);
    self->Attach(window);
  } else {
    self = reinterpret_cast<DialogForm*>(GetWindowLongPtrW(window, DWLP_USER));
  }
  if (!self) return FALSE;

  // Nested messages (sent while one is handled) keep their own flag.
  const bool outer = self->defaulted_;
  self->defaulted_ = false;
  LRESULT result = 0;
  bool failed = false;
  try {
    result = self->HandleMessage(message, wParam, lParam);
  } catch (...) {
    HandleException(std::current_exception());
    failed = true;
  }
  const bool defaulted = self->defaulted_ || failed;
  self->defaulted_ = outer;

  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, DWLP_USER, 0);
    self->Detached();
  }
  switch (message) {
    case WM_INITDIALOG:
      return defaulted ? TRUE : result;  // TRUE: the dialog manager sets the focus
    case WM_CTLCOLORDLG: case WM_CTLCOLORSTATIC: case WM_CTLCOLOREDIT: case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX: case WM_CTLCOLORSCROLLBAR: case WM_COMPAREITEM: case WM_VKEYTOITEM:
    case WM_CHARTOITEM: case WM_QUERYDRAGICON:
      return defaulted ? FALSE : result;  // these return their answer directly
    default:
      if (defaulted) return FALSE;
      SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
      return TRUE;
  }
}

}  // namespace ui
