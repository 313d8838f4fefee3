// Forms: two-step creation, class names, owners, the list of open forms,
// freeing from the loop and showing without activation.
#include <string>
#include <vector>

#include "tests/unit/ui_test_support.h"
#include "ui/forms.h"
#include "ui/form.h"
#include "ui/label.h"

namespace {

std::wstring ClassNameOf(HWND window) {
  wchar_t name[256] = L"";
  GetClassNameW(window, name, 256);
  return name;
}

class PlainForm : public ui::Form {
 public:
  explicit PlainForm(std::wstring className, ui::FormParams params = {})
      : Form(WithClass(std::move(params), std::move(className))) {}
  static ui::FormParams WithClass(ui::FormParams p, std::wstring className) {
    p.className = std::move(className);
    return p;
  }
};

class TranslatedForm : public ui::Form {
 public:
  TranslatedForm() : Form({.className = L"TTranslatedForm", .caption = L"design caption"}) {}

  ui::Label lblHello{*this, {.name = L"lblHello", .left = 8, .top = 8, .width = 200, .height = 20}};
  std::vector<std::string> calls;
  bool windowExistedAtApply = false;

  void OnCreate() override { calls.push_back("OnCreate"); }
  void ApplyLanguage() override {
    calls.push_back("ApplyLanguage");
    windowExistedAtApply = IsWindow(Handle()) && IsWindow(lblHello.Handle());
    SetText(L"translated caption");
    lblHello.SetText(L"translated label");
  }
};

int g_destroyed = 0;

class FreeOnCloseForm : public ui::Form {
 public:
  FreeOnCloseForm() : Form({.className = L"TFreeOnCloseForm"}) {}
  ~FreeOnCloseForm() override { ++g_destroyed; }
  void OnClose(ui::CloseAction& action) override { action = ui::CloseAction::Free; }
};

using FormTest = UiTest;

TEST_F(FormTest, CreationReachesTheDerivedApplyLanguageAfterWindowAndControlsExist) {
  TranslatedForm form;
  EXPECT_FALSE(form.IsCreated());  // constructing makes no window
  form.Create();
  EXPECT_EQ(form.calls, (std::vector<std::string>{"OnCreate", "ApplyLanguage"}));
  EXPECT_TRUE(form.windowExistedAtApply);
  EXPECT_EQ(form.Text(), L"translated caption");
  EXPECT_EQ(form.lblHello.Text(), L"translated label");
  EXPECT_EQ(form.Find<ui::Label>(L"lblHello"), &form.lblHello);
  EXPECT_EQ(form.FindComponent(L"lblMissing"), nullptr);
}

TEST_F(FormTest, WindowClassIsTheFormClassAndOtherProgramsFindItByClassAndCaption) {
  PlainForm form(L"TFirstFormProbe", {.caption = L"ProbeCaption"});
  form.Create();
  EXPECT_EQ(ClassNameOf(form.Handle()), L"TFirstFormProbe");
  EXPECT_EQ(form.Text(), L"ProbeCaption");
  EXPECT_EQ(FindWindowW(L"TFirstFormProbe", L"ProbeCaption"), form.Handle());
  EXPECT_EQ(FindWindowW(L"TFirstFormProbe", L"Other"), nullptr);

  // A second form of the same class shares the registration.
  PlainForm second(L"TFirstFormProbe");
  EXPECT_NO_THROW(second.Create());
  EXPECT_EQ(ClassNameOf(second.Handle()), L"TFirstFormProbe");
}

TEST_F(FormTest, FormsAreOwnedByTheHiddenApplicationWindowUnlessTheyAskOtherwise) {
  HWND app = ui::ApplicationWindow();
  ASSERT_NE(app, nullptr);
  EXPECT_FALSE(IsWindowVisible(app));
  EXPECT_EQ(GetAncestor(app, GA_PARENT), GetDesktopWindow());  // top-level

  PlainForm owned(L"TOwnedForm");
  owned.Create();
  EXPECT_EQ(GetWindow(owned.Handle(), GW_OWNER), app);

  PlainForm free(L"TUnownedForm", {.owner = ui::FormOwner::None, .appWindow = true});
  free.Create();
  EXPECT_EQ(GetWindow(free.Handle(), GW_OWNER), nullptr);
  EXPECT_TRUE(GetWindowLongPtrW(free.Handle(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
}

TEST_F(FormTest, OpenFormsAreListedInCreationOrderAndLeaveTheListWhenDestroyed) {
  PlainForm a(L"TFormA"), b(L"TFormB"), c(L"TFormC");
  c.Create();  // the window order, not the construction order, counts
  a.Create();
  b.Create();
  EXPECT_EQ(ui::Forms(), (std::vector<ui::Form*>{&c, &a, &b}));
  EXPECT_EQ(ui::FindFormByClassName(L"TFormA"), &a);

  a.Destroy();
  EXPECT_FALSE(a.IsCreated());
  EXPECT_EQ(ui::Forms(), (std::vector<ui::Form*>{&c, &b}));
  EXPECT_EQ(ui::FindFormByClassName(L"TFormA"), nullptr);

  {
    PlainForm d(L"TFormD");
    d.Create();
    EXPECT_EQ(ui::Forms().size(), 3u);
  }  // destroying the object destroys its window
  EXPECT_EQ(ui::Forms(), (std::vector<ui::Form*>{&c, &b}));
}

TEST_F(FormTest, AFormThatFreesItselfOnCloseIsDestroyedFromTheLoopNotInsideItsOwnHandler) {
  g_destroyed = 0;
  auto& form = App().CreateForm<FreeOnCloseForm>();
  HWND window = form.Handle();
  form.Show();
  SendMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(g_destroyed, 0);  // still alive: we may be inside its window procedure
  EXPECT_TRUE(IsWindow(window));
  ASSERT_TRUE(PumpUntil([] { return g_destroyed == 1; }));
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(ui::FindFormByClassName(L"TFreeOnCloseForm"), nullptr);
}

TEST_F(FormTest, ApplicationDestroysTheFormsItOwnsLastCreatedFirst) {
  static std::vector<std::wstring> order;
  order.clear();
  struct Recorder : ui::Form {
    explicit Recorder(const wchar_t* name) : Form({.className = name}) {}
    void OnDestroy() override { order.push_back(ClassName()); }
  };
  App().CreateForm<Recorder>(L"TFirstCreated");
  App().CreateForm<Recorder>(L"TSecondCreated");
  ui::Application::Destroy();
  EXPECT_EQ(order, (std::vector<std::wstring>{L"TSecondCreated", L"TFirstCreated"}));
  EXPECT_TRUE(ui::Forms().empty());
  ui::Application::Create({.title = L"ui tests"});  // for TearDown
}

TEST_F(FormTest, TheDefaultCloseHidesAndEveryWayOfShowingOrHidingIsSeen) {
  struct Watched : ui::Form {
    Watched() : Form({.className = L"TDefaultCloseForm"}) {}
    std::vector<std::string> events;
    void OnShow() override { events.push_back("show"); }
    void OnHide() override { events.push_back("hide"); }
  } form;
  form.Show();
  form.Hide();
  form.ShowNoActivate();
  SendMessageW(form.Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(form.IsVisible());
  EXPECT_TRUE(form.IsCreated());
  EXPECT_EQ(form.events, (std::vector<std::string>{"show", "hide", "show", "hide"}));
}

TEST_F(FormTest, ShowingWithoutActivationLeavesTheForegroundWindowAlone) {
  PlainForm main(L"TForegroundForm", {.left = 50, .top = 50});
  main.Show();
  SetForegroundWindow(main.Handle());
  if (!PumpUntil([&] { return GetForegroundWindow() == main.Handle(); }, 2000)) {
    GTEST_SKIP() << "this desktop does not hand out the foreground";
  }
  PlainForm popup(L"TNoActivatePopup", {.border = ui::BorderStyle::None, .left = 100, .top = 100,
                                        .owner = ui::FormOwner::None, .alwaysOnTop = true, .noActivate = true,
                                        .extraExStyle = WS_EX_TOOLWINDOW});
  popup.ShowNoActivate();
  PumpFor(200);
  EXPECT_TRUE(popup.IsVisible());
  EXPECT_EQ(GetForegroundWindow(), main.Handle());
  EXPECT_EQ(ui::ActiveForm(), &main);
  EXPECT_TRUE(GetWindowLongPtrW(popup.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);

  // Show() of a no-activate form does not take the foreground either.
  popup.Hide();
  popup.Show();
  PumpFor(100);
  EXPECT_EQ(GetForegroundWindow(), main.Handle());
}

TEST_F(FormTest, CentringUsesTheMonitorWorkAreaAndRoundsTowardZero) {
  PlainForm form(L"TCentredForm", {.border = ui::BorderStyle::None, .position = ui::PositionRule::MonitorCenter,
                                   .clientWidth = 301, .clientHeight = 201});
  form.Show();
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoW(MonitorFromWindow(form.Handle(), MONITOR_DEFAULTTONEAREST), &info);
  const RECT& work = info.rcWork;
  EXPECT_EQ(form.Left(), work.left + (work.right - work.left - form.Width()) / 2);
  EXPECT_EQ(form.Top(), work.top + (work.bottom - work.top - form.Height()) / 2);
}

TEST_F(FormTest, MaximisedStateChosenWhileHiddenIsAppliedWhenShown) {
  PlainForm form(L"TMaximisableForm");
  form.Create();
  form.SetState(ui::WindowState::Maximized);
  EXPECT_FALSE(form.IsVisible());
  form.Show();
  EXPECT_TRUE(IsZoomed(form.Handle()));
  EXPECT_EQ(form.State(), ui::WindowState::Maximized);
}

TEST_F(FormTest, AlphaBlendAndTransparentColourTurnOffTogether) {
  PlainForm form(L"TBlendedForm", {.border = ui::BorderStyle::None});
  form.Show();
  form.SetAlphaBlend(true, 200);
  form.SetTransparentColor(true, RGB(1, 2, 3));
  BYTE alpha = 0;
  COLORREF key = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(form.Handle(), &key, &alpha, &flags));
  EXPECT_EQ(alpha, 200);
  EXPECT_EQ(key, RGB(1, 2, 3));
  EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA | LWA_COLORKEY));
  form.SetAlphaBlend(false);
  form.SetTransparentColor(false);
  EXPECT_FALSE(GetWindowLongPtrW(form.Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
}

}  // namespace
