// The colour list: listed colours by name, a colour it lacks on the custom
// entry, and the custom entry's dialog (here a stand-in) chosen or cancelled.
#include <optional>

#include "tests/unit/ui_test_support.h"
#include "ui/color_combo.h"
#include "ui/form.h"

namespace {

class ColorForm : public ui::Form {
 public:
  ColorForm() : Form({.className = L"TColorComboTestForm", .clientWidth = 200, .clientHeight = 100}) {}
  ui::ColorComboBox colors{*this, {.name = L"colors", .width = 150, .height = 200},
                           {{L"Black", RGB(0, 0, 0)}, {L"Red", RGB(255, 0, 0)}}, L"Custom..."};

  // As the combo box tells its form of the user's choice.
  void Choose(int index) {
    colors.Send(CB_SETCURSEL, static_cast<WPARAM>(index));
    for (WORD code : {static_cast<WORD>(CBN_SELCHANGE), static_cast<WORD>(CBN_SELENDOK)}) {
      SendMessageW(Handle(), WM_COMMAND, MAKEWPARAM(colors.Id(), code), reinterpret_cast<LPARAM>(colors.Handle()));
    }
  }
};

using ColorComboTest = UiTest;

TEST_F(ColorComboTest, ListedColoursByNameOthersOnTheCustomEntry) {
  ColorForm form;
  form.Create();
  auto& c = form.colors;
  ASSERT_EQ(c.Count(), 3);
  EXPECT_EQ(c.ItemText(2), L"Custom...");
  c.SetColor(RGB(255, 0, 0));
  EXPECT_EQ(c.ItemIndex(), 1);
  EXPECT_EQ(c.ItemText(c.ItemIndex()), L"Red");
  c.SetColor(RGB(1, 2, 3));
  EXPECT_EQ(c.ItemIndex(), 2);
  EXPECT_EQ(c.Color(), RGB(1, 2, 3));
}

TEST_F(ColorComboTest, TheCustomEntryTakesTheDialogsColourAndACancelGoesBack) {
  ColorForm form;
  int changes = 0;
  std::optional<COLORREF> answer = RGB(9, 8, 7);
  COLORREF offered = 0;
  form.colors.onChange = [&] { ++changes; };
  form.colors.chooseCustom = [&](COLORREF initial) {
    offered = initial;
    return answer;
  };
  form.Create();
  auto& c = form.colors;
  form.Choose(1);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(c.Color(), RGB(255, 0, 0));

  form.Choose(2);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(c.ItemIndex(), 2);
  EXPECT_EQ(c.Color(), RGB(9, 8, 7));

  answer.reset();  // cancelled: back to the colour before, nothing reported
  form.Choose(1);
  form.Choose(2);
  EXPECT_EQ(offered, RGB(9, 8, 7));
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(c.ItemIndex(), 1);
  EXPECT_EQ(c.Color(), RGB(255, 0, 0));
}

}  // namespace
