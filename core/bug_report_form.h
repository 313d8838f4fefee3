#pragma once
// The error-report form: a small stay-on-top dialog with the error message.
// It closes itself after 60 seconds, lets the user silence the message for
// good ("NeverAskBug.txt"), mail a report (core/bug_report.h) or end the
// program. The program entry creates it once, hidden, second of all forms;
// every report reuses it.
#include <string>

#include "core/never_ask_list.h"
#include "core/qv_form.h"
#include "ui/button.h"
#include "ui/check_box.h"
#include "ui/label.h"
#include "ui/paint_box.h"
#include "ui/timer.h"

namespace snibbet {

class TQvBugMessageForm : public TQvForm {
 public:
  static constexpr const wchar_t* kClassName = L"TQvBugMessageForm";
  static constexpr int kCountdownSeconds = 60;

  // `neverAskFile` lists the messages the user chose never to see again.
  explicit TQvBugMessageForm(std::wstring neverAskFile);

  void ApplyLanguage() override;

  // Shows the message modally, unless the form already shows or the user
  // silenced that message. Errors inside are swallowed: an error report
  // must never raise another.
  void ShowBugMessage(const std::wstring& message) noexcept;

  // One second less of the countdown; at 0 the form closes with OK.
  void tmrCloseTimer();
  void btnSendClick();
  void btnTerminateClick();

  int Countdown() const { return countdown_; }
  const std::wstring& CloseCaption() const { return closeCaption_; }
  const std::wstring& CurrentMessage() const { return currentMessage_; }
  const NeverAskList& NeverAsk() const { return neverAsk_; }

  ui::PaintBox imgInfo{*this, {.name = L"imgInfo", .left = 10, .top = 10, .width = 32, .height = 32}};
  ui::Label lblInfo{*this, {.name = L"lblInfo", .left = 56, .top = 14, .width = 497, .height = 107,
                            .style = SS_NOPREFIX}};
  ui::Button btnSend{*this, {.name = L"btnSend", .left = 232, .top = 128, .width = 137, .height = 25}};
  ui::Button btnTerminate{*this, {.name = L"btnTerminate", .left = 376, .top = 128, .width = 89, .height = 25}};
  ui::Button btnClose{*this, {.name = L"btnClose", .id = IDOK, .left = 472, .top = 128, .width = 85, .height = 25},
                      IDOK, true};
  ui::CheckBox chkNeverAsk{*this, {.name = L"chkNeverAsk", .left = 10, .top = 133, .width = 215, .height = 17}};
  ui::Timer tmrClose{this, L"tmrClose", 1000, [this] { tmrCloseTimer(); }};

 protected:
  void OnCreate() override;
  void OnClose(ui::CloseAction& action) override;
  void OnDestroy() override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void ShowModally(const std::wstring& message);
  void CloseWithOk();

  int countdown_ = 0;
  std::wstring closeCaption_;
  std::wstring messageTemplate_;
  std::wstring currentMessage_;
  NeverAskList neverAsk_;
};

// The form created at start-up; null while none exists.
TQvBugMessageForm* BugMessageForm();

// form.ShowBugMessage(message).
void ShowBugMessage(TQvBugMessageForm& form, const std::wstring& message) noexcept;

}  // namespace snibbet
