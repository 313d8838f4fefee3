// The hidden message window: its handler, the default for the rest, its
// class shared by the windows of one name, and which kind hears broadcasts.
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/unit/ui_test_support.h"
#include "ui/exceptions.h"
#include "ui/message_window.h"

namespace {

constexpr UINT kAsk = WM_APP + 7;
constexpr UINT kThrow = WM_APP + 8;
constexpr wchar_t kClassName[] = L"UiMessageWindowTest";

bool ClassRegistered() {
  WNDCLASSEXW description{};
  description.cbSize = sizeof description;
  return GetClassInfoExW(GetModuleHandleW(nullptr), kClassName, &description) != FALSE;
}

// Answers kAsk with its own number, throws on kThrow, leaves the rest alone.
ui::MessageWindow::Handler Answering(LRESULT number) {
  return [number](UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (message == kThrow) throw std::runtime_error("handler failed");
    if (message == kAsk) return number;
    return std::nullopt;
  };
}

class MessageWindowTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    App().SetExceptionHandler([this](const std::exception_ptr& error) {
      reported.push_back(ui::ExceptionMessage(error));
    });
  }
  std::vector<std::wstring> reported;
};

TEST_F(MessageWindowTest, EachWindowAnswersThroughItsOwnHandlerWhileTheClassLivesWithTheLastOfThem) {
  ASSERT_FALSE(ClassRegistered());
  std::optional<ui::MessageWindow> first(std::in_place, ui::MessageWindowParams{.className = kClassName},
                                         Answering(1));
  std::optional<ui::MessageWindow> second(std::in_place, ui::MessageWindowParams{.className = kClassName},
                                          Answering(2));
  ASSERT_NE(first->Handle(), nullptr);
  ASSERT_NE(second->Handle(), nullptr);
  EXPECT_EQ(SendMessageW(first->Handle(), kAsk, 0, 0), 1);
  EXPECT_EQ(SendMessageW(second->Handle(), kAsk, 0, 0), 2);
  // What the handler leaves goes to the default window procedure.
  SetWindowTextW(second->Handle(), L"abc");
  EXPECT_EQ(SendMessageW(second->Handle(), WM_GETTEXTLENGTH, 0, 0), 3);

  first.reset();
  EXPECT_TRUE(ClassRegistered());
  EXPECT_EQ(SendMessageW(second->Handle(), kAsk, 0, 0), 2);

  // A failing handler is reported, and its message answers 0.
  EXPECT_EQ(SendMessageW(second->Handle(), kThrow, 0, 0), 0);
  EXPECT_EQ(reported, std::vector<std::wstring>{L"handler failed"});

  // Destroyed from outside: the object forgets the window, and the class goes with the object.
  DestroyWindow(second->Handle());
  EXPECT_EQ(second->Handle(), nullptr);
  second.reset();
  EXPECT_FALSE(ClassRegistered());
  ui::MessageWindow again({.className = kClassName}, Answering(3));
  EXPECT_EQ(SendMessageW(again.Handle(), kAsk, 0, 0), 3);
}

TEST_F(MessageWindowTest, OnlyTheHiddenTopLevelWindowHearsBroadcasts) {
  const UINT broadcast = RegisterWindowMessageW(L"UiMessageWindowTestBroadcast");
  int heardByTopLevel = 0, heardByMessageOnly = 0;
  auto counting = [broadcast](int& heard) {
    return [broadcast, &heard](UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
      if (message != broadcast) return std::nullopt;
      ++heard;
      return 0;
    };
  };
  ui::MessageWindow topLevel({.className = L"UiMessageWindowTestTop", .kind = ui::MessageWindowKind::HiddenTopLevel,
                              .exStyle = WS_EX_TOOLWINDOW},
                             counting(heardByTopLevel));
  ui::MessageWindow messageOnly({.className = kClassName}, counting(heardByMessageOnly));
  EXPECT_EQ(GetAncestor(topLevel.Handle(), GA_PARENT), GetDesktopWindow());
  EXPECT_NE(GetAncestor(messageOnly.Handle(), GA_PARENT), GetDesktopWindow());
  EXPECT_FALSE(IsWindowVisible(topLevel.Handle()));
  EXPECT_TRUE(GetWindowLongPtrW(topLevel.Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);

  DWORD_PTR result = 0;
  SendMessageTimeoutW(HWND_BROADCAST, broadcast, 0, 0, SMTO_ABORTIFHUNG, 2000, &result);
  EXPECT_EQ(heardByTopLevel, 1);
  EXPECT_EQ(heardByMessageOnly, 0);
}

}  // namespace
