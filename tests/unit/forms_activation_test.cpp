// Opening a window only once: the second request brings the open one back.
#include "core/form_activation.h"
#include "core/qv_form.h"
#include "tests/unit/forms_test_support.h"

namespace snibbet::test {
namespace {

class OnceForm : public TQvForm {
 public:
  static constexpr const wchar_t* kClassName = L"TFormsOnceProbe";
  OnceForm() : TQvForm({.className = kClassName, .clientWidth = 200, .clientHeight = 100}) { ++constructed; }
  static inline int constructed = 0;
};

class OtherForm : public TQvForm {
 public:
  OtherForm() : TQvForm({.className = L"TFormsOtherProbe", .left = 300, .top = 300}) {}
};

using ShowFormOnceTest = FormsTest;

TEST_F(ShowFormOnceTest, CreatesOnceThenBringsTheOpenFormBack) {
  OnceForm::constructed = 0;
  EXPECT_FALSE(ActivateFormByClassName(OnceForm::kClassName));

  OnceForm* form = ShowFormOnce<OnceForm>();
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(OnceForm::constructed, 1);
  EXPECT_TRUE(App().Owns(*form));
  EXPECT_TRUE(form->IsVisible());

  OtherForm other;
  other.Show();
  ASSERT_EQ(GetForegroundWindow(), other.Handle());
  EXPECT_EQ(ShowFormOnce<OnceForm>(), form);
  EXPECT_EQ(OnceForm::constructed, 1);
  EXPECT_EQ(GetForegroundWindow(), form->Handle());

  ShowWindow(form->Handle(), SW_MINIMIZE);
  ASSERT_TRUE(IsIconic(form->Handle()));
  EXPECT_EQ(ShowFormOnce<OnceForm>(), form);
  EXPECT_FALSE(IsIconic(form->Handle()));

  form->Hide();
  EXPECT_TRUE(ActivateFormByClassName(OnceForm::kClassName));
  EXPECT_TRUE(form->IsVisible());
  EXPECT_EQ(OnceForm::constructed, 1);

  // Once closed for good, the next request opens a new one.
  form->Destroy();
  EXPECT_NE(ShowFormOnce<OnceForm>(), nullptr);
  EXPECT_EQ(OnceForm::constructed, 2);
}

}  // namespace
}  // namespace snibbet::test
