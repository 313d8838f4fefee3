// Toolbar, page control, splitter and size grip: the events each reports and
// the limits and places each keeps.
#include <string>
#include <vector>

#include "tests/unit/ui_test_support.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/size_grip.h"
#include "ui/splitter.h"
#include "ui/tab_pages.h"
#include "ui/tool_bar.h"

namespace {

using LayoutControlsTest = UiTest;

POINT Center(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// A click as the control gets it from the mouse, at a point of the form's client area.
void ClickAt(HWND control, POINT formPoint) {
  MapWindowPoints(GetParent(control), control, &formPoint, 1);
  const LPARAM at = MAKELPARAM(formPoint.x, formPoint.y);
  SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(control, WM_LBUTTONUP, 0, at);
}

class ToolForm : public ui::Form {
 public:
  ToolForm() : Form({.className = L"TToolTestForm", .clientWidth = 400, .clientHeight = 200}) {}
  ui::ToolBar tools{*this, {.name = L"tools", .width = 400, .height = 30}, true};
  ui::Edit field{*this, {.name = L"field", .top = 100, .width = 60, .height = 20}};
};

TEST_F(LayoutControlsTest, ToolbarButtonsRunTheirOwnHandlersAndKeepTheirStates) {
  ToolForm form;
  std::vector<std::wstring> clicks;
  std::vector<RECT> dropDowns;
  auto record = [&](const wchar_t* name) { return [&clicks, name] { clicks.push_back(name); }; };
  auto& t = form.tools;
  t.Add({.name = L"plain", .text = L"Plain", .hint = L"A plain button", .onClick = record(L"plain")});
  t.Add({.name = L"check", .kind = ui::ToolButtonKind::Check, .text = L"Check", .onClick = record(L"check")});
  t.Add({.name = L"sep", .kind = ui::ToolButtonKind::Separator});
  t.Add({.name = L"left", .kind = ui::ToolButtonKind::CheckGroup, .text = L"Left", .onClick = record(L"left")});
  t.Add({.name = L"right", .kind = ui::ToolButtonKind::CheckGroup, .text = L"Right", .onClick = record(L"right")});
  t.Add({.name = L"gap", .kind = ui::ToolButtonKind::Placeholder, .width = 70});
  t.SetDown(L"left", true);  // before the window exists
  form.Create();
  t.Add({.name = L"menu", .kind = ui::ToolButtonKind::DropDown, .text = L"Menu",
         .onDropDown = [&](const RECT& r) { dropDowns.push_back(r); }});
  form.ShowNoActivate();
  HWND bar = t.Handle();
  EXPECT_TRUE(t.IsDown(L"left"));

  ClickAt(bar, Center(t.ButtonRect(L"plain")));
  ClickAt(bar, Center(t.ButtonRect(L"check")));
  EXPECT_TRUE(t.IsDown(L"check"));
  ClickAt(bar, Center(t.ButtonRect(L"check")));
  EXPECT_FALSE(t.IsDown(L"check"));
  ClickAt(bar, Center(t.ButtonRect(L"right")));
  EXPECT_TRUE(t.IsDown(L"right"));
  EXPECT_FALSE(t.IsDown(L"left"));  // one of a group is down
  EXPECT_EQ(clicks, (std::vector<std::wstring>{L"plain", L"check", L"check", L"right"}));

  ClickAt(bar, Center(t.ButtonRect(L"menu")));
  ASSERT_EQ(dropDowns.size(), 1u);
  const RECT menuButton = t.ButtonScreenRect(L"menu");
  EXPECT_TRUE(EqualRect(&dropDowns[0], &menuButton));

  // A disabled button runs nothing; a placeholder is never a button.
  t.SetEnabled(L"plain", false);
  EXPECT_FALSE(t.IsButtonEnabled(L"plain"));
  EXPECT_FALSE(t.IsButtonEnabled(L"gap"));
  ClickAt(bar, Center(t.ButtonRect(L"plain")));
  ClickAt(bar, Center(t.ButtonRect(L"gap")));
  EXPECT_EQ(clicks.size(), 4u);
  EXPECT_TRUE(form.IsVisible());  // the button ids do not act as OK or Cancel on the form

  // The tooltip asks for the hint.
  wchar_t tip[80] = L"";
  NMTBGETINFOTIPW request{};
  request.hdr = {bar, static_cast<UINT_PTR>(GetDlgCtrlID(bar)), TBN_GETINFOTIPW};
  request.pszText = tip;
  request.cchTextMax = 80;
  TBBUTTON first{};
  SendMessageW(bar, TB_GETBUTTON, 0, reinterpret_cast<LPARAM>(&first));
  request.iItem = first.idCommand;
  SendMessageW(form.Handle(), WM_NOTIFY, request.hdr.idFrom, reinterpret_cast<LPARAM>(&request));
  EXPECT_STREQ(tip, L"A plain button");

  // A control laid over the placeholder covers it and takes its clicks.
  t.PlaceOver(L"gap", form.field);
  const RECT gap = t.ButtonRect(L"gap");
  EXPECT_EQ(form.field.Left(), gap.left);
  EXPECT_EQ(form.field.Width(), gap.right - gap.left);
  EXPECT_EQ(ChildWindowFromPointEx(form.Handle(), Center(gap), CWP_SKIPINVISIBLE), form.field.Handle());
}

class PagesForm : public ui::Form {
 public:
  PagesForm() : Form({.className = L"TPagesTestForm", .clientWidth = 300, .clientHeight = 200}) {}
  ui::TabPages pages{*this, {.name = L"pages", .width = 300, .height = 200}};
  ui::Edit first{*this, {.name = L"first"}};
  ui::Edit second{*this, {.name = L"second"}};
};

TEST_F(LayoutControlsTest, PagesShowOnlyTheActivePagesControlsOverTheTabs) {
  PagesForm form;
  std::vector<int> changes;
  form.pages.onChange = [&](int page) { changes.push_back(page); };
  auto& p = form.pages;
  EXPECT_EQ(p.AddPage(L"tsFirst", L"First"), 0);
  EXPECT_EQ(p.AddPage(L"tsSecond", L"Second"), 1);
  p.AddToPage(0, form.first);
  p.AddToPage(1, form.second);
  form.ShowNoActivate();
  const RECT area = p.PageArea();
  for (ui::Edit* e : {&form.first, &form.second}) {
    e->SetBounds(area.left, area.top, area.right - area.left, area.bottom - area.top);
  }
  EXPECT_TRUE(form.first.IsVisible());
  EXPECT_FALSE(form.second.IsVisible());

  // The user picks the second tab.
  RECT tab{};
  TabCtrl_GetItemRect(p.Handle(), 1, &tab);
  MapWindowPoints(p.Handle(), form.Handle(), reinterpret_cast<POINT*>(&tab), 2);
  ClickAt(p.Handle(), Center(tab));
  EXPECT_EQ(changes, std::vector<int>{1});
  EXPECT_EQ(p.ActivePage(), 1);
  EXPECT_FALSE(form.first.IsVisible());
  EXPECT_TRUE(form.second.IsVisible());
  // Made after the tab control, the page's control still lies above it once painted.
  UpdateWindow(form.Handle());
  EXPECT_EQ(ChildWindowFromPointEx(form.Handle(), Center(area), CWP_SKIPINVISIBLE), form.second.Handle());

  // The program's own switch reports nothing.
  p.SetActivePage(0);
  EXPECT_EQ(changes.size(), 1u);
  EXPECT_EQ(TabCtrl_GetCurSel(p.Handle()), 0);
  EXPECT_TRUE(form.first.IsVisible());
  EXPECT_FALSE(form.second.IsVisible());
}

class SplitForm : public ui::Form {
 public:
  SplitForm()
      : Form({.className = L"TSplitTestForm", .border = ui::BorderStyle::Sizeable, .clientWidth = 400,
              .clientHeight = 200}) {}
  ui::Edit list{*this, {.name = L"list", .width = 100, .height = 200}};
  ui::Splitter bar{*this, {.name = L"bar", .left = 100, .width = 4, .height = 200}, list, 50, 120};
  ui::SizeGrip grip{*this};
};

// Moves the mouse, captured by the bar, to a point of the form's client area.
void MoveTo(ui::Splitter& bar, int formX) {
  POINT p{formX, 10};
  MapWindowPoints(GetParent(bar.Handle()), bar.Handle(), &p, 1);
  SendMessageW(bar.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
}

TEST_F(LayoutControlsTest, SplitterDragResizesItsNeighbourWithinBothMinimums) {
  SplitForm form;
  std::vector<int> moves;
  form.bar.onMoved = [&](int width) { moves.push_back(width); };
  form.ShowNoActivate();
  ASSERT_EQ(form.ClientWidth(), 400);
  SendMessageW(form.bar.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 10));  // at form x 102
  EXPECT_TRUE(form.bar.IsDragging());

  MoveTo(form.bar, 152);
  EXPECT_EQ(form.list.Width(), 150);
  EXPECT_EQ(form.bar.Left(), 150);  // the bar follows the edge
  MoveTo(form.bar, -300);
  EXPECT_EQ(form.list.Width(), 50);
  MoveTo(form.bar, 1000);
  EXPECT_EQ(form.list.Width(), 400 - 4 - 120);  // the rest keeps its 120
  EXPECT_EQ(form.bar.Position(), 276);
  EXPECT_EQ(moves, (std::vector<int>{150, 50, 276}));

  SendMessageW(form.bar.Handle(), WM_LBUTTONUP, 0, 0);
  EXPECT_FALSE(form.bar.IsDragging());
  MoveTo(form.bar, 200);
  EXPECT_EQ(form.list.Width(), 276);  // no drag without the button

  form.bar.SetPosition(10);  // a width kept from a wider window, say
  EXPECT_EQ(form.list.Width(), 50);
  EXPECT_EQ(moves.size(), 3u);
  // Too little room for both: the neighbour keeps its minimum.
  EXPECT_EQ(ui::SplitterClampedWidth(300, 50, 100, 120), 50);
  EXPECT_EQ(ui::SplitterClampedWidth(60, 50, 400, 120), 60);
}

TEST_F(LayoutControlsTest, SizeGripKeepsToTheCornerAsTheFormResizes) {
  SplitForm form;
  form.ShowNoActivate();
  auto inCorner = [&] {
    const RECT grip = form.grip.Bounds();
    return grip.right == form.ClientWidth() && grip.bottom == form.ClientHeight() && form.grip.IsVisible();
  };
  EXPECT_TRUE(inCorner());
  form.SetBounds(form.Left(), form.Top(), form.Width() + 57, form.Height() + 33);
  EXPECT_TRUE(inCorner());
}

}  // namespace
