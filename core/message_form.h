#pragma once
// The message form: a short message with the program's icon, OK and Cancel,
// a "do not show again" box and an OK button that can count down and then
// answers OK by itself. The program entry creates it once, hidden; it lives
// until the program ends.
#include <string>

#include "core/qv_form.h"
#include "ui/button.h"
#include "ui/check_box.h"
#include "ui/label.h"
#include "ui/paint_box.h"
#include "ui/timer.h"

namespace snibbet {

class TQvMessageForm : public TQvForm {
 public:
  static constexpr const wchar_t* kClassName = L"TQvMessageForm";

  TQvMessageForm();
  void ApplyLanguage() override;

  // OK answers by itself after `seconds` ticks of tmrOk, showing the seconds
  // left on the button meanwhile.
  void StartCountdown(int seconds);
  int Countdown() const { return countdown_; }
  const std::wstring& OkCaption() const { return okCaption_; }

  // One second less; at 0 the form closes with OK.
  void tmrOkTimer();

  ui::PaintBox imgInfo{*this, {.name = L"imgInfo", .left = 10, .top = 10, .width = 32, .height = 32}};
  ui::Label lblInfo{*this, {.name = L"lblInfo", .left = 56, .top = 14, .width = 393, .height = 29}};
  ui::Button btnOk{*this, {.name = L"btnOk", .id = IDOK, .left = 298, .top = 52, .width = 75, .height = 25},
                   IDOK, true};
  ui::Button btnCancel{*this, {.name = L"btnCancel", .id = IDCANCEL, .left = 378, .top = 52, .width = 75, .height = 25},
                       IDCANCEL};
  ui::CheckBox chkNeverAsk{*this, {.name = L"chkNeverAsk", .left = 12, .top = 58, .width = 270, .height = 17}};
  ui::Timer tmrOk{this, L"tmrOk", 1000, [this] { tmrOkTimer(); }};

 protected:
  void OnCreate() override;
  void OnClose(ui::CloseAction& action) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void CloseWithOk();

  std::wstring okCaption_;
  int countdown_ = 0;
};

}  // namespace snibbet
