#include "dialogs/about_form.h"

#include <shellapi.h>

#include "core/app_ini.h"
#include "core/debug_log.h"
#include "core/form_activation.h"
#include "core/lang_table.h"
#include "core/preset.h"
#include "core/product_name.h"
#include "core/text_utils.h"
#include "core/tray_lookups.h"
#include "core/utilities.h"
#include "core/version_check.h"
#include "core/version_info.h"
#include "ui/monitor.h"

namespace snibbet {
namespace {

constexpr int kNameFontPixels = 16;

}  // namespace

void SystemAboutShell::OpenAddress(HWND owner, const std::wstring& address) {
  DebugLog(L"Open " + address);
  // No browser or mail program registered: nothing to tell the user.
  ShellExecuteW(owner, nullptr, address.c_str(), nullptr, L"", SW_SHOWNORMAL);
}

void SystemAboutShell::CheckNewVersion() { snibbet::CheckNewVersion(true); }

TAboutForm::TAboutForm(AboutShell* shell, const TPreset* settings)
    : TQvForm({.className = kClassName,
               .border = ui::BorderStyle::Dialog,
               .borderIcons = ui::border_icon::kSystemMenu,
               .clientWidth = 537,
               .clientHeight = 357,
               // Its own taskbar button: not owned by the application's hidden window.
               .owner = ui::FormOwner::None,
               .appWindow = true,
               .keyboardNavigation = true,
               .fontFace = L"MS Sans Serif",
               .fontPointSize = 8}),
      shell_(shell ? *shell : systemShell_),
      settings_(settings) {
  imgLogo.onPaint = [this](HDC dc, const RECT& client) { PaintLogo(dc, client); };
  for (ui::LinkLabel* link : {&www, &lblMail, &lblIsPart}) {
    link->onMouseEnter = [link] { link->SetColor(kLinkHoverColor); };
    link->onMouseLeave = [link] { link->SetColor(kLinkColor); };
  }
  www.onClick = [this] { wwwClick(); };
  lblMail.onClick = [this] { lblMailClick(); };
  lblIsPart.onClick = [this] { lblIsPartClick(); };
  btnCheckNewVersion.onClick = [this] { btnCheckNewVersionClick(); };
  btnClose.onClick = [this] { Close(); };
}

void TAboutForm::OnCreate() {
  DebugLog(L"AboutForm");
  logo_.Reset(static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), L"LOGO", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  LOGFONTW description{};
  description.lfHeight = -ui::ScaleToDpi(kNameFontPixels);
  description.lfWeight = FW_BOLD;
  description.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(description.lfFaceName, L"Arial", LF_FACESIZE);
  nameFont_.Reset(CreateFontIndirectW(&description));
  lblName.Send(WM_SETFONT, reinterpret_cast<WPARAM>(nameFont_.Get()), TRUE);
  TAppIni::CenterFormOnMonitor(Handle());
}

void TAboutForm::OnDestroy() { DebugLog(L"AboutForm freed"); }

void TAboutForm::ApplyLanguage() {
  TQvForm::ApplyLanguage();
  // The language's character set may have given the form a new font.
  lblIsPart.Send(WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), TRUE);
  SetText(FormatText(LangText(322), {kProductName}));
  btnCheckNewVersion.SetText(LangText(321));
  btnClose.SetText(LangText(105));
  lblIsPart.SetText(FormatText(LangText(561), {kProductName}));
  lblIsPart.SetColor(kLinkColor);
  lblIsPart.SetUnderlined(true);
}

void TAboutForm::OnShow() {
  for (ui::LinkLabel* link : {&www, &lblMail, &lblIsPart}) link->SetCursor(HandCursor());
  lblName.SetText(std::wstring(kProductName) + L" " + GetProductVersion());
  lblVersion.SetText(L"Build: " + GetVersionInfoString(ProgramFileName(), L"FileVersion"));
  lblCopyright.SetText(kMakerCopyright);
  lblEnterprise.SetText(kMakerName);
  www.SetText(Localized(kMakerPageAddress));
  lblMail.SetText(kSupportMailbox);
}

void TAboutForm::OnClose(ui::CloseAction& action) { action = ui::CloseAction::Free; }

void TAboutForm::wwwClick() { shell_.OpenAddress(Handle(), www.Text()); }

void TAboutForm::lblMailClick() { shell_.OpenAddress(Handle(), ProductMailLink(lblMail.Text(), GetProductVersion())); }

void TAboutForm::lblIsPartClick() { shell_.OpenAddress(Handle(), Localized(kDesktopToolsPageAddress)); }

void TAboutForm::btnCheckNewVersionClick() { shell_.CheckNewVersion(); }

// The maker's sub-site of the interface language, where it has one.
std::wstring TAboutForm::Localized(const std::wstring& address) const {
  return settings_ ? settings_->LocalizeWebAddress(address) : address;
}

void TAboutForm::PaintLogo(HDC dc, const RECT& client) const {
  if (!logo_) return;
  BITMAP size{};
  GetObjectW(logo_.Get(), sizeof size, &size);
  ui::MemoryDC source(dc);
  ui::SelectedObject selected(source, logo_.Get());
  SetStretchBltMode(dc, HALFTONE);
  StretchBlt(dc, 0, 0, client.right, client.bottom, source, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
}

LRESULT TAboutForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // Enter presses the Close button wherever the focus is but on another button.
  if (message == DM_GETDEFID) return MAKELRESULT(btnClose.Id(), DC_HASDEFID);
  return TQvForm::HandleMessage(message, wParam, lParam);
}

TAboutForm* ShowAboutBox(const TPreset* settings) { return ShowFormOnce<TAboutForm>(nullptr, settings); }

}  // namespace snibbet
