// The info frame: its label follows the frame's width and sits in the
// middle of its height; the picture shows the hand and asks for help.
#include <string>

#include "core/info_frame.h"
#include "core/qv_form.h"
#include "tests/unit/forms_test_support.h"
#include "ui/monitor.h"

namespace snibbet::test {
namespace {

class HostForm : public TQvForm {
 public:
  HostForm() : TQvForm({.className = L"TFormsInfoHost", .clientWidth = 500, .clientHeight = 200}) {}
  TInfoFrame frmInfo{*this, {.name = L"frmInfo", .left = 10, .top = 10, .text = L"Design text"}};
};

class DialogHost : public TQvDialogForm {
 public:
  DialogHost() : TQvDialogForm({.className = L"TFormsInfoDialogHost"}, 200) {}
  TInfoFrame frmInfo{*this, {.name = L"frmInfo", .id = 2001, .text = L"From the dialog"}};
};

std::wstring TextOf(HWND window) {
  wchar_t text[256] = L"";
  GetWindowTextW(window, text, 256);
  return text;
}

using InfoFrameTest = FormsTest;

TEST_F(InfoFrameTest, TheLabelKeepsTenPixelsToTheRightEdgeAndIsCentredInHeight) {
  HostForm form;
  form.Create();
  TInfoFrame& frame = form.frmInfo;
  EXPECT_EQ(frame.Width(), ui::ScaleToDpi(300));
  EXPECT_EQ(frame.Height(), ui::ScaleToDpi(49));
  EXPECT_EQ(TextOf(frame.InfoLabel()), L"Design text");
  // The form's font reaches the label of a frame built in code too.
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(frame.InfoLabel(), WM_GETFONT, 0, 0)), form.FontHandle());

  RECT label = frame.InfoLabelBounds();
  EXPECT_EQ(label.left, ui::ScaleToDpi(45));
  EXPECT_EQ(label.right, frame.ClientWidth() - ui::ScaleToDpi(10));
  EXPECT_GT(label.bottom - label.top, 0);
  EXPECT_NEAR(label.top, frame.ClientHeight() - label.bottom, 1);

  frame.SetBounds(10, 10, 420, 80);
  label = frame.InfoLabelBounds();
  EXPECT_EQ(label.right - label.left, 420 - ui::ScaleToDpi(45) - ui::ScaleToDpi(10));
  EXPECT_NEAR(label.top, 80 - label.bottom, 1);

  // A text too long for one line wraps: the label grows, still centred.
  const int oneLine = label.bottom - label.top;
  frame.SetInfoText(std::wstring(40, L'x') + L" " + std::wstring(40, L'y') + L" " + std::wstring(40, L'z'));
  EXPECT_EQ(TextOf(frame.InfoLabel()), frame.Text());
  label = frame.InfoLabelBounds();
  EXPECT_GT(label.bottom - label.top, oneLine);
  EXPECT_NEAR(label.top, 80 - label.bottom, 1);
}

TEST_F(InfoFrameTest, AClickOnThePictureAsksForHelpAndTheHandShowsOverIt) {
  HostForm form;
  form.Create();
  TInfoFrame& frame = form.frmInfo;
  auto click = [](HWND window) {
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
  };
  ASSERT_TRUE(frame.onInfoClick);
  click(frame.InfoPicture());  // the default goes to the help seam, which shows nothing yet
  EXPECT_TRUE(reported.empty());

  int asked = 0;
  frame.onInfoClick = [&asked] { ++asked; };
  click(frame.InfoPicture());
  EXPECT_EQ(asked, 1);
  click(frame.InfoLabel());
  EXPECT_EQ(asked, 1);  // only the picture asks

  EXPECT_EQ(frame.Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(frame.InfoPicture()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
            TRUE);
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
}

TEST_F(InfoFrameTest, ADialogTemplateCanHoldTheFrameAndTheFormsFontReachesItsLabel) {
  UseLanguageSetting(1041);
  DialogHost form;
  ASSERT_NO_THROW(form.Create());
  TInfoFrame& frame = form.frmInfo;
  ASSERT_NE(frame.InfoLabel(), nullptr);
  EXPECT_EQ(TextOf(frame.InfoLabel()), L"From the dialog");
  EXPECT_EQ(FontOf(frame.InfoLabel()).lfCharSet, 128);
  const RECT label = frame.InfoLabelBounds();
  EXPECT_EQ(label.right, frame.ClientWidth() - ui::ScaleToDpi(10));
}

}  // namespace
}  // namespace snibbet::test
