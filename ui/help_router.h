#pragma once
// The help router: takes over the application's help event and serves each
// help command (the WinHelp commands, asked by context number) from a compiled
// HTML help file through HHCTRL.OCX, or from WinHelp. Context pop-ups show
// text topics from a topics file inside the ".chm".
//
// One router at a time: a second one is refused. It puts the application's
// previous help event back when it goes.
//   ui::HelpRouter router(&mainForm);
//   router.SetHelpFile(L"C:\\Program\\App.chm");
//   ui::HelpCommand(HELP_CONTEXT, 20);
#include <windows.h>

#include <functional>
#include <string>

#include "ui/application.h"

namespace ui {

class Form;

// WinHelp's command for a tab of its finder (data: the tab, 0 the contents),
// which the MinGW headers lack.
inline constexpr UINT kHelpTab = 0x000F;

// What the router calls outside itself; tests hand in their own.
class HelpSystem {
 public:
  virtual ~HelpSystem() = default;
  virtual bool HtmlHelpLoaded() = 0;
  // Loads HHCTRL.OCX when needed; false when it or its entry is missing.
  virtual bool EnsureHtmlHelp() = 0;
  virtual HWND CallHtmlHelp(HWND caller, const wchar_t* file, UINT command, DWORD_PTR data) = 0;
  virtual bool CallWinHelp(HWND owner, const wchar_t* file, UINT command, ULONG_PTR data) = 0;
  virtual POINT CursorPos() = 0;
  virtual bool FileExists(const std::wstring& path) = 0;
};

// HHCTRL.OCX (ui/html_help_library.h), user32's WinHelp, the real cursor and files.
HelpSystem& SystemHelp();

enum class HelpType { Win, Html, Mixed };  // Mixed: pop-ups from WinHelp, the rest from HTML Help
// Main: context pop-ups open the context's topic in the main help window instead.
enum class HelpShowType { Default, Main, Popup };

class HelpRouter : public HelpHandler {
 public:
  // Asked first with every command; clearing `callHelp` ends the request there.
  using HelpEvent = std::function<bool(UINT command, ULONG_PTR data, bool& callHelp)>;

  // Throws std::logic_error when a router exists. `owner` is the form whose
  // window pop-ups belong to when no form of ours is active.
  explicit HelpRouter(Form* owner = nullptr, HelpSystem& system = SystemHelp());
  ~HelpRouter() override;
  HelpRouter(const HelpRouter&) = delete;
  HelpRouter& operator=(const HelpRouter&) = delete;

  HelpType Type() const { return type_; }
  void SetType(HelpType type) { type_ = type; }
  HelpShowType ShowType() const { return showType_; }
  void SetShowType(HelpShowType type) { showType_ = type; }
  // Any extension stands for ".chm" on the HTML Help side and ".hlp" on WinHelp's.
  const std::wstring& HelpFile() const { return helpFile_; }
  void SetHelpFile(std::wstring file) { helpFile_ = std::move(file); }
  // The topics text file inside the ".chm" (Mixed: an ".hlp" file for pop-ups);
  // "QVHelp.txt" unless set.
  const std::wstring& PopupTopics() const { return popupTopics_; }
  void SetPopupTopics(std::wstring file) { popupTopics_ = std::move(file); }
  // Stored only: context numbers are never checked.
  bool ValidateId() const { return validateId_; }
  void SetValidateId(bool validate) { validateId_ = validate; }
  void SetOnHelp(HelpEvent handler) { onHelp_ = std::move(handler); }

  // The application's help event.
  bool OnHelp(UINT command, ULONG_PTR data, bool& callHelp) override;
  // A text pop-up at `at`: `text` itself, or without a text the topic
  // `contextId` of the topics file. True when a pop-up window came.
  bool ShowTextPopup(POINT at, const std::wstring& text, DWORD contextId);

  // The file name the last request used (with its ".chm" or topics part).
  const std::wstring& LastFileName() const { return fileName_; }

 private:
  bool HtmlHelpRequest(UINT command, ULONG_PTR data, bool& callHelp);
  bool WinHelpRequest(UINT command, ULONG_PTR data, bool& callHelp);
  bool ContextPopup(DWORD contextId);
  HWND OwnerWindow() const;

  Form* owner_;
  HelpSystem& system_;
  HelpHandler* previous_ = nullptr;
  bool installed_ = false;
  HelpType type_ = HelpType::Html;
  HelpShowType showType_ = HelpShowType::Default;
  std::wstring helpFile_;
  std::wstring popupTopics_;
  bool validateId_ = false;
  HelpEvent onHelp_;
  POINT popupPosition_{};  // (0, 0): none set, the cursor's is taken
  std::wstring fileName_;
};

// `file` with its extension (if any) replaced by `extension` (".chm").
std::wstring WithExtension(const std::wstring& file, const std::wstring& extension);

}  // namespace ui
