// The message form: its texts, the OK countdown and the hand over its picture.
#include "core/busy_cursor.h"
#include "core/message_form.h"
#include "tests/unit/forms_test_support.h"
#include "ui/monitor.h"

namespace snibbet::test {
namespace {

using MessageFormTest = FormsTest;

TEST_F(MessageFormTest, CreatedHiddenCentredAndWithItsLanguageTexts) {
  Lang().SetText(467, L"Never again");
  TQvMessageForm& form = App().CreateForm<TQvMessageForm>();
  EXPECT_FALSE(form.IsVisible());
  EXPECT_EQ(FindWindowW(TQvMessageForm::kClassName, nullptr), form.Handle());
  EXPECT_EQ(form.OkCaption(), L"OK");
  EXPECT_EQ(form.btnOk.Text(), L"OK");
  EXPECT_EQ(form.btnCancel.Text(), L"Cancel");
  EXPECT_EQ(form.chkNeverAsk.Text(), L"Never again");

  const RECT work = ui::MonitorWorkArea(form.Handle());
  const RECT bounds = form.Bounds();
  EXPECT_NEAR(bounds.left + bounds.right, work.left + work.right, 1);
  EXPECT_NEAR(bounds.top + bounds.bottom, work.top + work.bottom, 1);
}

TEST_F(MessageFormTest, TheCountdownShowsTheSecondsLeftThenClosesWithOk) {
  TQvMessageForm& form = App().CreateForm<TQvMessageForm>();
  form.Show();
  form.StartCountdown(3);
  EXPECT_EQ(form.btnOk.Text(), L"OK (3)");
  EXPECT_TRUE(form.tmrOk.Enabled());

  form.tmrOkTimer();
  EXPECT_EQ(form.btnOk.Text(), L"OK (2)");
  form.tmrOkTimer();
  EXPECT_EQ(form.btnOk.Text(), L"OK (1)");
  EXPECT_TRUE(form.IsVisible());

  form.tmrOkTimer();
  EXPECT_EQ(form.Countdown(), 0);
  EXPECT_EQ(form.btnOk.Text(), L"OK");
  EXPECT_EQ(form.ModalResult(), IDOK);
  EXPECT_FALSE(form.IsVisible());  // closing hides it; it lives on
  EXPECT_TRUE(form.IsCreated());
  EXPECT_FALSE(form.tmrOk.Enabled());  // no further answers from a hidden form
}

TEST_F(MessageFormTest, ShownModallyTheCountdownEndsTheLoopWithOkAndCancelStopsIt) {
  TQvMessageForm& form = App().CreateForm<TQvMessageForm>();
  form.tmrOk.SetInterval(20);
  form.StartCountdown(2);
  EXPECT_EQ(form.ShowModal(), IDOK);
  EXPECT_EQ(form.btnOk.Text(), L"OK");
  EXPECT_FALSE(form.IsVisible());

  form.Show();
  form.StartCountdown(5);
  // The button as the user clicks it; not modal, Cancel closes the form.
  form.Send(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(form.btnCancel.Handle()));
  EXPECT_FALSE(form.IsVisible());
  EXPECT_FALSE(form.tmrOk.Enabled());
  EXPECT_EQ(form.Countdown(), 5);
}

TEST_F(MessageFormTest, TheHandShowsOverThePictureUnlessTheProgramIsBusy) {
  TQvMessageForm& form = App().CreateForm<TQvMessageForm>();
  const WPARAM picture = reinterpret_cast<WPARAM>(form.imgInfo.Handle());
  const LPARAM overClient = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
  EXPECT_EQ(form.Send(WM_SETCURSOR, picture, overClient), TRUE);
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));

  BusyCursorBegin(true);
  form.Send(WM_SETCURSOR, picture, overClient);
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
  BusyCursorEnd(true);
}

}  // namespace
}  // namespace snibbet::test
