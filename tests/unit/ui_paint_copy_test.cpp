// A frame painted from its copy shows what the system would paint for the
// same look, whatever changed since the copy was taken.
#include <string>

#include "tests/unit/ui_test_support.h"
#include "tests/unit/window_pixels.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/paint_copy.h"

namespace {

constexpr DWORD kMemoStyle = ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_HSCROLL;

// Two memos alike: one painted from copies, one always by the system.
class TwinMemoForm : public ui::Form {
 public:
  TwinMemoForm()
      : Form({.className = L"TPaintCopyTestForm", .border = ui::BorderStyle::None, .left = 40, .top = 40,
              .clientWidth = 520, .clientHeight = 200, .alwaysOnTop = true, .noActivate = true}) {}
  ui::Edit copied{*this, {.name = L"copied", .left = 0, .top = 0, .width = 250, .height = 200, .style = kMemoStyle}};
  ui::Edit plain{*this, {.name = L"plain", .left = 260, .top = 0, .width = 250, .height = 200, .style = kMemoStyle}};
  ui::StillFrameCopy frame;
  void OnCreate() override { frame.Attach(copied.Handle()); }
};

class PaintCopyTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form.Create();
  }
  // Hidden and shown again, as the pop-up is for each opening: the copied
  // memo's frame is then painted from its copy where its look allows.
  void ShowAgainAndCompare(const char* step) {
    form.Hide();
    form.ShowNoActivate();
    PaintedPixels(form.Handle());
    EXPECT_EQ(DifferentPixels(WindowPixels(form.copied.Handle()), WindowPixels(form.plain.Handle())), 0u) << step;
  }
  void SetBoth(const std::wstring& text) {
    form.copied.SetText(text);
    form.plain.SetText(text);
  }
  TwinMemoForm form;
};

TEST_F(PaintCopyTest, EveryShowingLooksAsTheSystemPaintsIt) {
  std::wstring longText;
  for (int line = 0; line < 40; ++line) longText += L"line " + std::to_wstring(line) + std::wstring(60, L'w') + L"\r\n";

  SetBoth(L"one line");
  ShowAgainAndCompare("first showing");
  ShowAgainAndCompare("shown again");
  for (ui::Edit* memo : {&form.copied, &form.plain}) memo->SetBounds(memo->Left(), 0, 180, 150);
  ShowAgainAndCompare("smaller");
  SetBoth(L"another line");
  ShowAgainAndCompare("other text");
  SetBoth(longText);  // the bars come to life: the system paints them
  ShowAgainAndCompare("long text");
  SetBoth(L"short again");
  ShowAgainAndCompare("short again");
  EnableWindow(form.copied.Handle(), FALSE);
  EnableWindow(form.plain.Handle(), FALSE);
  ShowAgainAndCompare("disabled");
}

}  // namespace
