// The About box as a window: what it shows, the links' hover colours and the
// addresses they open, the language change, and its place among the windows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/app_ini.h"
#include "core/lang_table.h"
#include "core/preset.h"
#include "dialogs/about_form.h"
#include "tests/unit/settings_fixture.h"
#include "ui/application.h"
#include "ui/forms.h"

namespace snibbet {
namespace {

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ui::Application::Get().ProcessMessage(msg);
}

class NotedShell : public AboutShell {
 public:
  void OpenAddress(HWND owner, const std::wstring& address) override {
    EXPECT_NE(owner, nullptr);
    opened.push_back(address);
  }
  void CheckNewVersion() override { ++checks; }

  std::vector<std::wstring> opened;
  int checks = 0;
};

class AboutFormTest : public test::SettingsTest {
 protected:
  void SetUp() override {
    SettingsTest::SetUp();
    settings_ = &InitializePreset(AppIni());
    InitializeLanguages();
    ui::Application::Create({.title = L"Orvane Paste"});
  }
  void TearDown() override {
    ui::Application::Destroy();
    FinalizeLanguages();
    FinalizePreset();
    SettingsTest::TearDown();
  }
  static void MouseOver(ui::LinkLabel& link) { link.Send(WM_MOUSEMOVE, 0, MAKELPARAM(2, 2)); }
  static void MouseOut(ui::LinkLabel& link) { link.Send(WM_MOUSELEAVE); }
  static void Click(ui::LinkLabel& link) { link.Send(WM_LBUTTONUP, 0, MAKELPARAM(2, 2)); }

  NotedShell shell_;
  TPreset* settings_ = nullptr;
};

TEST_F(AboutFormTest, ShowsNameBuildAndMakerAndEachLinkOpensItsAddress) {
  TAboutForm form(&shell_, settings_);
  form.Show();
  // This test program's version resource: product 3.1.4, file 3.1.4.159.
  EXPECT_EQ(form.lblName.Text(), L"Orvane Paste 3.1.4");
  EXPECT_EQ(form.lblVersion.Text(), L"Build: 3.1.4.159");
  EXPECT_FALSE(form.lblCopyright.Text().empty());
  EXPECT_FALSE(form.lblEnterprise.Text().empty());
  EXPECT_EQ(form.www.Text(), L"http://www.orvanesoftware.com/");
  EXPECT_EQ(form.lblMail.Text(), L"support@orvanesoftware.com");

  Click(form.www);
  Click(form.lblMail);
  Click(form.lblIsPart);
  form.btnCheckNewVersion.Click();
  EXPECT_EQ(shell_.opened, (std::vector<std::wstring>{
                               L"http://www.orvanesoftware.com/",
                               L"mailto:support@orvanesoftware.com?subject=Orvane%20Paste%203.1.4",
                               L"http://www.orvanesoftware.com/tools/"}));
  EXPECT_EQ(shell_.checks, 1);

  // German users get the maker's German site, from the next showing on.
  settings_->SetLanguage(7);
  form.Hide();
  form.Show();
  shell_.opened.clear();
  Click(form.www);
  Click(form.lblIsPart);
  EXPECT_EQ(shell_.opened, (std::vector<std::wstring>{L"http://de.orvanesoftware.com/",
                                                      L"http://de.orvanesoftware.com/tools/"}));
}

TEST_F(AboutFormTest, LinksTurnDarkRedUnderTheMouseAndBlueAgainAfter) {
  TAboutForm form(&shell_, settings_);
  form.Show();
  for (ui::LinkLabel* link : {&form.www, &form.lblMail, &form.lblIsPart}) {
    EXPECT_EQ(link->Color(), 0xFF0000u);
    EXPECT_TRUE(link->Underlined());
    MouseOver(*link);
    EXPECT_EQ(link->Color(), 128u);
    MouseOver(*link);  // moving on inside it changes nothing
    EXPECT_EQ(link->Color(), 128u);
    MouseOut(*link);
    EXPECT_EQ(link->Color(), 0xFF0000u);
  }
}

TEST_F(AboutFormTest, LanguageChangeRetranslatesCaptionButtonsAndTheFamilyLinkOnly) {
  TAboutForm form(&shell_, settings_);
  form.Show();
  const std::wstring name = form.lblName.Text();
  MouseOver(form.lblIsPart);
  Lang().SetText(322, L"Über %1");
  Lang().SetText(321, L"Neue Version suchen");
  Lang().SetText(105, L"Schließen");
  Lang().SetText(561, L"%1 gehört zu den Orvane-Werkzeugen.");
  form.ApplyLanguage();
  EXPECT_EQ(form.Text(), L"Über Orvane Paste");
  EXPECT_EQ(form.btnCheckNewVersion.Text(), L"Neue Version suchen");
  EXPECT_EQ(form.btnClose.Text(), L"Schließen");
  EXPECT_EQ(form.lblIsPart.Text(), L"Orvane Paste gehört zu den Orvane-Werkzeugen.");
  EXPECT_EQ(form.lblIsPart.Color(), 0xFF0000u);
  EXPECT_EQ(form.lblName.Text(), name) << "the shown values stay until the next showing";
}

TEST_F(AboutFormTest, OneBoxWithItsOwnTaskbarButtonFreedWhenClosed) {
  TAboutForm* first = ShowAboutBox(settings_);
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(first->IsVisible());
  EXPECT_EQ(GetWindow(first->Handle(), GW_OWNER), nullptr);
  EXPECT_NE(GetWindowLongW(first->Handle(), GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
  first->Hide();
  EXPECT_EQ(ShowAboutBox(settings_), first) << "an open box is brought forward, not made again";
  EXPECT_TRUE(first->IsVisible());

  // Esc reaches the Close button through the dialog keys.
  SetForegroundWindow(first->Handle());
  first->btnClose.Focus();
  PostMessageW(first->btnClose.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  Pump();
  Pump();
  EXPECT_EQ(ui::FindFormByClassName(TAboutForm::kClassName), nullptr) << "closed is freed";
}

}  // namespace
}  // namespace snibbet
