#include "ui/help_router.h"

#include <htmlhelp.h>

#include <cwctype>
#include <stdexcept>

#include "ui/form.h"
#include "ui/forms.h"
#include "ui/html_help_library.h"

namespace ui {
namespace {

HelpRouter* g_router = nullptr;

constexpr wchar_t kDefaultPopupTopics[] = L"QVHelp.txt";
constexpr wchar_t kPopupFont[] = L"MS Sans Serif, 8";
// The class library's "no colour": the viewer's own colours.
constexpr COLORREF kNoColor = 0x1FFFFFFF;

class RealHelpSystem : public HelpSystem {
 public:
  bool HtmlHelpLoaded() override { return IsHtmlHelpLoaded(); }
  bool EnsureHtmlHelp() override { return ui::EnsureHtmlHelp() != nullptr; }
  HWND CallHtmlHelp(HWND caller, const wchar_t* file, UINT command, DWORD_PTR data) override {
    HtmlHelpFunction entry = ui::EnsureHtmlHelp();
    return entry ? entry(caller, file, command, data) : nullptr;
  }
  bool CallWinHelp(HWND owner, const wchar_t* file, UINT command, ULONG_PTR data) override {
    return WinHelpW(owner, file, command, data) != FALSE;
  }
  POINT CursorPos() override {
    POINT at{};
    GetCursorPos(&at);
    return at;
  }
  bool FileExists(const std::wstring& path) override {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  }
};

size_t NameStart(const std::wstring& file) {
  const size_t slash = file.find_last_of(L"\\/:");
  return slash == std::wstring::npos ? 0 : slash + 1;
}

std::wstring Folder(const std::wstring& file) { return file.substr(0, NameStart(file)); }

std::wstring LowerExtension(const std::wstring& file) {
  const size_t dot = file.rfind(L'.');
  if (dot == std::wstring::npos || dot < NameStart(file)) return {};
  std::wstring extension = file.substr(dot);
  for (wchar_t& c : extension) c = static_cast<wchar_t>(std::towlower(c));
  return extension;
}

}  // namespace

HelpSystem& SystemHelp() {
  static RealHelpSystem system;
  return system;
}

std::wstring WithExtension(const std::wstring& file, const std::wstring& extension) {
  const size_t dot = file.rfind(L'.');
  if (dot == std::wstring::npos || dot < NameStart(file)) return file + extension;
  return file.substr(0, dot) + extension;
}

HelpRouter::HelpRouter(Form* owner, HelpSystem& system)
    : owner_(owner), system_(system), popupTopics_(kDefaultPopupTopics) {
  if (g_router) throw std::logic_error("Multiple instances of THelpRouter are not allowed");
  if (Application* app = Application::Existing()) {
    previous_ = app->GetHelpHandler();
    app->SetHelpHandler(this);
    installed_ = true;
  }
  g_router = this;
}

HelpRouter::~HelpRouter() {
  Application* app = Application::Existing();
  if (installed_ && app && app->GetHelpHandler() == this) app->SetHelpHandler(previous_);
  if (g_router == this) g_router = nullptr;
}

HWND HelpRouter::OwnerWindow() const {
  // The form help is for: the active one of ours, else the router's owner.
  Form* form = ActiveForm();
  if (!form) form = owner_;
  if (form && form->Handle()) return form->Handle();
  return ApplicationWindow();
}

bool HelpRouter::OnHelp(UINT command, ULONG_PTR data, bool& callHelp) {
  bool result = false;
  if (onHelp_) result = onHelp_(command, data, callHelp);
  if (callHelp && previous_) result = previous_->OnHelp(command, data, callHelp);
  if (!callHelp) return result;

  // No form and no application of ours has a help file of its own.
  fileName_ = helpFile_;
  if (showType_ == HelpShowType::Main) {
    if (command == HELP_CONTEXTPOPUP) command = HELP_CONTEXT;
    if (command == HELP_SETPOPUP_POS) command = 0;
  }
  const bool popupCommand = command == HELP_CONTEXTPOPUP || command == HELP_SETPOPUP_POS;
  if (type_ == HelpType::Html || (type_ == HelpType::Mixed && !popupCommand))
    return HtmlHelpRequest(command, data, callHelp);
  return WinHelpRequest(command, data, callHelp);
}

bool HelpRouter::HtmlHelpRequest(UINT command, ULONG_PTR data, bool& callHelp) {
  // Closing needs no viewer that is not there.
  if (command == HELP_QUIT && !system_.HtmlHelpLoaded()) {
    callHelp = false;
    return true;
  }
  // Without the viewer the request stays the application's.
  if (!system_.EnsureHtmlHelp()) return false;
  callHelp = false;
  fileName_ = WithExtension(fileName_, L".chm");

  // The viewer shows a box of its own for a file it cannot open.
  const auto openFile = [&](UINT viewerCommand, DWORD_PTR viewerData) {
    if (!system_.FileExists(fileName_)) return false;
    return system_.CallHtmlHelp(nullptr, fileName_.c_str(), viewerCommand, viewerData) != nullptr;
  };
  switch (command) {
    case HELP_CONTEXT:
      return openFile(HH_HELP_CONTEXT, data);
    case HELP_QUIT:
      system_.CallHtmlHelp(nullptr, nullptr, HH_CLOSE_ALL, 0);
      return true;
    case HELP_INDEX:
    case HELP_FINDER:
      return openFile(HH_DISPLAY_TOC, 0);
    case HELP_CONTEXTPOPUP:
      return ContextPopup(static_cast<DWORD>(data));
    case HELP_SETPOPUP_POS:
      popupPosition_ = POINT{static_cast<short>(LOWORD(data)), static_cast<short>(HIWORD(data))};
      return true;
    case kHelpTab:
      return openFile(data == 0 ? HH_DISPLAY_TOC : HH_DISPLAY_INDEX, 0);
    case HELP_KEY:
    case HELP_PARTIALKEY:
      return openFile(HH_DISPLAY_INDEX, data);
    default:
      return false;
  }
}

bool HelpRouter::ContextPopup(DWORD contextId) {
  POINT at = popupPosition_;
  if (at.x == 0 && at.y == 0) at = system_.CursorPos();
  const bool shown = ShowTextPopup(at, {}, contextId);
  popupPosition_ = POINT{};
  return shown;
}

bool HelpRouter::ShowTextPopup(POINT at, const std::wstring& text, DWORD contextId) {
  if (!system_.EnsureHtmlHelp()) return false;
  HH_POPUP popup{};
  popup.cbStruct = sizeof popup;
  popup.hinst = nullptr;
  popup.idString = text.empty() ? contextId : 0;
  popup.pszText = text.empty() ? nullptr : text.c_str();
  popup.pt = at;
  popup.clrForeground = kNoColor;
  popup.clrBackground = kNoColor;
  popup.rcMargins = RECT{-1, -1, -1, -1};
  popup.pszFont = kPopupFont;
  const DWORD_PTR record = reinterpret_cast<DWORD_PTR>(&popup);
  if (!text.empty()) return system_.CallHtmlHelp(OwnerWindow(), nullptr, HH_DISPLAY_TEXT_POPUP, record) != nullptr;

  if (popupTopics_.empty()) popupTopics_ = kDefaultPopupTopics;
  const std::wstring chm = WithExtension(helpFile_, L".chm");
  fileName_ = chm + L"::/" + popupTopics_;
  if (!system_.FileExists(chm)) return false;
  return system_.CallHtmlHelp(OwnerWindow(), fileName_.c_str(), HH_DISPLAY_TEXT_POPUP, record) != nullptr;
}

bool HelpRouter::WinHelpRequest(UINT command, ULONG_PTR data, bool& callHelp) {
  callHelp = false;
  if (command == 0) return true;
  if (command == HELP_CONTEXTPOPUP && type_ == HelpType::Mixed && LowerExtension(popupTopics_) == L".hlp") {
    fileName_ = NameStart(popupTopics_) == 0 ? Folder(fileName_) + popupTopics_ : popupTopics_;
  }
  const std::wstring file = WithExtension(fileName_, L".hlp");
  return system_.CallWinHelp(OwnerWindow(), file.c_str(), command, data);
}

}  // namespace ui
