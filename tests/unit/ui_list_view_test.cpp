// The owner-data list view asks only for the rows it shows.
#include <set>
#include <string>

#include "tests/unit/ui_test_support.h"
#include "ui/form.h"
#include "ui/list_view.h"

namespace {

class ListForm : public ui::Form {
 public:
  ListForm()
      : Form({.className = L"TListTestForm", .border = ui::BorderStyle::None, .left = 10, .top = 10,
              .clientWidth = 200, .clientHeight = 200}) {}
  ui::ListView gridTemplates{*this, {.name = L"gridTemplates", .width = 200, .height = 200}, true};
  void OnCreate() override { gridTemplates.AddColumn(L"Name", 180); }
};

class ListViewTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form.gridTemplates.onGetText = [this](int item, int column) -> std::wstring_view {
      asked.insert(item);
      text = L"Template " + std::to_wstring(item);
      return text;
    };
    form.Create();
  }
  ListForm form;
  std::set<int> asked;
  std::wstring text;
};

TEST_F(ListViewTest, OwnerDataListAsksForVisibleRowsOnly) {
  form.gridTemplates.SetItemCount(100000);
  form.ShowNoActivate();
  UpdateWindow(form.gridTemplates.Handle());
  PumpFor(50);
  EXPECT_EQ(form.gridTemplates.Count(), 100000);
  ASSERT_FALSE(asked.empty());
  EXPECT_LT(asked.size(), 40u);
  EXPECT_LT(*asked.rbegin(), 40);

  asked.clear();
  form.gridTemplates.Select(99990);
  UpdateWindow(form.gridTemplates.Handle());
  PumpFor(50);
  EXPECT_EQ(form.gridTemplates.SelectedIndex(), 99990);
  ASSERT_FALSE(asked.empty());
  EXPECT_GE(*asked.begin(), 99900);
}

TEST_F(ListViewTest, LongTextsAreCutToTheBufferTheControlOffers) {
  form.gridTemplates.onGetText = [this](int, int) -> std::wstring_view {
    text.assign(5000, L'x');
    return text;
  };
  form.gridTemplates.SetItemCount(1);
  wchar_t small[10];
  wmemset(small, L'?', 10);
  ListView_GetItemText(form.gridTemplates.Handle(), 0, 0, small, 6);
  EXPECT_EQ(std::wstring(small), L"xxxxx");
  EXPECT_EQ(small[6], L'?');  // nothing written past the buffer
}

TEST_F(ListViewTest, SelectionChangesAreReported) {
  int selected = -2;
  form.gridTemplates.onSelectionChanged = [&](int item) { selected = item; };
  form.gridTemplates.SetItemCount(10);
  form.gridTemplates.Select(3);
  EXPECT_EQ(selected, 3);
  form.gridTemplates.Select(-1);
  EXPECT_EQ(selected, -1);
}

}  // namespace
