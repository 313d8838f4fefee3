// The owner-data list view asks only for the rows it shows, moves its one
// selected row without walking every row, and repaints after a change what a
// full repaint would show (scroll bars and column titles only when changed).
#include <chrono>
#include <set>
#include <string>
#include <vector>

#include "tests/unit/ui_test_support.h"
#include "tests/unit/window_pixels.h"
#include "ui/edit.h"
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

  std::vector<int> reported;
  form.gridTemplates.onSelectionChanged = [&](int item) { reported.push_back(item); };
  form.gridTemplates.Select(3);
  form.gridTemplates.Select(7);
  form.gridTemplates.Select(-1);
  EXPECT_EQ(reported, (std::vector<int>{3, -1, 7, -1}));
}

TEST_F(ListViewTest, MovingTheSelectionThroughALongListKeepsOneRowSelectedAndFocused) {
  ui::ListView& list = form.gridTemplates;
  HWND handle = list.Handle();
  list.SetItemCount(100000);
  form.ShowNoActivate();
  list.Select(10);

  // The control clears a previous selection row by row in an owner-data
  // list (tens of milliseconds for 100,000 rows under Wine).
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 200; ++i) {
    const int item = 50000 + 7 * i;
    list.Select(item);
    ASSERT_EQ(list.SelectedIndex(), item);
    ASSERT_EQ(ListView_GetSelectedCount(handle), 1u);
    ASSERT_EQ(ListView_GetNextItem(handle, -1, LVNI_FOCUSED), item);
  }
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count(), 2000);

  const int top = ListView_GetTopIndex(handle);
  EXPECT_LE(top, 50000 + 7 * 199);
  EXPECT_GT(top + ListView_GetCountPerPage(handle), 50000 + 7 * 199);

  list.Select(-1);
  EXPECT_EQ(list.SelectedIndex(), -1);
  EXPECT_EQ(ListView_GetSelectedCount(handle), 0u);
  EXPECT_EQ(ListView_GetNextItem(handle, -1, LVNI_FOCUSED), -1);
}

// A topmost, never activated form, so windows of other tests do not cover it.
class PaintForm : public ui::Form {
 public:
  PaintForm()
      : Form({.className = L"TListPaintTestForm", .border = ui::BorderStyle::None, .left = 40, .top = 40,
              .clientWidth = 420, .clientHeight = 200, .alwaysOnTop = true, .noActivate = true}) {}
  ui::ListView list{*this, {.name = L"list", .left = 0, .top = 0, .width = 160, .height = 200}, true};
  ui::Edit memo{*this,
                {.name = L"memo", .left = 170, .top = 0, .width = 250, .height = 200,
                 .style = ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_HSCROLL}};
  void OnCreate() override { list.AddColumn(L"Name", 120); }
};

class ListPaintTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form.list.onGetText = [this](int item, int) -> std::wstring_view {
      text = L"Row " + std::to_wstring(item);
      return text;
    };
    // Rows drawn by the program, whole, as the template pop-up draws them.
    form.list.onCustomDraw = [this](NMLVCUSTOMDRAW& draw) -> LRESULT {
      if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
      if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
      const int item = static_cast<int>(draw.nmcd.dwItemSpec);
      RECT row{};
      ListView_GetItemRect(form.list.Handle(), item, &row, LVIR_BOUNDS);
      const bool selected = ListView_GetItemState(form.list.Handle(), item, LVIS_SELECTED) != 0;
      SetBkColor(draw.nmcd.hdc, selected ? RGB(200, 220, 255) : RGB(255, 255, 255));
      ExtTextOutW(draw.nmcd.hdc, row.left, row.top, ETO_OPAQUE, &row, nullptr, 0, nullptr);
      return CDRF_SKIPDEFAULT;
    };
    form.Create();
    form.ShowNoActivate();
    PumpFor(50);
  }
  void ExpectFullRepaintLooksTheSame(const char* step) {
    const std::vector<std::uint32_t> shown = PaintedPixels(form.Handle());
    EXPECT_EQ(DifferentPixels(shown, FullyRepaintedPixels(form.Handle())), 0u) << step;
  }
  PaintForm form;
  std::wstring text;
};

TEST_F(ListPaintTest, ChangingTheRowsShowsWhatAFullRepaintShows) {
  ui::ListView& list = form.list;
  list.SetItemCount(100000);
  list.Select(0);
  ExpectFullRepaintLooksTheSame("100000 rows");

  // The scroll bar looks the same: only the rows wait to be painted, not
  // the column titles above them.
  list.SetItemCount(90000);
  EXPECT_FALSE(GetUpdateRect(ListView_GetHeader(list.Handle()), nullptr, FALSE));
  EXPECT_TRUE(GetUpdateRect(list.Handle(), nullptr, FALSE));
  ExpectFullRepaintLooksTheSame("90000 rows");

  const int counts[] = {40, 12, 0, 3, 100000, 100000};
  for (int count : counts) {
    list.SetItemCount(count);
    if (count > 0) list.Select(count - 1);
    ExpectFullRepaintLooksTheSame(("count " + std::to_string(count)).c_str());
  }
  for (int item : {5, 6, 400, 399, 99999, 0}) {
    list.Select(item);
    ExpectFullRepaintLooksTheSame(("select " + std::to_string(item)).c_str());
  }
}

TEST_F(ListPaintTest, ContentChangedWithScrollBarsHeldBackShowsWhatAFullRepaintShows) {
  HWND memo = form.memo.Handle();
  std::wstring longText;
  for (int line = 0; line < 60; ++line) longText += L"line " + std::to_wstring(line) + L" " + std::wstring(80, L'w') + L"\r\n";
  const std::wstring texts[] = {L"short", L"other", longText, longText + L"more", L"short again", L""};
  for (const std::wstring& content : texts) {
    RECT part{0, 0, 20, 20};
    InvalidateRect(memo, &part, TRUE);  // paint already waiting is not lost
    {
      const ui::ScrollBarsPaintedOnChange quiet(memo);
      form.memo.SetText(content);
    }
    EXPECT_EQ(form.memo.Text(), content);
    ExpectFullRepaintLooksTheSame("memo text");
  }

  // A hidden window is changed as usual.
  form.memo.SetVisible(false);
  {
    const ui::ScrollBarsPaintedOnChange quiet(memo);
    form.memo.SetText(L"while hidden");
  }
  form.memo.SetVisible(true);
  EXPECT_EQ(form.memo.Text(), L"while hidden");
  ExpectFullRepaintLooksTheSame("shown again");
}

}  // namespace
