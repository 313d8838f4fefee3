// The settings window over fake ports: its pages and tree, the live edit
// with Apply, Close and Default, and the options program's road with its
// command line, its poll and its failures.
#include <deque>
#include <functional>
#include <optional>
#include <system_error>

#include "core/lang_list.h"
#include "core/lang_table.h"
#include "core/paths.h"
#include "core/program_folder.h"
#include "core/text_utils.h"
#include "core/preset.h"
#include "core/version_info.h"
#include "dialogs/settings_form.h"
#include "dialogs/wizard_form.h"
#include "keyboard/actions.h"
#include "templates/template_table.h"
#include "tests/unit/program_window_fixture.h"
#include "ui/application.h"
#include "ui/handles.h"

namespace snibbet {
namespace {

class FakeProgram final : public SettingsWindowPort {
 public:
  void EnableSettingsMenuItems(bool enabled) override { menuItemsEnabled = enabled; }
  void BindingsChanged() override { ++bindingsChanged; }
  const ui::ImageList* LanguageFlags() override { return nullptr; }
  const ui::ImageList* EventPictures() override { return nullptr; }
  TemplateTable* Templates() override { return templates; }
  void OpenTemplateEditor() override { ++editorOpened; }
  bool WizardOpen() override { return false; }
  void BringWizardToFront() override {}
  bool OpenWizard() override { return openWizard ? openWizard() : false; }

  std::function<bool()> openWizard;
  std::optional<bool> menuItemsEnabled;
  int bindingsChanged = 0;
  int editorOpened = 0;
  TemplateTable* templates = nullptr;
};

class SettingsFormTest : public test::ProgramWindowTest {
 protected:
  TMainForm& Open() { return OpenSettingsWindow(program_, *parts_, system_); }
  static std::vector<int> NodeIdentities(const TMainForm& form) {
    std::vector<int> identities;
    for (auto node = form.tvList.FirstNode(); node; node = form.tvList.NextSibling(node))
      identities.push_back(form.tvList.NodeSelectedImage(node));
    return identities;
  }
  std::wstring Command(bool startWithWindows, bool shellExtension) const {
    return ProgramFolderFile() + L" \"" + ProgramFileName() + L"\"" + (startWithWindows ? L" 1" : L" 0") +
           (shellExtension ? L" 1" : L" 0");
  }
  static std::wstring ProgramFolderFile() { return JoinPath(ProgramFolder(), L"Varnock.exe"); }

  FakeProgram program_;
};

class FakeWizardProgram final : public WizardPort {
 public:
  void EnableSettingsMenuItems(bool) override {}
  void BindingsChanged() override {}
  const ui::ImageList* LanguageFlags() override { return nullptr; }
  TemplateTable* Templates() override { return nullptr; }
  void OpenSettings() override {}
  void CheckNewVersion() override {}
};

TEST(OptionsProgramCommandLine, QuotesTheProgramAndSaysEachSwitch) {
  EXPECT_EQ(OptionsProgramParameters(L"C:\\Program Files\\Snibbet.exe", true, ShellExtensionSwitch::Unregister),
            L"\"C:\\Program Files\\Snibbet.exe\" 1 0");
  EXPECT_EQ(OptionsProgramParameters(L"C:\\S.exe", false, ShellExtensionSwitch::Register), L"\"C:\\S.exe\" 0 1");
  EXPECT_EQ(OptionsProgramParameters(L"C:\\S.exe", false, ShellExtensionSwitch::Unchanged), L"\"C:\\S.exe\" 0 2");
  EXPECT_EQ(KeyboardLayoutItemText(L"German", reinterpret_cast<HKL>(0x04070407)), L"German (04070407)");
  EXPECT_EQ(TemplateSetName(0), L"Greetings");
  EXPECT_EQ(TemplateSetName(4), L"Pascal");
  EXPECT_EQ(TemplateSetName(5), L"");
  EXPECT_EQ(TemplateSetName(-1), L"");
  EXPECT_EQ(ActionSetName(3), L"AlphabeticalEn");
  EXPECT_EQ(ActionSetName(4), L"");
}

TEST_F(SettingsFormTest, OpensOnceWithFivePagesAndFreesItselfWhenClosed) {
  TMainForm& form = Open();
  EXPECT_EQ(openWindows_.SettingsWindow(), &form);
  EXPECT_EQ(program_.menuItemsEnabled, false) << "the tray's settings items are disabled while it exists";
  EXPECT_EQ(NodeIdentities(form), (std::vector<int>{0, 2, 7, 10, 11}));
  std::vector<int> pages;
  for (auto node = form.tvList.FirstNode(); node; node = form.tvList.NextSibling(node))
    pages.push_back(form.tvList.NodeImage(node));
  EXPECT_EQ(pages, (std::vector<int>{0, 13, 7, 10, 11}));
  // A node that is gone is not some other node.
  EXPECT_EQ(form.FindPageNode(5), nullptr);
  EXPECT_EQ(form.FindPageNode(13), nullptr);

  // The Main settings page shows first, with its header, info text and help.
  EXPECT_TRUE(form.PageVisible(TMainForm::tsMain));
  EXPECT_EQ(form.pnlInfo.Text(), LangText(325));
  EXPECT_EQ(form.frmInfo.Text(), FormatText(LangText(83), {L"Orvane Paste"}));
  EXPECT_EQ(form.HelpContext(), 80);
  EXPECT_FALSE(form.btnApply.IsEnabled()) << "the fill enables nothing";
  EXPECT_FALSE(form.Loading());

  form.tvList.Select(form.FindPageNode(2));
  EXPECT_TRUE(form.PageVisible(TMainForm::tsSCTemplates));
  EXPECT_FALSE(form.PageVisible(TMainForm::tsMain));
  EXPECT_EQ(form.frmInfo.Text(), LangText(549));
  EXPECT_EQ(form.HelpContext(), 460);
  EXPECT_EQ(form.edtSCShowTemplates.Text(), L"Win+Space");

  // A second opening brings the same window forward.
  EXPECT_EQ(&Open(), &form);

  form.Close();
  Pump();
  EXPECT_EQ(openWindows_.SettingsWindow(), nullptr);
  EXPECT_EQ(program_.menuItemsEnabled, true);
  EXPECT_EQ(system_.closeQuestions, 0) << "nothing changed, nothing asked";
}

TEST_F(SettingsFormTest, LiveEditAppliesAtOnceAndCloseWithNoPutsTheStoredSettingsBack) {
  ASSERT_FALSE(Preset().HideTrayIcon());
  TMainForm& form = Open();
  ASSERT_TRUE(Get(L"HideTrayIcon").has_value()) << "the store was saved at the show";
  Click(form.chkHideTrayIcon);
  EXPECT_TRUE(Preset().HideTrayIcon()) << "the setter runs at once";
  EXPECT_TRUE(form.btnApply.IsEnabled());
  EXPECT_EQ(Get(L"HideTrayIcon")->Dword(), 0u) << "nothing is stored before Apply";

  // Cancel keeps everything.
  system_.closeAnswer = Answer::Cancel;
  form.Close();
  Pump();
  ASSERT_EQ(openWindows_.SettingsWindow(), &form);
  EXPECT_TRUE(Preset().HideTrayIcon());
  EXPECT_TRUE(form.btnApply.IsEnabled());

  // No: the stored value comes back through its setter.
  system_.closeAnswer = Answer::No;
  form.Close();
  EXPECT_FALSE(Preset().HideTrayIcon());
  Pump();
  EXPECT_EQ(openWindows_.SettingsWindow(), nullptr);
  EXPECT_EQ(system_.closeQuestions, 2);
  EXPECT_TRUE(system_.launches.empty());
}

TEST_F(SettingsFormTest, CloseWithYesStoresAndAHotkeyCountsAsAChange) {
  TMainForm& form = Open();
  // A cancelled capture changes nothing.
  form.btnSCShowTemplates.Click();
  EXPECT_FALSE(form.btnApply.IsEnabled());
  system_.capturedKey = 'T';
  system_.capturedSet = 0x03;
  form.btnSCShowTemplates.Click();
  EXPECT_EQ(Preset().SCShowTemplates(), 0x0354);
  EXPECT_TRUE(form.btnApply.IsEnabled());
  EXPECT_NE(form.edtSCShowTemplates.Text(), L"Win+Space");

  system_.closeAnswer = Answer::Yes;
  form.Close();
  Pump();
  EXPECT_EQ(openWindows_.SettingsWindow(), nullptr);
  EXPECT_EQ(Get(L"SCShowTemplates")->Dword(), 0x0354u);
  EXPECT_EQ(Preset().SCShowTemplates(), 0x0354);
  EXPECT_EQ(program_.bindingsChanged, 1);
}

TEST_F(SettingsFormTest, ApplyRunsTheOptionsProgramOnlyWhenItsBoxChangedAndShowsWhatTheRegistrySays) {
  TMainForm& form = Open();
  Click(form.chkHighPriority);
  form.btnApply.Click();
  EXPECT_TRUE(system_.launches.empty()) << "start-with-Windows untouched: no options program";
  EXPECT_FALSE(form.btnApply.IsEnabled());
  EXPECT_EQ(program_.bindingsChanged, 1);

  // On and off again still runs it, with the final state; the shell
  // extension's switch repeats the state last read.
  system_.states = {false, true};
  form.LoadSettingsToControls();
  Click(form.chkStartWithWindows);
  Click(form.chkStartWithWindows);
  Click(form.chkStartWithWindows);
  EXPECT_TRUE(form.OptionsProgramDue());
  // The registry follows after three polls.
  system_.duringWait = [this](int wait) {
    if (wait == 3) system_.states.startWithWindows = true;
  };
  form.btnApply.Click();
  ASSERT_EQ(system_.launches.size(), 1u);
  EXPECT_EQ(system_.launches[0], Command(true, true));
  EXPECT_EQ(system_.waits, 3) << "the poll stops once the registry agrees";
  EXPECT_TRUE(form.chkStartWithWindows.Checked());
  EXPECT_FALSE(form.OptionsProgramDue());
  EXPECT_FALSE(form.btnApply.IsEnabled());

  // An options program that never does it: the poll gives up after about 2.2 s.
  system_.duringWait = nullptr;
  system_.waits = 0;
  Click(form.chkStartWithWindows);
  form.btnApply.Click();
  EXPECT_EQ(system_.launches.back(), Command(false, true));
  EXPECT_EQ(system_.waits, 22);
  EXPECT_TRUE(form.chkStartWithWindows.Checked()) << "the box shows the registry's state";
}

TEST_F(SettingsFormTest, AFailedOptionsProgramShowsTheErrorAndStaysDirtyWithTheRealState) {
  TMainForm& form = Open();
  system_.launchError = ERROR_CANCELLED;
  Click(form.chkStartWithWindows);
  ASSERT_TRUE(form.chkStartWithWindows.Checked());
  form.btnOk.Click();
  Pump();
  ASSERT_EQ(openWindows_.SettingsWindow(), &form) << "OK whose apply fails does not close";
  ASSERT_EQ(system_.errors.size(), 1u);
  EXPECT_FALSE(system_.errors[0].empty());
  EXPECT_EQ(system_.errors[0].find(L"RunElevated"), std::wstring::npos) << "the system's message: " << system_.errors[0];
  EXPECT_FALSE(form.chkStartWithWindows.Checked()) << "the box shows the system's real state";
  EXPECT_FALSE(form.OptionsProgramDue()) << "the box agrees with the system: nothing is left to do";
  EXPECT_FALSE(form.btnApply.IsEnabled()) << "the box was the only change";
  EXPECT_EQ(program_.bindingsChanged, 0);

  // Ticked again, a close answered Yes whose apply fails keeps the window.
  Click(form.chkStartWithWindows);
  EXPECT_TRUE(form.OptionsProgramDue());
  system_.closeAnswer = Answer::Yes;
  form.Close();
  Pump();
  EXPECT_EQ(openWindows_.SettingsWindow(), &form);
  EXPECT_EQ(system_.errors.size(), 2u);
}

TEST_F(SettingsFormTest, AFailedApplyStoresNothingSoTheNextApplyOrACloseWithNoAgreesWithTheWindow) {
  TMainForm& form = Open();
  system_.launchError = ERROR_FILE_NOT_FOUND;
  Click(form.chkHideTrayIcon);
  Click(form.chkStartWithWindows);
  form.btnApply.Click();
  ASSERT_EQ(system_.errors.size(), 1u);
  EXPECT_EQ(Get(L"HideTrayIcon")->Dword(), 0u) << "the other change was stored by the failed apply";
  EXPECT_FALSE(form.chkStartWithWindows.Checked());
  EXPECT_FALSE(form.OptionsProgramDue());
  EXPECT_TRUE(form.btnApply.IsEnabled()) << "the other change is still unapplied";

  // The next Apply stores it and leaves the options program alone.
  form.btnApply.Click();
  EXPECT_EQ(system_.launches.size(), 1u);
  EXPECT_EQ(Get(L"HideTrayIcon")->Dword(), 1u);
  EXPECT_FALSE(form.btnApply.IsEnabled());

  // Failed again with a new change: No at Close takes it back out of the
  // program, and the store never had it.
  Click(form.chkHideTrayIcon);
  Click(form.chkStartWithWindows);
  form.btnApply.Click();
  ASSERT_EQ(system_.errors.size(), 2u);
  system_.closeAnswer = Answer::No;
  form.Close();
  Pump();
  EXPECT_EQ(openWindows_.SettingsWindow(), nullptr);
  EXPECT_EQ(system_.closeQuestions, 1);
  EXPECT_TRUE(Preset().HideTrayIcon());
  EXPECT_EQ(Get(L"HideTrayIcon")->Dword(), 1u);
}

// The keyboard window's delayed showing waits while one of them shows.
TEST_F(SettingsFormTest, TheSettingsWindowAndTheWizardHoldTheKeyboardBackOnlyWhileOpenAndVisible) {
  EXPECT_TRUE(openWindows_.NoneShown());
  TMainForm& form = Open();
  EXPECT_FALSE(openWindows_.NoneShown());
  form.Hide();
  EXPECT_TRUE(openWindows_.NoneShown()) << "a hidden settings window";
  form.Show();
  form.Close();
  Pump();
  EXPECT_TRUE(openWindows_.NoneShown()) << "a closed settings window";

  FakeWizardProgram wizardProgram;
  TWizardForm& wizard = ShowWizard(wizardProgram, *parts_, system_);
  Pump();
  EXPECT_EQ(openWindows_.Wizard(), &wizard);
  EXPECT_FALSE(openWindows_.NoneShown());
  wizard.Hide();
  EXPECT_TRUE(openWindows_.NoneShown()) << "a hidden wizard";
}

TEST_F(SettingsFormTest, TheWizardButtonKeepsTheUnappliedChangesOutOfTheStoreWhenCloseIsAnsweredNo) {
  FakeWizardProgram wizardProgram;
  program_.openWizard = [&] {
    ShowWizard(wizardProgram, *parts_, system_);
    return true;
  };
  TMainForm& form = Open();
  Click(form.chkHideTrayIcon);
  system_.closeAnswer = Answer::No;
  form.btnWizard.Click();
  Pump();
  EXPECT_NE(openWindows_.Wizard(), nullptr);
  EXPECT_EQ(openWindows_.SettingsWindow(), nullptr) << "the settings window closes once the wizard shows";
  EXPECT_EQ(system_.closeQuestions, 1);
  EXPECT_FALSE(Preset().HideTrayIcon());
  EXPECT_EQ(Get(L"HideTrayIcon")->Dword(), 0u) << "the wizard stored the declined change";
}

TEST_F(SettingsFormTest, RemovingABindingSetTakesOutTheBindingsItsFileNames) {
  ASSERT_NE(QvActions().Find(VK_SPACE, 0x80, 0x80), nullptr);
  const std::wstring folder = JoinPath(ProgramFolder(), L"Actions");
  const bool madeFolder = CreateDirectoryW(folder.c_str(), nullptr) != 0;
  const std::wstring file = JoinPath(folder, L"Standard.zqa");
  DeleteFileW(file.c_str());
  TMainForm& form = Open();
  // No set file: the question, then nothing.
  form.btnActionsRemove.Click();
  ASSERT_EQ(system_.questions.size(), 1u);
  EXPECT_EQ(system_.questions[0], FormatText(LangText(310), {file}));
  EXPECT_NE(QvActions().Find(VK_SPACE, 0x80, 0x80), nullptr);

  // One naming the template hotkey's binding and one it does not match.
  const char set[] =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<QvActions>"
      "<A Key=\"32\" ControlSet=\"128\" QVA=\"8\" Kind=\"1\" Text=\"\"/>"
      "<A Key=\"65\" ControlSet=\"128\" QVA=\"8\" Kind=\"1\" Text=\"\"/></QvActions>";
  {
    ui::FileHandle out(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(out);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(out.Get(), set, sizeof set - 1, &written, nullptr));
  }
  system_.yes = false;
  form.btnActionsRemove.Click();
  EXPECT_NE(QvActions().Find(VK_SPACE, 0x80, 0x80), nullptr) << "No removes nothing";
  system_.yes = true;
  form.btnActionsRemove.Click();
  EXPECT_EQ(QvActions().Find(VK_SPACE, 0x80, 0x80), nullptr);
  EXPECT_TRUE(system_.errors.empty());
  EXPECT_FALSE(form.btnApply.IsEnabled()) << "the bindings are no setting";
  DeleteFileW(file.c_str());
  if (madeFolder) RemoveDirectoryW(folder.c_str());
}

TEST_F(SettingsFormTest, ApplyOkAndCloseWaitWhileTheOptionsProgramIsPolled) {
  TMainForm& form = Open();
  Click(form.chkStartWithWindows);
  // The user clicks again while the poll pumps messages.
  system_.duringWait = [&](int wait) {
    if (wait != 2) return;
    EXPECT_TRUE(form.Applying());
    form.btnApply.Click();
    form.btnOk.Click();
    form.Close();
    Pump();
  };
  form.btnApply.Click();
  EXPECT_EQ(system_.launches.size(), 1u) << "one elevated start";
  EXPECT_EQ(system_.closeQuestions, 0) << "the close was refused while the apply ran";
  Pump();
  EXPECT_EQ(openWindows_.SettingsWindow(), &form) << "the window was not freed under its handler";
  EXPECT_FALSE(form.Applying());
}

TEST_F(SettingsFormTest, DefaultAsksThenStoresTheDefaultsWithoutTheOptionsProgram) {
  TMainForm& form = Open();
  Click(form.chkHideTrayIcon);
  system_.yes = false;
  form.btnSetDefault.Click();
  ASSERT_EQ(system_.questions.size(), 1u);
  EXPECT_EQ(system_.questions[0], LangText(65));
  EXPECT_TRUE(Preset().HideTrayIcon()) << "No changes nothing";
  EXPECT_TRUE(form.btnApply.IsEnabled());

  system_.yes = true;
  form.btnSetDefault.Click();
  EXPECT_FALSE(Preset().HideTrayIcon());
  EXPECT_FALSE(form.chkHideTrayIcon.Checked());
  EXPECT_EQ(Get(L"HideTrayIcon")->Dword(), 0u);
  EXPECT_FALSE(form.btnApply.IsEnabled()) << "the defaults are stored at once";
  EXPECT_TRUE(system_.launches.empty());
}

TEST_F(SettingsFormTest, TemplateSetButtonsAskWithTheSetFileAndOutsideTheSetsDoNothing) {
  TemplateTable templates;
  program_.templates = &templates;
  TMainForm& form = Open();
  form.lbStandardTemplates.SetItemIndex(-1);
  form.btnTemplateAdd.Click();
  form.btnTemplateRemove.Click();
  EXPECT_TRUE(system_.questions.empty()) << "no set chosen: nothing";

  form.lbStandardTemplates.SetItemIndex(3);
  system_.yes = false;
  form.btnTemplateAdd.Click();
  ASSERT_EQ(system_.questions.size(), 1u);
  EXPECT_NE(system_.questions[0].find(L"Templates\\SQL.zqt"), std::wstring::npos) << system_.questions[0];
  EXPECT_EQ(templates.RowCount(), 0u);
  EXPECT_FALSE(form.btnApply.IsEnabled()) << "the template file is not a setting";

  form.btnTemplateSetup.Click();
  EXPECT_EQ(program_.editorOpened, 1);
}

TEST_F(SettingsFormTest, ALanguageChoiceEnablesApplyAndKeepsTheHiddenListsChoices) {
  TMainForm& form = Open();
  ASSERT_GT(form.cbLanguage.Count(), 0);
  EXPECT_EQ(form.cbLanguage.ItemText(form.cbLanguage.ItemIndex()), L"English");
  form.cbColors.SetItemIndex(3);
  form.cbNumLockStatus.SetItemIndex(2);
  form.cbLanguage.onChange();
  EXPECT_TRUE(form.btnApply.IsEnabled());
  EXPECT_FALSE(form.Loading());
  EXPECT_EQ(form.cbColors.ItemIndex(), 3);
  EXPECT_EQ(form.cbNumLockStatus.ItemIndex(), 2);
  EXPECT_EQ(form.Text(), LangText(316)) << "re-translated";
}

TEST_F(SettingsFormTest, EnterIsOkAndEscIsClose) {
  TMainForm& form = Open();
  Click(form.chkHighPriority);
  PostMessageW(form.tvList.Handle(), WM_KEYDOWN, VK_RETURN, 0);
  Pump();
  EXPECT_EQ(openWindows_.SettingsWindow(), nullptr) << "Enter applied and closed";
  EXPECT_EQ(program_.bindingsChanged, 1);
  EXPECT_EQ(system_.closeQuestions, 0);

  TMainForm& again = Open();
  Click(again.chkHighPriority);
  PostMessageW(again.tvList.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  Pump();
  EXPECT_EQ(system_.closeQuestions, 1) << "Esc closes as Close does";
  EXPECT_EQ(openWindows_.SettingsWindow(), nullptr);
}

}  // namespace
}  // namespace snibbet
