#include "core/message_form.h"

#include "core/app_ini.h"
#include "core/busy_cursor.h"
#include "core/debug_log.h"
#include "core/lang_table.h"
#include "core/utilities.h"
#include "ui/application.h"
#include "ui/monitor.h"

namespace snibbet {
namespace {

std::wstring ApplicationTitle() {
  ui::Application* app = ui::Application::Existing();
  return app ? app->Title() : std::wstring();
}

}  // namespace

TQvMessageForm::TQvMessageForm()
    : TQvForm({.className = kClassName,
               .caption = ApplicationTitle(),
               .border = ui::BorderStyle::Dialog,
               .clientWidth = 460,
               .clientHeight = 88,
               .alwaysOnTop = true,
               .keyboardNavigation = true}) {
  imgInfo.onPaint = [](HDC dc, const RECT& client) {
    ui::Application* app = ui::Application::Existing();
    HICON icon = app ? app->Icon() : LoadIconW(nullptr, IDI_APPLICATION);
    DrawIconEx(dc, 0, 0, icon, client.right, client.bottom, 0, nullptr, DI_NORMAL);
  };
  btnOk.onClick = [this] {
    if (!IsModal()) CloseWithOk();  // a modal loop ends with the button's result
  };
}

void TQvMessageForm::OnCreate() {
  DebugLog(L"QvMessageForm");
  TAppIni::CenterFormOnMonitor(Handle());
}

void TQvMessageForm::ApplyLanguage() {
  TQvForm::ApplyLanguage();
  okCaption_ = LangText(101);
  if (!tmrOk.Enabled()) btnOk.SetText(okCaption_);
  btnCancel.SetText(LangText(102));
  chkNeverAsk.SetText(LangText(467));
}

void TQvMessageForm::StartCountdown(int seconds) {
  countdown_ = seconds;
  btnOk.SetText(okCaption_ + L" (" + std::to_wstring(countdown_) + L")");
  tmrOk.Start();
}

void TQvMessageForm::tmrOkTimer() {
  --countdown_;
  if (countdown_ > 0) {
    btnOk.SetText(okCaption_ + L" (" + std::to_wstring(countdown_) + L")");
    return;
  }
  btnOk.SetText(okCaption_);
  CloseWithOk();
}

void TQvMessageForm::CloseWithOk() {
  SetModalResult(IDOK);
  Close();  // inside a modal loop the result alone ends it
}

// Whatever closes the form ends a running countdown, so that a hidden form
// never answers later.
void TQvMessageForm::OnClose(ui::CloseAction& action) { tmrOk.Stop(); }

LRESULT TQvMessageForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETCURSOR && reinterpret_cast<HWND>(wParam) == imgInfo.Handle() && !ScreenCursor()) {
    SetCursor(HandCursor() ? HandCursor() : LoadCursorW(nullptr, IDC_HAND));
    return TRUE;
  }
  return TQvForm::HandleMessage(message, wParam, lParam);
}

}  // namespace snibbet
