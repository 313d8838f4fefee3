#pragma once
// The About box: the logo, the program's name and version, the build (file
// version), the maker's copyright, name, web site and mail address, the link
// to the maker's family of tools, and a check for a newer version. It has its
// own taskbar button, is filled each time it shows and is freed when closed;
// ShowAboutBox keeps it to one.
#include <windows.h>

#include <string>

#include "core/qv_form.h"
#include "ui/button.h"
#include "ui/gdi.h"
#include "ui/label.h"
#include "ui/link_label.h"
#include "ui/paint_box.h"

namespace snibbet {

class TPreset;

// What the About box asks of the world outside: the shell opening a page or
// a mail link, and the manual version check. Tests pass their own.
class AboutShell {
 public:
  virtual ~AboutShell() = default;
  virtual void OpenAddress(HWND owner, const std::wstring& address) = 0;
  virtual void CheckNewVersion() = 0;
};

// The shell's default verb in a normal window; the version check with its messages.
class SystemAboutShell : public AboutShell {
 public:
  void OpenAddress(HWND owner, const std::wstring& address) override;
  void CheckNewVersion() override;
};

class TAboutForm : public TQvForm {
 public:
  static constexpr const wchar_t* kClassName = L"TAboutForm";
  // The colours of a link: resting, and with the mouse over it.
  static constexpr COLORREF kLinkColor = RGB(0, 0, 255);
  static constexpr COLORREF kLinkHoverColor = RGB(128, 0, 0);

  // Null shell: SystemAboutShell. The maker's pages are those of the
  // interface language in `settings`; without settings, the main site's.
  explicit TAboutForm(AboutShell* shell = nullptr, const TPreset* settings = nullptr);

  void ApplyLanguage() override;

  void wwwClick();
  void lblMailClick();
  void lblIsPartClick();
  void btnCheckNewVersionClick();

  ui::PaintBox imgLogo{*this, {.name = L"imgLogo", .left = 8, .top = 8, .width = 160, .height = 300}};
  ui::Label lblName{*this, {.name = L"lblName", .left = 192, .top = 13, .width = 329, .height = 24,
                            .style = SS_NOPREFIX}};
  ui::Label lblVersion{*this, {.name = L"lblVersion", .left = 192, .top = 48, .width = 329, .height = 14,
                               .style = SS_NOPREFIX}};
  ui::Label lblCopyright{*this, {.name = L"lblCopyright", .left = 192, .top = 64, .width = 329, .height = 14,
                                 .style = SS_NOPREFIX}};
  ui::Label lblEnterprise{*this, {.name = L"lblEnterprise", .left = 192, .top = 80, .width = 329, .height = 14,
                                  .style = SS_NOPREFIX}};
  ui::LinkLabel www{*this, {.name = L"www", .left = 192, .top = 96, .width = 329, .height = 14}};
  ui::LinkLabel lblMail{*this, {.name = L"lblMail", .left = 192, .top = 112, .width = 329, .height = 14}};
  ui::LinkLabel lblIsPart{*this, {.name = L"lblIsPart", .left = 192, .top = 140, .width = 329, .height = 42}};
  ui::Label bvlBottom{*this, {.name = L"bvlBottom", .left = 192, .top = 307, .width = 329, .height = 2,
                              .style = SS_ETCHEDHORZ}};
  ui::Button btnCheckNewVersion{*this, {.name = L"btnCheckNewVersion", .left = 8, .top = 320, .width = 160,
                                        .height = 25}};
  // Enter and Esc both close the box.
  ui::Button btnClose{*this, {.name = L"btnClose", .id = IDCANCEL, .left = 448, .top = 320, .width = 75,
                              .height = 25}, 0, true};

 protected:
  void OnCreate() override;
  void OnShow() override;
  void OnClose(ui::CloseAction& action) override;
  void OnDestroy() override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void PaintLogo(HDC dc, const RECT& client) const;
  std::wstring Localized(const std::wstring& address) const;

  SystemAboutShell systemShell_;
  AboutShell& shell_;
  const TPreset* settings_;
  ui::Bitmap logo_;
  ui::Font nameFont_;
};

// An open About box is brought forward; otherwise a new one is created and
// shown, on the settings given.
TAboutForm* ShowAboutBox(const TPreset* settings = nullptr);

}  // namespace snibbet
