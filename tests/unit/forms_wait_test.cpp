// The wait message: one window at most, freed by one hide, and its moving
// line's arithmetic.
#include <vector>

#include "core/message_form.h"
#include "core/wait_form.h"
#include "core/wait_line.h"
#include "tests/unit/forms_test_support.h"
#include "ui/monitor.h"

namespace snibbet::test {
namespace {

int WindowsOfClass(const wchar_t* className) {
  struct Count {
    const wchar_t* name;
    int found = 0;
  } count{className};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM data) {
        auto* c = reinterpret_cast<Count*>(data);
        wchar_t name[64] = L"";
        GetClassNameW(window, name, 64);
        if (lstrcmpW(name, c->name) == 0) ++c->found;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&count));
  return count.found;
}

std::vector<int> Ticks(MovingLine& line, int n) {
  std::vector<int> offsets;
  for (int i = 0; i < n; ++i) offsets.push_back(line.Tick());
  return offsets;
}

TEST(MovingLine, AdvancesTenPixelsATickAndStartsAgainOncePastTheWidth) {
  MovingLine line(35);
  EXPECT_EQ(Ticks(line, 7), (std::vector<int>{0, 10, 20, 30, 0, 10, 20}));
  // An offset equal to the width has not passed it yet.
  MovingLine exact(30);
  EXPECT_EQ(Ticks(exact, 6), (std::vector<int>{0, 10, 20, 30, 0, 10}));
  MovingLine none(0);
  EXPECT_EQ(Ticks(none, 3), (std::vector<int>{0, 0, 0}));
}

TEST(MovingLine, TheTwoCopiesShowThePictureShiftedRightWithWrapAround) {
  for (int width : {1, 7, 340}) {
    for (int offset = 0; offset <= width; ++offset) {
      std::vector<int> sourceAt(width, -1);  // the picture column each line column shows
      for (const LineCopy& copy : MovingLine::Copies(offset, width)) {
        ASSERT_GE(copy.width, 0);
        for (int i = 0; i < copy.width; ++i) {
          ASSERT_EQ(sourceAt[copy.destLeft + i], -1) << "column drawn twice";
          sourceAt[copy.destLeft + i] = copy.sourceLeft + i;
        }
      }
      for (int x = 0; x < width; ++x) {
        ASSERT_EQ(sourceAt[x], (x - offset % width + width) % width) << "width " << width << " offset " << offset;
      }
    }
  }
  // Out of range offsets never copy outside the picture.
  EXPECT_EQ(MovingLine::Copies(50, 30), MovingLine::Copies(30, 30));
  EXPECT_EQ(MovingLine::Copies(-5, 30), MovingLine::Copies(0, 30));
}

using WaitMessageTest = FormsTest;

TEST_F(WaitMessageTest, ShowingTwiceReusesOneWindowAndOneHideFreesIt) {
  TQvMessageForm working;  // the window the user works in
  working.Show();
  ASSERT_EQ(GetForegroundWindow(), working.Handle());
  ShowWaitMessage(L"First");
  TQvMessageWaitForm* form = TQvMessageWaitForm::Instance();
  ASSERT_NE(form, nullptr);
  HWND window = form->Handle();
  ShowWaitMessage(L"Second");
  EXPECT_EQ(TQvMessageWaitForm::Instance(), form);
  EXPECT_EQ(form->lblMessage.Text(), L"Second");
  EXPECT_EQ(WindowsOfClass(TQvMessageWaitForm::kClassName), 1);
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_TRUE(form->AlwaysOnTop());
  EXPECT_TRUE(App().Owns(*form));
  EXPECT_EQ(GetForegroundWindow(), working.Handle());

  HideWaitMessage();
  EXPECT_EQ(TQvMessageWaitForm::Instance(), nullptr);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(WindowsOfClass(TQvMessageWaitForm::kClassName), 0);
  EXPECT_EQ(GetForegroundWindow(), working.Handle());
  PumpFor(50);  // the object is freed from the loop
  HideWaitMessage();  // none left: nothing happens

  ShowWaitMessage(L"Again");
  ASSERT_NE(TQvMessageWaitForm::Instance(), nullptr);
  EXPECT_EQ(WindowsOfClass(TQvMessageWaitForm::kClassName), 1);
}

TEST_F(WaitMessageTest, TheFormattedMessageIsCentredOnItsMonitorAndTheLineMoves) {
  ShowWaitMessageFmt(L"templates");
  TQvMessageWaitForm& form = *TQvMessageWaitForm::Instance();
  EXPECT_EQ(form.lblMessage.Text(), L"Loading templates.\r\nPlease wait...");

  const RECT work = ui::MonitorWorkArea(form.Handle());
  const RECT bounds = form.Bounds();
  EXPECT_NEAR(bounds.left + bounds.right, work.left + work.right, 1);
  EXPECT_NEAR(bounds.top + bounds.bottom, work.top + work.bottom, 1);
  EXPECT_EQ(form.ClientWidth(), ui::ScaleToDpi(340));
  EXPECT_EQ(form.Line().Width(), form.ClientWidth());

  // Two lines of text sit in the middle of the space under the line.
  const RECT label = form.lblMessage.Bounds();
  const RECT line = form.imgLine.Bounds();
  EXPECT_GT(label.bottom - label.top, 0);
  EXPECT_NEAR(label.top - line.bottom, form.ClientHeight() - label.bottom, 2);

  EXPECT_TRUE(form.tmrPaint.Enabled());
  EXPECT_TRUE(PumpUntil([&] { return form.Line().Offset() >= 3 * MovingLine::kStep; }));
}

}  // namespace
}  // namespace snibbet::test
