// The help router over a recording help system: which viewer command each help
// command becomes and on which file, the pop-up's position, the viewer loaded
// only when needed, one router at a time and the application's help event;
// then the program's help of the active form, and the built help file under
// the real viewer.
#include "ui/help_router.h"

#include <windows.h>
#include <htmlhelp.h>

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/form_help.h"
#include "core/qv_form.h"
#include "dialogs/template_setup_form.h"
#include "tests/unit/forms_test_support.h"
#include "tests/unit/qvlib_test_support.h"
#include "ui/application.h"
#include "ui/forms.h"

namespace snibbet::test {
namespace {

struct ViewerCall {
  HWND caller;
  std::optional<std::wstring> file;  // none: no file
  UINT command;
  DWORD_PTR data;
  std::optional<HH_POPUP> popup;  // copied while the call lasts
  std::wstring popupFont;
};

struct WinHelpCall {
  std::wstring file;
  UINT command;
  ULONG_PTR data;
};

class RecordingHelpSystem : public ui::HelpSystem {
 public:
  bool HtmlHelpLoaded() override { return loaded; }
  bool EnsureHtmlHelp() override {
    ++ensureCalls;
    if (viewerPresent) loaded = true;
    return viewerPresent;
  }
  HWND CallHtmlHelp(HWND caller, const wchar_t* file, UINT command, DWORD_PTR data) override {
    ViewerCall call{caller, file ? std::optional<std::wstring>(file) : std::nullopt, command, data, {}, {}};
    if (command == HH_DISPLAY_TEXT_POPUP) {
      call.popup = *reinterpret_cast<const HH_POPUP*>(data);
      if (call.popup->pszFont) call.popupFont = call.popup->pszFont;
      call.popup->pszFont = nullptr;
      return viewerCalls.push_back(call), popupWindow;
    }
    viewerCalls.push_back(call);
    return viewerWindow;
  }
  bool CallWinHelp(HWND, const wchar_t* file, UINT command, ULONG_PTR data) override {
    winHelpCalls.push_back({file, command, data});
    return true;
  }
  POINT CursorPos() override { return cursor; }
  bool FileExists(const std::wstring& path) override { return path == existingFile; }

  bool viewerPresent = true;
  bool loaded = false;
  int ensureCalls = 0;
  HWND viewerWindow = reinterpret_cast<HWND>(0x1234);
  HWND popupWindow = nullptr;  // Wine's viewer has no text pop-ups
  POINT cursor{300, 400};
  std::wstring existingFile = L"C:\\Program\\Snibbet.chm";
  std::vector<ViewerCall> viewerCalls;
  std::vector<WinHelpCall> winHelpCalls;
};

class HelpRouterTest : public ::testing::Test {
 protected:
  // The router's event as the application calls it: the answer, and whether
  // the request was left to the application.
  std::pair<bool, bool> Ask(ui::HelpRouter& router, UINT command, ULONG_PTR data) {
    bool callHelp = true;
    const bool answer = router.OnHelp(command, data, callHelp);
    return {answer, callHelp};
  }
  bool Help(ui::HelpRouter& router, UINT command, ULONG_PTR data) { return Ask(router, command, data).first; }

  RecordingHelpSystem system_;
};

TEST_F(HelpRouterTest, EachHelpCommandOpensTheChmOfTheHelpFileAsTheViewerCommandForIt) {
  ui::HelpRouter router(nullptr, system_);
  router.SetHelpFile(L"C:\\Program\\Snibbet.hlp");  // any extension stands for ".chm"
  const std::wstring keyword = L"tags";
  const ULONG_PTR keywordData = reinterpret_cast<ULONG_PTR>(keyword.c_str());
  struct Case {
    UINT command;
    ULONG_PTR data;
    UINT viewerCommand;
    DWORD_PTR viewerData;
  };
  const Case cases[] = {
      {HELP_CONTEXT, 170, HH_HELP_CONTEXT, 170},         {HELP_INDEX, 5, HH_DISPLAY_TOC, 0},
      {HELP_FINDER, 0, HH_DISPLAY_TOC, 0},               {ui::kHelpTab, 0, HH_DISPLAY_TOC, 0},
      {ui::kHelpTab, 2, HH_DISPLAY_INDEX, 0},            {HELP_KEY, keywordData, HH_DISPLAY_INDEX, keywordData},
      {HELP_PARTIALKEY, keywordData, HH_DISPLAY_INDEX, keywordData},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "help command " << c.command << " data " << c.data);
    system_.viewerCalls.clear();
    const auto [answer, leftToApplication] = Ask(router, c.command, c.data);
    EXPECT_TRUE(answer);
    EXPECT_FALSE(leftToApplication);
    ASSERT_EQ(system_.viewerCalls.size(), 1u);
    const ViewerCall& call = system_.viewerCalls[0];
    EXPECT_EQ(call.caller, nullptr);
    EXPECT_EQ(call.file, L"C:\\Program\\Snibbet.chm");
    EXPECT_EQ(call.command, c.viewerCommand);
    EXPECT_EQ(call.data, c.viewerData);
  }
  EXPECT_EQ(router.LastFileName(), L"C:\\Program\\Snibbet.chm");

  // A command the viewer has no counterpart for, and a viewer that shows nothing.
  system_.viewerCalls.clear();
  EXPECT_FALSE(Help(router, HELP_HELPONHELP, 0));
  EXPECT_TRUE(system_.viewerCalls.empty());
  system_.viewerWindow = nullptr;
  EXPECT_FALSE(Help(router, HELP_CONTEXT, 80));

  // Only the name's own extension is replaced.
  EXPECT_EQ(ui::WithExtension(L"C:\\Pro.gram\\Snibbet", L".chm"), L"C:\\Pro.gram\\Snibbet.chm");
  EXPECT_EQ(ui::WithExtension(L"", L".chm"), L".chm");
}

TEST_F(HelpRouterTest, QuitBeforeAnyHelpLoadsNoViewerAndAfterHelpClosesItsWindows) {
  ui::HelpRouter router(nullptr, system_);
  router.SetHelpFile(L"C:\\Program\\Snibbet.chm");
  const auto [answer, leftToApplication] = Ask(router, HELP_QUIT, 0);
  EXPECT_TRUE(answer);
  EXPECT_FALSE(leftToApplication);
  EXPECT_EQ(system_.ensureCalls, 0);
  EXPECT_TRUE(system_.viewerCalls.empty());

  ASSERT_TRUE(Help(router, HELP_CONTEXT, 20));
  system_.viewerCalls.clear();
  EXPECT_TRUE(Help(router, HELP_QUIT, 0));
  ASSERT_EQ(system_.viewerCalls.size(), 1u);
  EXPECT_EQ(system_.viewerCalls[0].command, static_cast<UINT>(HH_CLOSE_ALL));
  EXPECT_EQ(system_.viewerCalls[0].file, std::nullopt);
}

TEST_F(HelpRouterTest, WithoutTheViewerOrWithoutTheFileNothingIsCalledAndTheAnswerIsNo) {
  ui::HelpRouter router(nullptr, system_);
  router.SetHelpFile(L"C:\\Program\\Snibbet.chm");
  system_.viewerPresent = false;
  const auto [answer, leftToApplication] = Ask(router, HELP_CONTEXT, 80);
  EXPECT_FALSE(answer);
  EXPECT_TRUE(leftToApplication) << "the application's own help handling goes on";
  EXPECT_TRUE(system_.viewerCalls.empty());
  EXPECT_TRUE(Help(router, HELP_QUIT, 0)) << "closing needs no viewer";

  // The viewer would show a box of its own for a missing file.
  system_.viewerPresent = true;
  system_.existingFile.clear();
  for (UINT command : {static_cast<UINT>(HELP_CONTEXT), static_cast<UINT>(HELP_FINDER), ui::kHelpTab,
                       static_cast<UINT>(HELP_CONTEXTPOPUP)}) {
    EXPECT_FALSE(Help(router, command, 80)) << command;
  }
  EXPECT_TRUE(system_.viewerCalls.empty());
}

TEST_F(HelpRouterTest, ContextPopupShowsTheTopicOfTheTopicsFileAtTheSetPointOnceThenAtTheCursor) {
  ui::HelpRouter router(nullptr, system_);
  router.SetHelpFile(L"C:\\Program\\Snibbet.chm");
  EXPECT_EQ(router.PopupTopics(), L"QVHelp.txt");

  EXPECT_TRUE(Help(router, HELP_SETPOPUP_POS, MAKELONG(static_cast<WORD>(-5), 50)));
  EXPECT_TRUE(system_.viewerCalls.empty());
  // Wine's viewer shows no text pop-up: the answer says so and nothing else happens.
  EXPECT_FALSE(Help(router, HELP_CONTEXTPOPUP, 80));
  system_.popupWindow = reinterpret_cast<HWND>(0x5678);
  EXPECT_TRUE(Help(router, HELP_CONTEXTPOPUP, 460));

  ASSERT_EQ(system_.viewerCalls.size(), 2u);
  const ViewerCall& first = system_.viewerCalls[0];
  EXPECT_EQ(first.file, L"C:\\Program\\Snibbet.chm::/QVHelp.txt");
  EXPECT_EQ(first.command, static_cast<UINT>(HH_DISPLAY_TEXT_POPUP));
  ASSERT_TRUE(first.popup);
  EXPECT_EQ(first.popup->cbStruct, static_cast<int>(sizeof(HH_POPUP)));
  EXPECT_EQ(first.popup->idString, 80u);
  EXPECT_EQ(first.popup->pszText, nullptr);
  EXPECT_EQ(first.popup->pt.x, -5);
  EXPECT_EQ(first.popup->pt.y, 50);
  EXPECT_EQ(first.popup->rcMargins.left, -1);
  EXPECT_EQ(first.popupFont, L"MS Sans Serif, 8");
  const ViewerCall& second = system_.viewerCalls[1];
  EXPECT_EQ(second.popup->idString, 460u);
  EXPECT_EQ(second.popup->pt.x, 300) << "the point is used once";
  EXPECT_EQ(second.popup->pt.y, 400);

  // A pop-up of its own text names no file.
  system_.viewerCalls.clear();
  EXPECT_TRUE(router.ShowTextPopup({10, 20}, L"Plain words", 0));
  ASSERT_EQ(system_.viewerCalls.size(), 1u);
  EXPECT_EQ(system_.viewerCalls[0].file, std::nullopt);
  EXPECT_EQ(system_.viewerCalls[0].popup->idString, 0u);
}

TEST_F(HelpRouterTest, ShownInTheMainWindowAPopupRequestOpensItsTopicThere) {
  ui::HelpRouter router(nullptr, system_);
  router.SetHelpFile(L"C:\\Program\\Snibbet.chm");
  router.SetShowType(ui::HelpShowType::Main);
  EXPECT_TRUE(Help(router, HELP_CONTEXTPOPUP, 560));
  EXPECT_FALSE(Help(router, HELP_SETPOPUP_POS, MAKELONG(1, 1)));
  ASSERT_EQ(system_.viewerCalls.size(), 1u);
  EXPECT_EQ(system_.viewerCalls[0].command, static_cast<UINT>(HH_HELP_CONTEXT));
  EXPECT_EQ(system_.viewerCalls[0].data, 560u);
}

TEST_F(HelpRouterTest, WinHelpServesItsTypeAndTheMixedTypesPopupsFromTheTopicsHelpFile) {
  ui::HelpRouter router(nullptr, system_);
  router.SetHelpFile(L"C:\\Program\\Snibbet.chm");
  router.SetType(ui::HelpType::Win);
  EXPECT_TRUE(Help(router, HELP_CONTEXT, 80));
  EXPECT_TRUE(Help(router, 0, 0));
  router.SetType(ui::HelpType::Mixed);
  router.SetPopupTopics(L"Popups.HLP");
  EXPECT_TRUE(Help(router, HELP_CONTEXTPOPUP, 80));
  EXPECT_TRUE(Help(router, HELP_CONTEXT, 170)) << "the rest goes to HTML Help";

  ASSERT_EQ(system_.winHelpCalls.size(), 2u);
  EXPECT_EQ(system_.winHelpCalls[0].file, L"C:\\Program\\Snibbet.hlp");
  EXPECT_EQ(system_.winHelpCalls[0].command, static_cast<UINT>(HELP_CONTEXT));
  EXPECT_EQ(system_.winHelpCalls[1].file, L"C:\\Program\\Popups.hlp") << "in the help file's folder";
  EXPECT_EQ(system_.winHelpCalls[1].command, static_cast<UINT>(HELP_CONTEXTPOPUP));
  EXPECT_EQ(system_.winHelpCalls[1].data, 80u);
  ASSERT_EQ(system_.viewerCalls.size(), 1u);
  EXPECT_EQ(system_.viewerCalls[0].command, static_cast<UINT>(HH_HELP_CONTEXT));
}

TEST_F(HelpRouterTest, ASecondRouterIsRefusedAndTheFirstStaysInCharge) {
  auto first = std::make_unique<ui::HelpRouter>(nullptr, system_);
  first->SetHelpFile(L"C:\\Program\\Snibbet.chm");
  try {
    ui::HelpRouter second(nullptr, system_);
    ADD_FAILURE() << "a second router was made";
  } catch (const std::logic_error& error) {
    EXPECT_STREQ(error.what(), "Multiple instances of THelpRouter are not allowed");
  }
  EXPECT_TRUE(Help(*first, HELP_CONTEXT, 80));
  first.reset();
  EXPECT_NO_THROW(ui::HelpRouter again(nullptr, system_)) << "once the first is gone";
}

// A help event that was there before the router.
class EarlierHelpEvent : public ui::HelpHandler {
 public:
  bool OnHelp(UINT command, ULONG_PTR, bool& callHelp) override {
    commands.push_back(command);
    if (command == HELP_INDEX) callHelp = false;  // it serves this one itself
    return true;
  }
  std::vector<UINT> commands;
};

class RouterApplicationTest : public FormsTest {
 protected:
  RecordingHelpSystem system_;
};

TEST_F(RouterApplicationTest, TheRouterTakesOverTheApplicationsHelpEventAndPutsTheEarlierOneBack) {
  EarlierHelpEvent earlier;
  App().SetHelpHandler(&earlier);
  {
    ui::HelpRouter router(nullptr, system_);
    router.SetHelpFile(L"C:\\Program\\Snibbet.chm");
    EXPECT_EQ(App().GetHelpHandler(), &router);
    std::vector<UINT> asked;
    router.SetOnHelp([&](UINT command, ULONG_PTR, bool& callHelp) {
      asked.push_back(command);
      if (command == HELP_FINDER) callHelp = false;
      return false;
    });

    EXPECT_TRUE(ui::HelpCommand(HELP_CONTEXT, 80));
    EXPECT_TRUE(ui::HelpCommand(HELP_INDEX, 0)) << "served by the earlier event";
    EXPECT_FALSE(ui::HelpCommand(HELP_FINDER, 0)) << "its own handler answered";
    EXPECT_EQ(asked, (std::vector<UINT>{HELP_CONTEXT, HELP_INDEX, HELP_FINDER}));
    EXPECT_EQ(earlier.commands, (std::vector<UINT>{HELP_CONTEXT, HELP_INDEX}));
    ASSERT_EQ(system_.viewerCalls.size(), 1u);
    EXPECT_EQ(system_.viewerCalls[0].data, 80u);
  }
  EXPECT_EQ(App().GetHelpHandler(), &earlier);
  App().SetHelpHandler(nullptr);
  EXPECT_FALSE(ui::HelpCommand(HELP_CONTEXT, 80)) << "no help event: the application has no help file";
}

class HelpProbeForm : public TQvForm {
 public:
  explicit HelpProbeForm(int context) : TQvForm({.className = L"THelpProbeForm", .clientWidth = 200}) {
    SetHelpContext(context);
  }
};

TEST_F(RouterApplicationTest, HelpOfTheActiveFormOpensItsTopicElseTheContents) {
  ui::HelpRouter router(nullptr, system_);
  router.SetHelpFile(L"C:\\Program\\Snibbet.chm");

  HelpProbeForm editor(TTemplateSetupForm::kHelpContext);
  editor.Show();
  SetForegroundWindow(editor.Handle());
  ASSERT_EQ(ui::ActiveForm(), &editor);
  ShowActiveFormHelp();
  HelpProbeForm plain(0);
  plain.Show();
  SetForegroundWindow(plain.Handle());
  ASSERT_EQ(ui::ActiveForm(), &plain);
  ShowActiveFormHelp();
  ShowHelpContext(20);

  ASSERT_EQ(system_.viewerCalls.size(), 3u);
  EXPECT_EQ(system_.viewerCalls[0].command, static_cast<UINT>(HH_HELP_CONTEXT));
  EXPECT_EQ(system_.viewerCalls[0].data, 170u);
  EXPECT_EQ(system_.viewerCalls[1].command, static_cast<UINT>(HH_DISPLAY_TOC));
  EXPECT_EQ(system_.viewerCalls[2].data, 20u);
}

// The help file the build makes, under the system's own viewer (Wine's is built in).
TEST_F(RouterApplicationTest, EveryHelpContextOfTheProgramsWindowsOpensATopicOfTheBuiltHelpFile) {
  const std::wstring folder = ProgramDirFromEnvironment();
  ASSERT_FALSE(folder.empty()) << "SNIBBET_PROGRAM_DIR is not set";
  ui::HelpRouter router;
  router.SetHelpFile(folder + L"Snibbet.chm");
  // The settings window's pages, the wizard and the template editor.
  for (int context : {80, 460, 560, 70, 530, 20, TTemplateSetupForm::kHelpContext}) {
    EXPECT_TRUE(ui::HelpCommand(HELP_CONTEXT, static_cast<ULONG_PTR>(context))) << "context " << context;
  }
  EXPECT_FALSE(ui::HelpCommand(HELP_CONTEXT, 999)) << "a context the file does not map";
  EXPECT_TRUE(ui::HelpCommand(ui::kHelpTab, 0)) << "the contents";
  EXPECT_NE(FindWindowW(L"HH Parent", L"Orvane Paste Help"), nullptr);
  EXPECT_TRUE(ui::HelpCommand(HELP_QUIT, 0));
  App().ProcessMessages();
  EXPECT_EQ(FindWindowW(L"HH Parent", nullptr), nullptr) << "closed";

  // Without the file nothing opens and nothing fails.
  router.SetHelpFile(folder + L"Missing.chm");
  EXPECT_FALSE(ui::HelpCommand(HELP_CONTEXT, 80));
  EXPECT_FALSE(ui::HelpCommand(HELP_CONTEXTPOPUP, 80));
  EXPECT_EQ(FindWindowW(L"HH Parent", nullptr), nullptr);
}

}  // namespace
}  // namespace snibbet::test
