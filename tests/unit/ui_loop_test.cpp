// The message loop: the application filter sees every queued message first,
// also inside modal loops; handled messages are not dispatched.
#include <string>
#include <vector>

#include "tests/unit/ui_test_support.h"
#include "ui/button.h"
#include "ui/form.h"
#include "ui/forms.h"

namespace {

constexpr UINT kFirst = WM_APP + 1;
constexpr UINT kStop = WM_APP + 9;

std::vector<std::wstring> g_log;

std::wstring Entry(const wchar_t* who, UINT message) { return std::wstring(who) + std::to_wstring(message - WM_APP); }

class LoggingForm : public ui::Form {
 public:
  explicit LoggingForm(const wchar_t* className = L"TLoggingForm") : Form({.className = className}) {}

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message > WM_APP && message <= kStop) {
      g_log.push_back(Entry(L"form:", message));
      if (message == kStop) ui::Terminate();
      return 0;
    }
    return Form::HandleMessage(message, wParam, lParam);
  }
};

// Logs our test messages and swallows the ones it is told to.
class LoggingFilter : public ui::ApplicationEvents {
 public:
  UINT swallow = 0;
  std::function<void(MSG&)> onSeen;
  bool OnMessage(MSG& msg) override {
    if (msg.message > WM_APP && msg.message <= kStop) {
      g_log.push_back(Entry(L"filter:", msg.message));
      if (onSeen) onSeen(msg);
    }
    return msg.message == swallow;
  }
};

class LoopTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    g_log.clear();
    App().SetEvents(&filter);
  }
  LoggingFilter filter;
};

TEST_F(LoopTest, EveryQueuedMessagePassesTheFilterFirstAndAHandledOneIsNotDispatched) {
  LoggingForm form;
  form.Create();
  filter.swallow = kFirst + 1;
  PostMessageW(form.Handle(), kFirst, 0, 0);
  PostMessageW(form.Handle(), kFirst + 1, 0, 0);
  PostMessageW(ui::ApplicationWindow(), kFirst + 2, 0, 0);
  PostThreadMessageW(GetCurrentThreadId(), kFirst + 3, 0, 0);
  PostMessageW(form.Handle(), kStop, 0, 0);

  App().Run();

  EXPECT_TRUE(ui::Terminated());
  EXPECT_EQ(g_log, (std::vector<std::wstring>{L"filter:1", L"form:1", L"filter:2", L"filter:3", L"filter:4",
                                              L"filter:9", L"form:9"}));
}

TEST_F(LoopTest, SentMessagesGoStraightToTheWindow) {
  LoggingForm form;
  form.Create();
  SendMessageW(form.Handle(), kFirst, 0, 0);
  EXPECT_EQ(g_log, (std::vector<std::wstring>{L"form:1"}));
}

TEST_F(LoopTest, ModalLoopUsesTheSameFilterAndDisablesTheOtherForms) {
  LoggingForm other(L"TOtherForm");
  other.Show();
  LoggingForm dialog(L"TModalForm");
  bool otherDisabledMeanwhile = false;
  filter.onSeen = [&](MSG& msg) {
    if (msg.message == kFirst && dialog.IsModal()) {
      otherDisabledMeanwhile = !IsWindowEnabled(other.Handle());
      dialog.SetModalResult(IDOK);
    }
  };
  PostMessageW(ui::ApplicationWindow(), kFirst, 0, 0);

  EXPECT_EQ(dialog.ShowModal(), IDOK);
  EXPECT_EQ(g_log, (std::vector<std::wstring>{L"filter:1"}));
  EXPECT_TRUE(otherDisabledMeanwhile);
  EXPECT_TRUE(IsWindowEnabled(other.Handle()));
  EXPECT_FALSE(dialog.IsVisible());
  EXPECT_FALSE(dialog.IsModal());
}

TEST_F(LoopTest, ModalFormCanRefuseToCloseAndAButtonEndsItWithItsResult) {
  struct Guarded : ui::Form {
    Guarded() : Form({.className = L"TRefusingForm"}) {}
    ui::Button btnOk{*this, {.name = L"btnOk", .width = 80, .height = 24, .text = L"OK"}, IDOK};
    int refusals = 0;
    bool CanClose() override { return refusals++ > 0; }  // refuses once
  } form;
  form.Create();
  // Close asks once (refused, the loop goes on), then the OK button ends it.
  PostMessageW(form.Handle(), WM_CLOSE, 0, 0);
  PostMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(form.btnOk.Id(), BN_CLICKED),
               reinterpret_cast<LPARAM>(form.btnOk.Handle()));
  EXPECT_EQ(form.ShowModal(), IDOK);
  EXPECT_EQ(form.refusals, 2);
}

TEST_F(LoopTest, TerminateEndsAModalLoopAndTheOuterLoop) {
  LoggingForm form(L"TTerminatedModal");
  filter.onSeen = [](MSG&) { ui::Terminate(); };
  PostMessageW(ui::ApplicationWindow(), kFirst, 0, 0);
  EXPECT_EQ(form.ShowModal(), IDCANCEL);
  EXPECT_TRUE(ui::Terminated());
  App().Run();  // returns at once
}

}  // namespace
