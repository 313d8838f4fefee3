// Spin field, check list, track bar and tree: which changes each reports
// (the user's, not the program's own), the limits each keeps, and the spin
// field's arrows following the field.
#include <string>
#include <vector>

#include "tests/unit/ui_test_support.h"
#include "ui/check_list_box.h"
#include "ui/form.h"
#include "ui/spin_edit.h"
#include "ui/track_bar.h"
#include "ui/tree_view.h"

namespace {

using PageControlsTest = UiTest;

class PageForm : public ui::Form {
 public:
  PageForm() : Form({.className = L"TPageControlsTestForm", .clientWidth = 400, .clientHeight = 300}) {}
  ui::SpinEdit spin{*this, {.name = L"spin", .left = 10, .top = 10, .width = 80, .height = 21}, 0, 50};
  ui::CheckListBox checks{*this, {.name = L"checks", .left = 10, .top = 40, .width = 180, .height = 90}};
  ui::TrackBar track{*this, {.name = L"track", .left = 10, .top = 140, .width = 180, .height = 30}, 0, 30};
  ui::TreeView tree{*this, {.name = L"tree", .left = 200, .top = 10, .width = 180, .height = 200}};
};

void PressKey(HWND window, WPARAM key) {
  SendMessageW(window, WM_KEYDOWN, key, 1);
  SendMessageW(window, WM_KEYUP, key, 0xC0000001);
}

TEST_F(PageControlsTest, SpinFieldKeepsItsRangeAndItsArrowsFollowIt) {
  PageForm form;
  form.spin.SetValue(70);  // before the window exists
  form.Create();
  form.ShowNoActivate();
  EXPECT_EQ(form.spin.Value(), 50);
  int changes = 0;
  form.spin.onChange = [&] { ++changes; };
  form.spin.SetText(L"999");
  EXPECT_EQ(form.spin.Value(), 50);
  form.spin.SetText(L"");
  EXPECT_EQ(form.spin.Value(), 0);
  form.spin.SetValue(7);
  changes = 0;
  form.spin.Focus();
  PressKey(form.spin.Handle(), VK_UP);
  EXPECT_EQ(form.spin.Value(), 8);
  EXPECT_GE(changes, 1);

  ASSERT_NE(form.spin.Arrows(), nullptr);
  EXPECT_TRUE(IsWindowVisible(form.spin.Arrows()));
  form.spin.SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(form.spin.Arrows()));
  form.spin.SetVisible(true);
  EXPECT_TRUE(IsWindowVisible(form.spin.Arrows()));
  form.spin.SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(form.spin.Arrows()));
}

TEST_F(PageControlsTest, CheckListReportsOnlyTheUsersChecks) {
  PageForm form;
  form.Create();
  form.ShowNoActivate();
  std::vector<int> clicked;
  form.checks.onClickCheck = [&](int item) { clicked.push_back(item); };
  form.checks.AddItem(L"English", 0x0409, true);
  form.checks.AddItem(L"French", 0x040C, false);
  form.checks.SetChecked(0, false);
  form.checks.SetChecked(0, true);
  EXPECT_TRUE(clicked.empty());
  EXPECT_EQ(form.checks.ItemData(1), 0x040C);
  EXPECT_EQ(form.checks.ItemText(1), L"French");

  ListView_SetItemState(form.checks.Handle(), 1, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
  PressKey(form.checks.Handle(), VK_SPACE);
  EXPECT_EQ(clicked, std::vector<int>{1});
  EXPECT_TRUE(form.checks.Checked(1));
  EXPECT_TRUE(form.checks.Checked(0));
}

TEST_F(PageControlsTest, TrackBarReportsMovesButNotItsOwnPositioning) {
  PageForm form;
  form.Create();
  form.ShowNoActivate();
  int changes = 0;
  form.track.onChange = [&] { ++changes; };
  form.track.SetPosition(40);
  EXPECT_EQ(form.track.Position(), 30);
  form.track.SetPosition(15);
  EXPECT_EQ(changes, 0);
  PressKey(form.track.Handle(), VK_RIGHT);
  EXPECT_EQ(form.track.Position(), 16);
  EXPECT_EQ(changes, 1);
}

TEST_F(PageControlsTest, TreeNodesKeepTheirImagesAndDataAndReportTheSelection) {
  PageForm form;
  form.Create();
  form.ShowNoActivate();
  std::vector<ui::TreeView::Node> changes;
  form.tree.onChange = [&](ui::TreeView::Node node) { changes.push_back(node); };
  const auto main = form.tree.AddNode(nullptr, L"Main", 0, 0, 100);
  const auto hotkeys = form.tree.AddNode(nullptr, L"Hotkeys", 13, 2, 200);
  const auto other = form.tree.AddNode(nullptr, L"Other");
  EXPECT_EQ(form.tree.Count(), 3);
  // No picture stays no picture (the control itself would ask its parent for one).
  EXPECT_EQ(form.tree.NodeImage(other), -1);
  EXPECT_EQ(form.tree.NodeSelectedImage(other), -1);
  form.tree.SetNodeImages(other, 11, 11);
  form.tree.SetNodeImages(other, -1, -1);
  EXPECT_EQ(form.tree.NodeImage(other), -1);
  EXPECT_EQ(form.tree.NodeImage(hotkeys), 13);
  EXPECT_EQ(form.tree.NodeSelectedImage(hotkeys), 2);
  EXPECT_EQ(form.tree.NodeData(hotkeys), 200);
  form.tree.SetNodeImages(hotkeys, 7, 2);
  EXPECT_EQ(form.tree.NodeImage(hotkeys), 7);
  EXPECT_EQ(form.tree.NextSibling(form.tree.FirstNode()), hotkeys);

  form.tree.Select(hotkeys);
  EXPECT_EQ(form.tree.Selected(), hotkeys);
  ASSERT_FALSE(changes.empty());
  EXPECT_EQ(changes.back(), hotkeys);
  form.tree.DeleteNode(main);
  EXPECT_EQ(form.tree.FirstNode(), hotkeys);
  EXPECT_EQ(form.tree.NodeText(hotkeys), L"Hotkeys");
}

}  // namespace
