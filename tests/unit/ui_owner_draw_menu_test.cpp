// Owner-drawn pop-up menus: every shown item reaches the menu's painter to be
// measured and painted with its state, and the owner window is its own again
// once the menu has closed.
#include <memory>
#include <string>
#include <vector>

#include "tests/unit/ui_test_support.h"
#include "ui/form.h"
#include "ui/menu.h"
#include "ui/menu_item_painter.h"
#include "ui/standard_menu_painter.h"

namespace {

struct Painted {
  std::wstring name;
  UINT state;
  RECT rect;
};

class RecordingPainter : public ui::MenuItemPainter {
 public:
  RecordingPainter(std::vector<std::wstring>& measured, std::vector<Painted>& painted)
      : measured_(measured), painted_(painted) {}
  SIZE Measure(const ui::MenuItem& item, const ui::ImageList*) override {
    measured_.push_back(item.name);
    return {120, item.IsSeparator() ? 7 : 22};
  }
  void Paint(const ui::MenuItemDraw& draw) override {
    painted_.push_back({draw.item.name, draw.state, draw.rect});
    base_.Paint(draw);
  }

 private:
  std::vector<std::wstring>& measured_;
  std::vector<Painted>& painted_;
  ui::StandardMenuItemPainter base_;
};

class MenuForm : public ui::Form {
 public:
  MenuForm() : Form({.className = L"TOwnerDrawTestForm", .clientWidth = 200, .clientHeight = 100}) {}
  ui::PopupMenu pmColors{this, L"pmColors"};
};

// Types keys into the menu once it is open, after a look at it.
void TypeIntoOpenMenu(std::vector<WORD> keys) {
  static std::vector<WORD> pending;
  pending = std::move(keys);
  SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (!menu || !IsWindowVisible(menu)) return;
    KillTimer(nullptr, id);
    UpdateWindow(menu);
    for (WORD key : pending) {
      PostMessageW(menu, WM_KEYDOWN, key, 0);
      PostMessageW(menu, WM_KEYUP, key, 0xC0000000);
    }
  });
}

const Painted* LastPaintOf(const std::vector<Painted>& painted, const std::wstring& name) {
  for (auto it = painted.rbegin(); it != painted.rend(); ++it) {
    if (it->name == name) return &*it;
  }
  return nullptr;
}

using OwnerDrawMenuTest = UiTest;

TEST_F(OwnerDrawMenuTest, EveryShownItemIsMeasuredAndPaintedByThePainterWithItsState) {
  MenuForm form;
  form.Show();
  std::vector<std::wstring> measured, clicked;
  std::vector<Painted> painted;
  auto& pm = form.pmColors;
  pm.Add(L"black", L"Black", [&] { clicked.push_back(L"black"); }).tag = 0;
  pm.Add(L"hidden", L"Hidden").visible = false;
  pm.Add(L"gray", L"Gray").enabled = false;
  pm.AddSeparator(L"line");
  ui::MenuItem& red = pm.Add(L"red", L"Red", [&] { clicked.push_back(L"red"); });
  red.radio = true;
  red.checked = true;
  red.tag = 0x0000FF;
  pm.SetPainter(std::make_unique<RecordingPainter>(measured, painted));

  // Onto Black, the disabled Gray, then past the line onto Red, which Enter chooses a moment later.
  TypeIntoOpenMenu({VK_DOWN, VK_DOWN, VK_DOWN});
  SetTimer(nullptr, 0, 500, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (HWND menu = FindWindowW(L"#32768", nullptr)) PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
  });
  EXPECT_TRUE(pm.Popup({30, 30}, form.Handle()));

  EXPECT_EQ(measured, (std::vector<std::wstring>{L"black", L"gray", L"line", L"red"}));
  const Painted* black = LastPaintOf(painted, L"black");
  const Painted* gray = LastPaintOf(painted, L"gray");
  const Painted* line = LastPaintOf(painted, L"line");
  const Painted* last = LastPaintOf(painted, L"red");
  ASSERT_TRUE(black && gray && line && last);
  EXPECT_FALSE(LastPaintOf(painted, L"hidden"));
  EXPECT_EQ(black->rect.bottom - black->rect.top, 22);
  EXPECT_EQ(line->rect.bottom - line->rect.top, 7);
  EXPECT_EQ(line->rect.top, gray->rect.bottom);  // stacked in menu order
  EXPECT_NE(gray->state & (ODS_GRAYED | ODS_DISABLED), 0u);
  EXPECT_NE(last->state & ODS_CHECKED, 0u);
  EXPECT_NE(last->state & ODS_SELECTED, 0u);  // the keys moved onto it
  EXPECT_EQ(black->state & (ODS_CHECKED | ODS_SELECTED), 0u);
  EXPECT_EQ(clicked, std::vector<std::wstring>{L"red"});

  // Closed, the menu no longer draws through the form.
  const size_t paints = painted.size();
  DRAWITEMSTRUCT stray{};
  stray.CtlType = ODT_MENU;
  stray.itemData = reinterpret_cast<ULONG_PTR>(&red);
  SendMessageW(form.Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&stray));
  EXPECT_EQ(painted.size(), paints);

  // Without a painter the system draws the items again.
  pm.SetPainter(nullptr);
  EXPECT_EQ(pm.Painter(), nullptr);
  measured.clear();
  TypeIntoOpenMenu({VK_ESCAPE});
  EXPECT_FALSE(pm.Popup({30, 30}, form.Handle()));
  EXPECT_TRUE(measured.empty());
}

}  // namespace
