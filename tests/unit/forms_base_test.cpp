// The base form: the font's character set follows the Language setting, and
// re-applying the language reaches every open form of ours, also past one
// that fails.
#include <stdexcept>
#include <string>
#include <vector>

#include "core/lang_apply.h"
#include "core/preset.h"
#include "core/preset_effects.h"
#include "core/qv_form.h"
#include "core/wait_form.h"
#include "tests/unit/forms_test_support.h"
#include "ui/forms.h"
#include "ui/label.h"

namespace snibbet::test {
namespace {

std::vector<std::string> g_applied;  // which forms re-read their texts, in order

class ProbeForm : public TQvForm {
 public:
  ProbeForm(std::wstring className, std::string name) : TQvForm({.className = std::move(className)}), name_(name) {}

  ui::Label lblText{*this, {.name = L"lblText", .left = 8, .top = 8, .width = 200, .height = 20}};
  int applied = 0;
  bool failNextTime = false;

  void ApplyLanguage() override {
    TQvForm::ApplyLanguage();
    ++applied;
    g_applied.push_back(name_);
    if (failNextTime) throw std::runtime_error(name_ + " failed");
  }

 private:
  std::string name_;
};

// Someone else's form: not ours, so language changes do not reach it.
class ForeignForm : public ui::Form {
 public:
  ForeignForm() : Form({.className = L"TFormsForeignProbe"}) {}
  int applied = 0;
  void ApplyLanguage() override { ++applied; }
};

// The hub's part of a language change: its own texts before the forms'.
class DataModuleTexts : public HubEffects {
 public:
  void ApplyLanguage() override {
    ApplyLanguageEverywhere([] { g_applied.push_back("data module"); });
  }
};

class BaseFormTest : public FormsTest {
 protected:
  void SetUp() override {
    FormsTest::SetUp();
    g_applied.clear();
  }
};

TEST_F(BaseFormTest, WithoutASettingsObjectTheFontIsLeftAlone) {
  ForeignForm plain;
  plain.Create();
  ProbeForm form(L"TFormsProbeA", "a");
  form.Create();
  EXPECT_EQ(form.applied, 1);
  EXPECT_EQ(form.FontDescription().lfCharSet, plain.FontDescription().lfCharSet);
}

TEST_F(BaseFormTest, ApplyLanguageEverywhereReachesTheDataModuleThenOurFormsInOpeningOrder) {
  UseLanguageSetting(1041);
  ProbeForm a(L"TFormsProbeA", "a"), b(L"TFormsProbeB", "b"), c(L"TFormsProbeC", "c");
  ForeignForm foreign;
  c.Create();
  foreign.Create();
  a.Create();
  b.Create();
  b.Show();  // shown or hidden, every open form counts
  // Created with Language 1041: Shift-JIS for the form and its controls.
  EXPECT_EQ(a.applied, 1);
  EXPECT_EQ(FontOf(a.lblText.Handle()).lfCharSet, 128);
  g_applied.clear();
  DataModuleTexts hub;
  SettingEffectsConnection hubConnected(Preset(), {.hub = &hub});

  Preset().SetLanguage(1049);  // applies the language everywhere itself

  EXPECT_EQ(g_applied, (std::vector<std::string>{"data module", "c", "a", "b"}));
  EXPECT_EQ(foreign.applied, 1);  // only its own creation
  for (ProbeForm* form : {&a, &b, &c}) EXPECT_EQ(FontOf(form->lblText.Handle()).lfCharSet, 1);
  EXPECT_TRUE(reported.empty());
}

TEST_F(BaseFormTest, AFailingFormDoesNotStopTheOthersAndTheFailureIsReportedOnce) {
  ProbeForm a(L"TFormsProbeA", "a"), b(L"TFormsProbeB", "b"), c(L"TFormsProbeC", "c");
  a.Create();
  b.Create();
  c.Create();
  b.failNextTime = true;
  g_applied.clear();

  ApplyLanguageEverywhere();
  EXPECT_EQ(g_applied, (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(reported, (std::vector<std::wstring>{L"b failed"}));

  // A failing data module neither stops the forms; only the first failure is reported.
  g_applied.clear();
  reported.clear();
  ApplyLanguageEverywhere([] { throw std::runtime_error("data module failed"); });
  EXPECT_EQ(g_applied, (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(reported, (std::vector<std::wstring>{L"data module failed"}));
}

TEST_F(BaseFormTest, TheWaitMessageStaysBoldInTheNewCharset) {
  UseLanguageSetting(1049);
  ShowWaitMessage(L"Working");
  HWND label = TQvMessageWaitForm::Instance()->lblMessage.Handle();
  EXPECT_EQ(FontOf(label).lfWeight, FW_BOLD);

  Preset().SetLanguage(2052);
  ApplyLanguageEverywhere();
  EXPECT_EQ(FontOf(label).lfCharSet, 134);
  EXPECT_EQ(FontOf(label).lfWeight, FW_BOLD);
}

}  // namespace
}  // namespace snibbet::test
