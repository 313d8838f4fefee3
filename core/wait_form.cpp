#include "core/wait_form.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "core/app_ini.h"
#include "core/lang_table.h"
#include "core/text_utils.h"
#include "ui/application.h"
#include "ui/forms.h"
#include "ui/monitor.h"

namespace snibbet {
namespace {

TQvMessageWaitForm* g_instance = nullptr;

constexpr int kMessageMargin = 3;

std::wstring ApplicationTitle() {
  ui::Application* app = ui::Application::Existing();
  return app ? app->Title() : std::wstring();
}

HICON ApplicationIcon() {
  ui::Application* app = ui::Application::Existing();
  return app ? app->Icon() : LoadIconW(nullptr, IDI_APPLICATION);
}

// `t` of the way from a to b, t in 0..1.
COLORREF Blend(COLORREF a, COLORREF b, double t) {
  auto channel = [t](int x, int y) { return static_cast<BYTE>(x + (y - x) * t + 0.5); };
  return RGB(channel(GetRValue(a), GetRValue(b)), channel(GetGValue(a), GetGValue(b)),
             channel(GetBValue(a), GetBValue(b)));
}

void FillColumn(HDC dc, int x, int top, int bottom, COLORREF color) {
  ui::Brush brush(CreateSolidBrush(color));
  RECT column{x, top, x + 1, bottom};
  FillRect(dc, &column, brush.Get());
}

}  // namespace

TQvMessageWaitForm::TQvMessageWaitForm()
    : TQvForm({.className = kClassName,
               .caption = ApplicationTitle(),
               .border = ui::BorderStyle::ToolWindow,
               .borderIcons = 0,
               .clientWidth = 340,
               .clientHeight = 120,
               .alwaysOnTop = true}) {
  imgLogo.onPaint = [this](HDC dc, const RECT& client) { DrawLogo(dc, client); };
  imgLine.onPaint = [this](HDC dc, const RECT& client) { DrawLine(dc, client); };
}

TQvMessageWaitForm::~TQvMessageWaitForm() {
  if (g_instance == this) g_instance = nullptr;
}

TQvMessageWaitForm* TQvMessageWaitForm::Instance() { return g_instance; }

void TQvMessageWaitForm::OnCreate() {
  MakeLinePicture();
  UseBoldMessageFont();
}

void TQvMessageWaitForm::ApplyLanguage() {
  TQvForm::ApplyLanguage();
  UseBoldMessageFont();  // a new character set replaced the label's font
  CenterMessage();
}

void TQvMessageWaitForm::OnClose(ui::CloseAction& action) { action = ui::CloseAction::Free; }

void TQvMessageWaitForm::OnDestroy() {
  tmrPaint.Stop();
  if (g_instance == this) g_instance = nullptr;
}

void TQvMessageWaitForm::SetMessage(std::wstring_view text) {
  lblMessage.SetText(text);
  UseBoldMessageFont();
  CenterMessage();
  RepaintNow(Handle());
}

void TQvMessageWaitForm::tmrPaintTimer() {
  drawnOffset_ = line_.Tick();
  imgLine.Repaint();
}

void TQvMessageWaitForm::UseBoldMessageFont() {
  LOGFONTW font = FontDescription();
  font.lfWeight = FW_BOLD;
  ui::Font bold(CreateFontIndirectW(&font));
  if (!bold) return;
  lblMessage.Send(WM_SETFONT, reinterpret_cast<WPARAM>(bold.Get()), TRUE);
  boldFont_ = std::move(bold);  // the label no longer uses the old one
}

// The label gets the height of its text and sits in the middle of the space
// under the line, so that the text is centred both ways.
void TQvMessageWaitForm::CenterMessage() {
  if (!lblMessage.IsCreated()) return;
  const int margin = ui::ScaleToDpi(kMessageMargin);
  const RECT line = imgLine.Bounds();
  RECT area{margin, line.bottom + margin, ClientWidth() - margin, ClientHeight() - margin};
  const int areaHeight = std::max(0, static_cast<int>(area.bottom - area.top));

  RECT text = area;
  const std::wstring message = lblMessage.Text();
  ui::WindowDC dc(lblMessage.Handle());
  ui::SelectedObject font(dc, boldFont_.Get());
  DrawTextW(dc, message.c_str(), static_cast<int>(message.size()), &text,
            DT_CALCRECT | DT_WORDBREAK | DT_CENTER | DT_NOPREFIX);
  const int height = std::min(areaHeight, static_cast<int>(text.bottom - text.top));
  lblMessage.SetBounds(area.left, area.top + (areaHeight - height) / 2, area.right - area.left, height);
}

// A light gleam in the middle of the line fading into the window colour at
// both ends; moved round by the timer it runs along the line.
void TQvMessageWaitForm::MakeLinePicture() {
  const int width = imgLine.ClientWidth(), height = imgLine.ClientHeight();
  line_ = MovingLine(width);
  drawnOffset_ = 0;
  if (width <= 0 || height <= 0) return;
  ui::WindowDC screen(imgLine.Handle());
  ui::MemoryDC dc(screen);
  linePicture_.Reset(CreateCompatibleBitmap(screen, width, height));
  ui::SelectedObject picture(dc, linePicture_.Get());
  const COLORREF gleam = GetSysColor(COLOR_HIGHLIGHT), face = GetSysColor(COLOR_BTNFACE);
  for (int x = 0; x < width; ++x) {
    const double fromMiddle = std::abs(2.0 * x - width) / width;
    FillColumn(dc, x, 0, height, Blend(gleam, face, fromMiddle));
  }
}

void TQvMessageWaitForm::DrawLine(HDC dc, const RECT& client) const {
  if (!linePicture_) return;
  ui::MemoryDC source(dc);
  ui::SelectedObject picture(source, linePicture_.Get());
  for (const LineCopy& copy : MovingLine::Copies(drawnOffset_, line_.Width())) {
    if (copy.width > 0) {
      BitBlt(dc, copy.destLeft, 0, copy.width, client.bottom, source, copy.sourceLeft, 0, SRCCOPY);
    }
  }
}

// The caption colours' gradient with the program's icon and name.
void TQvMessageWaitForm::DrawLogo(HDC dc, const RECT& client) const {
  const COLORREF left = GetSysColor(COLOR_ACTIVECAPTION), right = GetSysColor(COLOR_GRADIENTACTIVECAPTION);
  const int width = std::max(1, static_cast<int>(client.right));
  for (int x = 0; x < client.right; ++x) FillColumn(dc, x, 0, client.bottom, Blend(left, right, double(x) / width));

  const int icon = ui::ScaleToDpi(32), margin = ui::ScaleToDpi(6);
  DrawIconEx(dc, margin, (client.bottom - icon) / 2, ApplicationIcon(), icon, icon, 0, nullptr, DI_NORMAL);

  LOGFONTW font = FontDescription();
  font.lfWeight = FW_BOLD;
  font.lfHeight = font.lfHeight * 3 / 2;
  ui::Font titleFont(CreateFontIndirectW(&font));
  ui::SelectedObject selected(dc, titleFont.Get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_CAPTIONTEXT));
  RECT text{margin * 2 + icon, 0, client.right - margin, client.bottom};
  const std::wstring title = ApplicationTitle();
  DrawTextW(dc, title.c_str(), static_cast<int>(title.size()), &text,
            DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void ShowWaitMessage(std::wstring_view text) {
  if (ui::Form* active = ui::ActiveForm()) RepaintNow(active->Handle());
  if (!g_instance) g_instance = &ui::Application::Get().CreateForm<TQvMessageWaitForm>();
  TQvMessageWaitForm& form = *g_instance;
  TAppIni::CenterFormOnMonitor(form.Handle());
  form.SetMessage(text);
  form.tmrPaint.Start();
  form.ShowNoActivate();  // the window the user works in keeps the focus
  RepaintNow(form.Handle());
}

void ShowWaitMessageFmt(std::wstring_view argument) {
  ShowWaitMessage(FormatText(LangText(67), {argument}) + L".\r\n" + LangText(68));
}

void HideWaitMessage() {
  TQvMessageWaitForm* form = g_instance;
  if (!form) return;
  form->Destroy();  // the window goes now; OnDestroy clears the instance
  form->Release();  // the object is freed from the message loop
}

}  // namespace snibbet
