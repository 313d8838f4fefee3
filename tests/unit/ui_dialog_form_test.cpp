// Dialog-based forms: built from a DIALOGEX resource under the form's own
// class name, controls attached by id, results through the dialog manager.
#include <string>

#include "tests/unit/ui_test_dialog.h"
#include "tests/unit/ui_test_support.h"
#include "ui/button.h"
#include "ui/check_box.h"
#include "ui/dialog_form.h"
#include "ui/edit.h"
#include "ui/exceptions.h"
#include "ui/forms.h"
#include "ui/label.h"

namespace {

constexpr UINT kAsk = WM_APP + 1;
constexpr UINT kFail = WM_APP + 2;

class NameDialog : public ui::DialogForm {
 public:
  NameDialog() : DialogForm({.className = L"TNameDialog", .keyboardNavigation = true}, IDD_UI_TEST_DIALOG) {}

  ui::Label lblName{*this, {.name = L"lblName", .id = IDC_UI_TEST_LABEL}};
  ui::Edit edtName{*this, {.name = L"edtName", .id = IDC_UI_TEST_NAME, .text = L"from the design"}};
  ui::CheckBox chkRemember{*this, {.name = L"chkRemember", .id = IDC_UI_TEST_CHECK}};
  ui::Button btnOk{*this, {.name = L"btnOk", .id = IDOK}, IDOK};
  ui::Button btnCancel{*this, {.name = L"btnCancel", .id = IDCANCEL}, IDCANCEL};
  int languageApplied = 0;
  std::wstring closedWith;

  void ApplyLanguage() override {
    ++languageApplied;
    SetText(L"Translated caption");
    lblName.SetText(L"Translated label:");
  }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == kAsk) return 42;
    if (message == kFail) throw std::runtime_error("dialog failed");
    return DialogForm::HandleMessage(message, wParam, lParam);
  }
};

using DialogFormTest = UiTest;

std::wstring ClassNameOf(HWND window) {
  wchar_t name[256] = L"";
  GetClassNameW(window, name, 256);
  return name;
}

TEST_F(DialogFormTest, BuiltFromTheResourceUnderTheFormClassNameWithControlsAttached) {
  NameDialog dialog;
  dialog.Create();
  EXPECT_EQ(ClassNameOf(dialog.Handle()), L"TNameDialog");
  EXPECT_FALSE(dialog.IsVisible());  // WS_VISIBLE in the template does not show it early
  EXPECT_EQ(GetWindow(dialog.Handle(), GW_OWNER), ui::ApplicationWindow());
  // Placement code asks the form, not the template, for its border.
  EXPECT_EQ(dialog.Border(), ui::BorderStyle::Dialog);
  EXPECT_EQ(dialog.BorderIcons(), ui::border_icon::kSystemMenu);
  EXPECT_EQ(dialog.languageApplied, 1);
  EXPECT_EQ(dialog.Text(), L"Translated caption");
  EXPECT_EQ(dialog.lblName.Handle(), GetDlgItem(dialog.Handle(), IDC_UI_TEST_LABEL));
  EXPECT_EQ(dialog.lblName.Text(), L"Translated label:");
  EXPECT_EQ(dialog.edtName.Text(), L"from the design");
  EXPECT_EQ(ui::FindFormByClassName(L"TNameDialog"), &dialog);
  EXPECT_EQ(FindWindowW(L"TNameDialog", nullptr), dialog.Handle());
}

TEST_F(DialogFormTest, HandlerResultsReachTheSenderAndFailuresTheApplication) {
  std::wstring reported;
  App().SetExceptionHandler([&](const std::exception_ptr& e) { reported = ui::ExceptionMessage(e); });
  NameDialog dialog;
  dialog.Create();
  EXPECT_EQ(SendMessageW(dialog.Handle(), kAsk, 0, 0), 42);
  SendMessageW(dialog.Handle(), kFail, 0, 0);
  EXPECT_EQ(reported, L"dialog failed");
  EXPECT_TRUE(dialog.IsCreated());
}

TEST_F(DialogFormTest, ModalDialogEndsWithTheButtonsResult) {
  NameDialog dialog;
  dialog.Create();
  dialog.chkRemember.SetChecked(true);
  PostMessageW(dialog.Handle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(dialog.btnOk.Handle()));
  EXPECT_EQ(dialog.ShowModal(), IDOK);
  EXPECT_TRUE(dialog.chkRemember.Checked());
  EXPECT_FALSE(dialog.IsVisible());
}

TEST_F(DialogFormTest, EscapeInAModelessDialogClosesIt) {
  NameDialog dialog;
  dialog.Show();
  SetFocus(dialog.edtName.Handle());
  // The key goes through the loop, where the dialog keys turn Esc into IDCANCEL.
  PostMessageW(dialog.edtName.Handle(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  ASSERT_TRUE(PumpUntil([&] { return !dialog.IsVisible(); }));
  EXPECT_TRUE(dialog.IsCreated());  // closing hides by default
}

TEST_F(DialogFormTest, TemplateRetargetingKeepsTheItemsAligned) {
  // Same template, class names of every length: the items must still line up.
  for (const wchar_t* name : {L"T", L"TAb", L"TAbcd", L"TAbcdef"}) {
    struct Probe : ui::DialogForm {
      explicit Probe(const wchar_t* className) : DialogForm({.className = className}, IDD_UI_TEST_DIALOG) {}
      ui::Edit edtName{*this, {.name = L"edtName", .id = IDC_UI_TEST_NAME}};
    } probe(name);
    ASSERT_NO_THROW(probe.Create()) << "class " << std::string(name, name + wcslen(name));
    EXPECT_EQ(ClassNameOf(probe.Handle()), name);
    EXPECT_EQ(ClassNameOf(probe.edtName.Handle()), L"Edit");
  }
}

}  // namespace
