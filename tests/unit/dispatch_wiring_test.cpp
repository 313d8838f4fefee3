// The data module's own parts: the real template pop-up, its list, the key
// history and the key model answer its messages.
#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "app/bug_report_adapter.h"
#include "core/foreground_state.h"
#include "core/preset.h"
#include "hub/data_module.h"
#include "keyboard/key_history.h"
#include "keyboard/key_model.h"
#include "keyboard/keyboard_runtime.h"
#include "templates/template_view_form.h"
#include "tests/unit/datamodule_test_support.h"
#include "tests/unit/dispatch_test_support.h"
#include "tests/unit/input_records_support.h"
#include "ui/application.h"

namespace snibbet {
namespace {

using test::HelperClickAt;
using test::Message;

class DispatchWiringTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::Application::Create({.title = L"Orvane Paste"});
    runtime_.emplace();
    runtime_->LoadLayout(L"Standard");
    popup_ = std::make_unique<TTemplateViewForm>(
        PopupProgramParts{.keyboard = &*runtime_, .foreground = Foreground(), .settings = PresetOrNull()});
    popup_->Create();
    // The data module's own parts: the real pop-up and keyboard.
    dataModule_.emplace(testing::ProcessInputRecords(),
                        DataModuleOptions{.hookLibrary = test::MissingLibrary(), .keyModel = &runtime_->Model()});
    dataModule_->ConnectPopup(popup_.get());
  }
  void TearDown() override {
    dataModule_.reset();
    popup_->HideView();
    popup_->Destroy();
    popup_.reset();
    runtime_.reset();
    ui::Application::Destroy();
  }

  // Shows the pop-up where the test wants it, without the caret look-up.
  void ShowPopupAt(int left, int top) {
    SetWindowPos(popup_->Handle(), HWND_TOPMOST, left, top, 300, 200, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    SetTemplateViewActive(true);
  }
  // Puts one typed letter into the key history.
  void TypeIntoHistory() {
    TQvKeyboard& model = runtime_->Model();
    model.SetKeyPressed('A', true);
    KeyHistory().Record(model, 'A', false, false);
    model.SetKeyPressed('A', false);
    KeyHistory().Record(model, 'A', true, false);
    ASSERT_GT(KeyHistory().Count(), 0);
  }

  std::optional<testing::ProgramKeyboardRuntime> runtime_;
  std::unique_ptr<TTemplateViewForm> popup_;
  std::optional<TDataDM> dataModule_;
};

TEST_F(DispatchWiringTest, TheWheelIsPostedToThePopupsListWithNoPosition) {
  const HWND grid = popup_->Grid().Handle();
  const WPARAM wheel = static_cast<WPARAM>(static_cast<DWORD>(-2 * WHEEL_DELTA) << 16);
  dataModule_->Dispatch().aeMainMessage(Message(WM_HELPER_MOUSE_WHEEL, wheel));
  MSG posted{};
  EXPECT_FALSE(PeekMessageW(&posted, grid, WM_MOUSEWHEEL, WM_MOUSEWHEEL, PM_REMOVE)) << "the pop-up is hidden";

  ShowPopupAt(100, 100);
  dataModule_->Dispatch().aeMainMessage(Message(WM_HELPER_MOUSE_WHEEL, wheel, PackCursorPos(7, 7)));
  ASSERT_TRUE(PeekMessageW(&posted, grid, WM_MOUSEWHEEL, WM_MOUSEWHEEL, PM_REMOVE));
  EXPECT_EQ(posted.wParam, wheel);
  EXPECT_EQ(posted.lParam, 0);
}

TEST_F(DispatchWiringTest, AClickOutsideThePopupAtNegativeCoordinatesClosesItAndEndsTheTypedWord) {
  ShowPopupAt(-600, -400);
  RECT bounds{};
  GetWindowRect(popup_->Handle(), &bounds);
  ASSERT_LT(bounds.left, 0) << "the window could not be placed left of the screen";

  TypeIntoHistory();
  dataModule_->Dispatch().aeMainMessage(HelperClickAt(bounds.left + 10, bounds.top + 10));
  EXPECT_EQ(KeyHistory().Count(), 0);
  EXPECT_TRUE(popup_->IsVisible());
  EXPECT_TRUE(TemplateViewActive());

  dataModule_->Dispatch().aeMainMessage(HelperClickAt(bounds.right, bounds.top + 10));
  EXPECT_FALSE(popup_->IsVisible());
  EXPECT_FALSE(TemplateViewActive());
}

TEST_F(DispatchWiringTest, ASettingsChangeShowsEveryKeyOfTheModelReleased) {
  runtime_->Model().SetKeyPressed(VK_LSHIFT, true);
  runtime_->Model().SetKeyPressed('Q', true);
  SendMessageW(ui::ApplicationWindow(), WM_SETTINGCHANGE, 0, 0);
  EXPECT_FALSE(runtime_->Model().IsKeyPressed(VK_LSHIFT));
  EXPECT_FALSE(runtime_->Model().IsKeyPressed('Q'));
}

TEST_F(DispatchWiringTest, TheErrorReportNamesTheKeyModelsLayoutNotTheForegroundWindows) {
  constexpr LayoutHandle kRussian = 0x04190419;
  ASSERT_NE(reinterpret_cast<LayoutHandle>(GetKeyboardLayout(0)), kRussian);
  runtime_->Model().SetLayout(kRussian);
  BugReportAdapter report(dataModule_->Switch());
  report.SetKeyModel(&runtime_->Model());
  EXPECT_EQ(reinterpret_cast<LayoutHandle>(report.KeyboardLayout()), kRussian);
}

}  // namespace
}  // namespace snibbet
