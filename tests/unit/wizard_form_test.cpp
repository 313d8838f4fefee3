// The first-run wizard over fake ports: the three steps and how they are
// walked, the close questions, the start-with-Windows box and its options
// program, the language change, and the proposals that leave the bindings be.
#include <functional>
#include <optional>
#include <system_error>

#include "core/lang_list.h"
#include "core/lang_table.h"
#include "core/paths.h"
#include "core/preset.h"
#include "core/program_folder.h"
#include "core/shortcut.h"
#include "core/version_info.h"
#include "dialogs/wizard_form.h"
#include "keyboard/actions.h"
#include "keyboard/key_history.h"
#include "keyboard/key_model.h"
#include "keyboard/keyboard_runtime.h"
#include "keyboard/template_hotkey.h"
#include "templates/template_table.h"
#include "tests/unit/program_window_fixture.h"
#include "tests/unit/input_records_support.h"
#include "ui/application.h"

namespace snibbet {
namespace {

class FakeProgram final : public WizardPort {
 public:
  void EnableSettingsMenuItems(bool enabled) override { menuItemsEnabled = enabled; }
  void BindingsChanged() override { ++bindingsChanged; }
  const ui::ImageList* LanguageFlags() override { return nullptr; }
  TemplateTable* Templates() override { return nullptr; }
  void OpenSettings() override { ++settingsOpened; }
  void CheckNewVersion() override { ++versionChecks; }

  std::optional<bool> menuItemsEnabled;
  int bindingsChanged = 0, settingsOpened = 0, versionChecks = 0;
};

class WizardFormTest : public test::ProgramWindowTest {
 protected:
  TWizardForm& Open() { return ShowWizard(program_, *parts_, system_); }
  static std::vector<std::wstring> StepTexts(const TWizardForm& form) {
    std::vector<std::wstring> texts;
    for (auto node = form.tvList.FirstNode(); node; node = form.tvList.NextSibling(node))
      texts.push_back(form.tvList.NodeText(node));
    return texts;
  }
  std::wstring StartWithWindowsCommand(bool on) const {
    return JoinPath(ProgramFolder(), L"Varnock.exe") + L" \"" + ProgramFileName() + L"\"" + (on ? L" 1" : L" 0") +
           L" 2";
  }

  FakeProgram program_;
  TKeyHistory history_;  // outlives the wizard, which the application frees
};

TEST(WizardSteps, NextAndPriorSkipLockedStepsAndTheLastStepFinishes) {
  const std::vector<int> steps{kStepCurrent, kStepNotVisited, kStepLocked, kStepNotVisited};
  EXPECT_EQ(NextEnterableStep(steps, 0), 1);
  EXPECT_EQ(NextEnterableStep(steps, 1), 3) << "a locked step is passed over";
  EXPECT_EQ(NextEnterableStep(steps, 3), std::nullopt);
  EXPECT_EQ(PriorEnterableStep(steps, 3), 1);
  EXPECT_EQ(PriorEnterableStep(steps, 0), std::nullopt);
  EXPECT_FALSE(CanEnterStep(steps, 2));
  EXPECT_FALSE(CanEnterStep(steps, 4));
  EXPECT_EQ(NextCaptionTextOn(steps, 1), 382);
  EXPECT_EQ(NextCaptionTextOn(steps, 3), 383);
  EXPECT_TRUE(CloseAsksOn(steps, 0));
  EXPECT_TRUE(CloseAsksOn(steps, -1)) << "no step selected is not the last";
  EXPECT_FALSE(CloseAsksOn(steps, 3));
  EXPECT_FALSE(PriorVisibleOn(0));
  EXPECT_TRUE(PriorVisibleOn(2));
}

TEST_F(WizardFormTest, OpensOnWelcomeAndWalksTheThreeStepsWithNextAndPrior) {
  TWizardForm& form = Open();
  Pump();
  EXPECT_EQ(openWindows_.Wizard(), &form);
  EXPECT_EQ(StepTexts(form), (std::vector<std::wstring>{LangText(384), LangText(388), LangText(390)}));
  EXPECT_TRUE(GetWindowLongW(form.Handle(), GWL_EXSTYLE) & WS_EX_APPWINDOW) << "its own taskbar button";
  EXPECT_EQ(program_.bindingsChanged, 1);
  ASSERT_TRUE(Get(L"Language").has_value()) << "the settings are stored when it shows";

  EXPECT_EQ(form.CurrentStep(), TWizardForm::kWelcome);
  EXPECT_TRUE(form.cbLanguage.IsVisible());
  EXPECT_FALSE(form.rtfTemplates.IsVisible());
  EXPECT_FALSE(form.btnPrior.IsVisible());
  EXPECT_EQ(form.btnNext.Text(), LangText(382));
  EXPECT_EQ(form.pnlInfo.Text(), LangText(384));
  EXPECT_EQ(form.StepImages(), (std::vector<int>{kStepCurrent, kStepNotVisited, kStepNotVisited}));

  form.btnNext.Click();
  EXPECT_EQ(form.CurrentStep(), TWizardForm::kTemplatesDemo);
  EXPECT_TRUE(form.rtfTemplates.IsVisible());
  EXPECT_FALSE(form.cbLanguage.IsVisible());
  EXPECT_TRUE(form.btnPrior.IsVisible());
  EXPECT_EQ(form.pnlInfo.Text(), LangText(388));
  // The demo names the template hotkey.
  EXPECT_NE(form.memoInfoTemplates.Text().find(L"Win+Space"), std::wstring::npos);
  EXPECT_EQ(form.StepImages()[0], kStepVisited) << "a step left is marked visited";

  form.btnNext.Click();
  EXPECT_EQ(form.CurrentStep(), TWizardForm::kFinish);
  EXPECT_EQ(form.btnNext.Text(), LangText(383));
  EXPECT_TRUE(form.memoInfoFinish.IsVisible());

  form.btnPrior.Click();
  EXPECT_EQ(form.CurrentStep(), TWizardForm::kTemplatesDemo);
  form.btnPrior.Click();
  EXPECT_EQ(form.CurrentStep(), TWizardForm::kWelcome);
  EXPECT_FALSE(form.btnPrior.IsVisible());
  form.btnPrior.Click();
  EXPECT_EQ(form.CurrentStep(), TWizardForm::kWelcome) << "nothing before the first step";

  // A second opening brings the same wizard forward.
  EXPECT_EQ(&Open(), &form);
  EXPECT_TRUE(system_.questions.empty());
}

TEST_F(WizardFormTest, ClosingBeforeTheLastStepAsksAndFinishClosesAtOnce) {
  TWizardForm& form = Open();
  Pump();
  system_.yes = false;
  form.btnClose.Click();
  Pump();
  ASSERT_EQ(system_.questions.size(), 1u);
  EXPECT_EQ(system_.questions[0], LangText(311));
  EXPECT_EQ(openWindows_.Wizard(), &form) << "No keeps it open";

  // Settings asks too; No there opens nothing.
  form.btnSettings.Click();
  EXPECT_EQ(system_.questions.size(), 2u);
  EXPECT_EQ(program_.settingsOpened, 0);

  form.btnNext.Click();
  form.btnNext.Click();
  ASSERT_EQ(form.CurrentStep(), TWizardForm::kFinish);
  form.btnNext.Click();
  Pump();
  EXPECT_EQ(system_.questions.size(), 2u) << "Finish closes without a question";
  EXPECT_EQ(openWindows_.Wizard(), nullptr);
  EXPECT_EQ(program_.menuItemsEnabled, true) << "the tray's settings items come back";
}

TEST_F(WizardFormTest, SettingsAsksThenOpensTheSettingsWindowAndTheCloseAsksAgainBeforeTheLastStep) {
  TWizardForm& form = Open();
  Pump();
  // Yes to Settings, No to the close that follows: both windows stay.
  int asked = 0;
  system_.yes = true;
  system_.duringWait = nullptr;
  form.btnSettings.Click();
  Pump();
  asked = static_cast<int>(system_.questions.size());
  EXPECT_EQ(asked, 2) << "the Settings question and the close's";
  EXPECT_EQ(program_.settingsOpened, 1);
  EXPECT_EQ(openWindows_.Wizard(), nullptr) << "Yes twice closes it";

  // On the last step only the Settings question is asked.
  TWizardForm& again = Open();
  Pump();
  again.btnNext.Click();
  again.btnNext.Click();
  system_.questions.clear();
  again.btnSettings.Click();
  Pump();
  EXPECT_EQ(system_.questions.size(), 1u);
  EXPECT_EQ(program_.settingsOpened, 2);
  EXPECT_EQ(openWindows_.Wizard(), nullptr);
}

TEST_F(WizardFormTest, StartWithWindowsRunsTheOptionsProgramAndShowsTheRealStateAfterwards) {
  TWizardForm& form = Open();
  Pump();
  EXPECT_FALSE(form.chkStartWithWindows.Checked()) << "the box shows the system's state";
  EXPECT_TRUE(system_.launches.empty()) << "showing starts nothing";

  // The program switches it on during the wait; clicks and closing meanwhile do nothing.
  bool closedMeanwhile = true;
  system_.duringWait = [&](int wait) {
    if (wait == 3) {
      form.chkStartWithWindows.SetChecked(false);
      form.chkStartWithWindows.onClick();
      form.Close();
      closedMeanwhile = openWindows_.Wizard() == nullptr;
      system_.states.startWithWindows = true;
    }
  };
  Click(form.chkStartWithWindows);
  EXPECT_EQ(system_.launches, (std::vector<std::wstring>{StartWithWindowsCommand(true)}));
  EXPECT_FALSE(closedMeanwhile);
  EXPECT_EQ(system_.waits, 3) << "the wait ends once the registry shows it";
  EXPECT_TRUE(form.chkStartWithWindows.Checked());
  EXPECT_FALSE(form.StartWithWindowsRunning());

  // A program that does nothing: at most about 2.2 s, then the real state.
  system_.duringWait = nullptr;
  system_.waits = 0;
  Click(form.chkStartWithWindows);
  EXPECT_EQ(system_.launches.back(), StartWithWindowsCommand(false));
  EXPECT_EQ(system_.waits, 22);
  EXPECT_TRUE(form.chkStartWithWindows.Checked());

  // A refused start: the box shows the real state and the error goes to an error box.
  system_.launchError = ERROR_CANCELLED;
  system_.waits = 0;
  const size_t launches = system_.launches.size();
  Click(form.chkStartWithWindows);
  EXPECT_EQ(system_.launches.size(), launches + 1) << "read back without a second start";
  EXPECT_TRUE(form.chkStartWithWindows.Checked());
  ASSERT_EQ(system_.errors.size(), 1u);
  EXPECT_FALSE(system_.errors[0].empty());
  EXPECT_EQ(system_.waits, 0);
  EXPECT_FALSE(form.StartWithWindowsRunning());
}

TEST_F(WizardFormTest, ProposalsLeaveATemplateHotkeyOnAProposalKeyAsItIs) {
  // LWin+O is one of the proposals, of another kind.
  constexpr ControlSet kLWin = kLeftWinBit;
  Preset().SetSCShowTemplates(MakeShortCut('O', kLWin));
  BindTemplateHotkeyFromSetting(QvActions(), Preset().SCShowTemplates());
  TWizardForm& form = Open();
  Pump();
  // Two language changes run the proposals again.
  Preset().SetLanguage(Preset().Language());
  Preset().SetLanguage(Preset().Language());
  const TQvAction* binding = QvActions().Find('O', kLWin, kLWin);
  ASSERT_NE(binding, nullptr);
  EXPECT_EQ(binding->Kind(), 8);
  EXPECT_EQ(binding->Param(), 1) << "still the template hotkey";
  EXPECT_EQ(QvActions().Size(), 1u) << "no proposal was bound";
  // The proposal on that key counts as chosen, the others not.
  int chosen = 0;
  for (const WizardProposal& proposal : form.Proposals()) chosen += proposal.chosen;
  EXPECT_EQ(chosen, 1);
  EXPECT_EQ(form.Proposals().size(), 41u);
  EXPECT_NE(form.memoInfoTemplates.Text().find(L"Win+O"), std::wstring::npos);
}

TEST_F(WizardFormTest, AMouseButtonAnywhereStartsANewTypedWordWhileTheWizardExists) {
  testing::ProgramKeyboardRuntime keyboard;
  keyboard.LoadLayout(L"Standard");
  parts_->keyHistory = &history_;
  Open();
  Pump();
  TQvKeyboard& model = keyboard.Model();
  model.SetKeyPressed('A', true);
  history_.Record(model, 'A', false, false);
  model.SetKeyPressed('A', false);
  history_.Record(model, 'A', true, false);
  ASSERT_GT(history_.Count(), 0);
  MSG click{};
  click.hwnd = ui::ApplicationWindow();
  click.message = WM_RBUTTONDOWN;
  ui::Application::Get().ProcessMessage(click);
  EXPECT_EQ(history_.Count(), 0);
}

}  // namespace
}  // namespace snibbet
