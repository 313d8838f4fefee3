#pragma once
// The wait message: a small always-on-top window with the program's logo, a
// moving line and a short text, shown while the program is busy (version
// check, opening the settings window or the template editor).
//
// At most one exists: ShowWaitMessage creates it on first use (owned by the
// application) and only changes the text while it shows; HideWaitMessage
// frees it.
#include <string_view>

#include "core/qv_form.h"
#include "core/wait_line.h"
#include "ui/gdi.h"
#include "ui/label.h"
#include "ui/paint_box.h"
#include "ui/timer.h"

namespace snibbet {

class TQvMessageWaitForm : public TQvForm {
 public:
  static constexpr const wchar_t* kClassName = L"TQvMessageWaitForm";

  TQvMessageWaitForm();
  ~TQvMessageWaitForm() override;

  // The wait form while a wait message shows; null otherwise.
  static TQvMessageWaitForm* Instance();

  // The text in bold, centred under the line.
  void SetMessage(std::wstring_view text);
  void ApplyLanguage() override;

  // One step of the moving line.
  void tmrPaintTimer();
  const MovingLine& Line() const { return line_; }

  ui::PaintBox imgLogo{*this, {.name = L"imgLogo", .left = 0, .top = 0, .width = 340, .height = 38}};
  ui::PaintBox imgLine{*this, {.name = L"imgLine", .left = 0, .top = 38, .width = 340, .height = 3}};
  ui::Label lblMessage{*this, {.name = L"lblMessage", .left = 3, .top = 44, .width = 334, .height = 73,
                               .style = SS_CENTER | SS_NOPREFIX}};
  ui::Timer tmrPaint{this, L"tmrPaint", 100, [this] { tmrPaintTimer(); }};

 protected:
  void OnCreate() override;
  void OnClose(ui::CloseAction& action) override;
  void OnDestroy() override;

 private:
  void DrawLogo(HDC dc, const RECT& client) const;
  void DrawLine(HDC dc, const RECT& client) const;
  void MakeLinePicture();
  void UseBoldMessageFont();
  void CenterMessage();

  MovingLine line_{0};
  int drawnOffset_ = 0;
  ui::Bitmap linePicture_;
  ui::Font boldFont_;
};

// Shows `text` in the wait form (creating it when none shows) centred on its
// monitor, with the line moving. It does not take the focus, so the window
// the user works in keeps it. Needs the application object.
void ShowWaitMessage(std::wstring_view text);
// Language text 67 with `argument` for "%1", then "." and on a new line text 68.
void ShowWaitMessageFmt(std::wstring_view argument);
// Frees the wait form; nothing when none shows.
void HideWaitMessage();

}  // namespace snibbet
