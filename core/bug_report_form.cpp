#include "core/bug_report_form.h"

#include "core/app_ini.h"
#include "core/bug_report.h"
#include "core/busy_cursor.h"
#include "core/debug_log.h"
#include "core/lang_table.h"
#include "core/text_utils.h"
#include "core/utilities.h"

namespace snibbet {
namespace {

TQvBugMessageForm* g_form = nullptr;

}  // namespace

TQvBugMessageForm::TQvBugMessageForm(std::wstring neverAskFile)
    : TQvForm({.className = kClassName,
               .border = ui::BorderStyle::Dialog,
               .clientWidth = 568,
               .clientHeight = 163,
               .alwaysOnTop = true,
               .keyboardNavigation = true,
               .fontFace = L"MS Sans Serif",
               .fontPointSize = 8}),
      neverAsk_(std::move(neverAskFile)) {
  imgInfo.onPaint = [](HDC dc, const RECT& client) {
    DrawIconEx(dc, 0, 0, LoadIconW(nullptr, IDI_HAND), client.right, client.bottom, 0, nullptr, DI_NORMAL);
  };
  btnSend.onClick = [this] { btnSendClick(); };
  btnTerminate.onClick = [this] { btnTerminateClick(); };
  btnClose.onClick = [this] {
    if (!IsModal()) CloseWithOk();  // a modal loop ends with the button's result
  };
}

void TQvBugMessageForm::OnCreate() {
  g_form = this;
  DebugLog(L"QvBugMessageForm");
  TAppIni::CenterFormOnMonitor(Handle());
  neverAsk_.Load();
}

void TQvBugMessageForm::OnDestroy() {
  if (g_form == this) g_form = nullptr;
}

void TQvBugMessageForm::ApplyLanguage() {
  TQvForm::ApplyLanguage();
  closeCaption_ = LangText(105);
  messageTemplate_ = LangText(301, L"Error in %1:\r\n\r\n%2") + L"\r\n\r\n" +
                     LangText(305, L"Please Report to Orvane Software Group about this bug.");
  if (!tmrClose.Enabled()) btnClose.SetText(closeCaption_);
  btnSend.SetText(LangText(302));
  chkNeverAsk.SetText(LangText(303));
  btnTerminate.SetText(LangText(323));
}

void TQvBugMessageForm::ShowBugMessage(const std::wstring& message) noexcept {
  try {
    // An error met while the report shows is not reported again.
    if (IsVisible() || IsModal()) return;
    ShowModally(message);
  } catch (...) {
  }
}

void TQvBugMessageForm::ShowModally(const std::wstring& message) {
  currentMessage_ = message;
  countdown_ = kCountdownSeconds;
  if (neverAsk_.Holds(message)) return;

  SetText(LangText(9, L"Error"));
  lblInfo.SetText(FormatText(messageTemplate_, {kProductName, message}));
  btnClose.SetText(closeCaption_);
  RepaintNow(Handle());
  tmrClose.Start();
  ShowModal();
  tmrClose.Stop();

  if (chkNeverAsk.Checked()) neverAsk_.Add(message);
}

void TQvBugMessageForm::tmrCloseTimer() {
  --countdown_;
  if (countdown_ > 0) {
    btnClose.SetText(closeCaption_ + L" (" + std::to_wstring(countdown_) + L")");
    return;
  }
  btnClose.SetText(closeCaption_);
  CloseWithOk();
}

void TQvBugMessageForm::btnSendClick() { BuildBugReport(currentMessage_); }

void TQvBugMessageForm::btnTerminateClick() { ExitProgram(); }

void TQvBugMessageForm::CloseWithOk() {
  tmrClose.Stop();
  SetModalResult(IDOK);
  Close();  // inside a modal loop the result alone ends it
}

void TQvBugMessageForm::OnClose(ui::CloseAction& action) { tmrClose.Stop(); }

LRESULT TQvBugMessageForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETCURSOR && reinterpret_cast<HWND>(wParam) == imgInfo.Handle() && !ScreenCursor()) {
    SetCursor(HandCursor() ? HandCursor() : LoadCursorW(nullptr, IDC_HAND));
    return TRUE;
  }
  return TQvForm::HandleMessage(message, wParam, lParam);
}

TQvBugMessageForm* BugMessageForm() { return g_form; }

void ShowBugMessage(TQvBugMessageForm& form, const std::wstring& message) noexcept { form.ShowBugMessage(message); }

}  // namespace snibbet
