// Paint boxes, pop-up menus and image-list pictures.
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/unit/ui_test_support.h"
#include "ui/exceptions.h"
#include "ui/form.h"
#include "ui/gdi.h"
#include "ui/image_list.h"
#include "ui/menu.h"
#include "ui/paint_box.h"

namespace {

class BoxForm : public ui::Form {
 public:
  BoxForm() : Form({.className = L"TBoxForm", .border = ui::BorderStyle::None, .clientWidth = 100, .clientHeight = 60}) {}
  ui::PaintBox pbView{*this, {.name = L"pbView", .width = 80, .height = 40}};
  ui::PopupMenu pmMain{this, L"pmMain"};
};

using ControlsTest = UiTest;

TEST_F(ControlsTest, PaintBoxPaintsItsWholeClientAreaAndReportsSignedMousePoints) {
  BoxForm form;
  RECT painted{};
  form.pbView.onPaint = [&](HDC, const RECT& client) { painted = client; };
  std::vector<POINT> points;
  form.pbView.onMouse = [&](UINT message, POINT p, WPARAM) {
    if (message == WM_LBUTTONDOWN) points.push_back(p);
  };
  form.Create();
  form.ShowNoActivate();
  UpdateWindow(form.pbView.Handle());
  EXPECT_EQ(painted.right, form.pbView.ClientWidth());
  EXPECT_EQ(painted.bottom, form.pbView.ClientHeight());
  // With the mouse captured, points left of or above the box are negative.
  SendMessageW(form.pbView.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-3, 4));
  ASSERT_EQ(points.size(), 1u);
  EXPECT_EQ(points[0].x, -3);
  EXPECT_EQ(points[0].y, 4);
  EXPECT_EQ(form.Find<ui::PaintBox>(L"pbView"), &form.pbView);
  EXPECT_EQ(form.Find<ui::PopupMenu>(L"pmMain"), &form.pmMain);
}

TEST_F(ControlsTest, PaintBoxFailureReachesTheApplicationHandler) {
  std::wstring reported;
  App().SetExceptionHandler([&](const std::exception_ptr& e) { reported = ui::ExceptionMessage(e); });
  BoxForm form;
  form.pbView.onPaint = [](HDC, const RECT&) { throw std::runtime_error("paint failed"); };
  form.ShowNoActivate();
  UpdateWindow(form.pbView.Handle());
  EXPECT_EQ(reported, L"paint failed");
}

// Types keys into the menu once it is open (its own modal loop runs timers).
void TypeIntoOpenMenu(std::vector<WORD> keys) {
  static std::vector<WORD> pending;
  pending = std::move(keys);
  SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (!menu) return;
    KillTimer(nullptr, id);
    for (WORD key : pending) {
      PostMessageW(menu, WM_KEYDOWN, key, 0);
      PostMessageW(menu, WM_KEYUP, key, 0xC0000000);
    }
  });
}

TEST_F(ControlsTest, PopupMenuLeavesOutHiddenItemsAndRunsTheChosenItem) {
  BoxForm form;
  form.Show();
  std::vector<std::wstring> clicked;
  auto& pm = form.pmMain;
  pm.Add(L"pmiHidden", L"Hidden", [&] { clicked.push_back(L"pmiHidden"); }).visible = false;
  pm.Add(L"pmiFirst", L"First", [&] { clicked.push_back(L"pmiFirst"); });
  pm.AddSeparator();
  pm.Add(L"pmiSecond", L"Second", [&] { clicked.push_back(L"pmiSecond"); });
  pm.Item(L"pmiFirst").caption = L"First, renamed";
  EXPECT_THROW(pm.Item(L"pmiMissing"), std::out_of_range);

  TypeIntoOpenMenu({VK_DOWN, VK_RETURN});
  EXPECT_TRUE(pm.Popup({20, 20}, form.Handle()));
  EXPECT_EQ(clicked, (std::vector<std::wstring>{L"pmiFirst"}));

  // Enter on a disabled item chooses nothing.
  pm.Item(L"pmiFirst").enabled = false;
  TypeIntoOpenMenu({VK_DOWN, VK_RETURN, VK_ESCAPE});
  EXPECT_FALSE(pm.Popup({20, 20}, form.Handle()));
  EXPECT_EQ(clicked, (std::vector<std::wstring>{L"pmiFirst"}));

  // Down skips the separator.
  TypeIntoOpenMenu({VK_DOWN, VK_DOWN, VK_RETURN});
  EXPECT_TRUE(pm.Popup({20, 20}, form.Handle()));
  EXPECT_EQ(clicked, (std::vector<std::wstring>{L"pmiFirst", L"pmiSecond"}));
}

TEST_F(ControlsTest, ImageListPictureForMenusIsTransparentWhereTheMaskIs) {
  ui::ImageList images(16, 16);
  // A 16x16 magenta bitmap with a 4x4 black square in its corner.
  ui::WindowDC screen;
  ui::Bitmap strip(CreateCompatibleBitmap(screen, 16, 16));
  {
    ui::MemoryDC dc(screen);
    ui::SelectedObject selected(dc, strip.Get());
    RECT all{0, 0, 16, 16}, square{0, 0, 4, 4};
    ui::Brush magenta(CreateSolidBrush(RGB(255, 0, 255)));
    FillRect(dc, &all, magenta.Get());
    FillRect(dc, &square, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
  ASSERT_EQ(ImageList_AddMasked(images.Get(), strip.Get(), RGB(255, 0, 255)), 0);

  ui::Bitmap picture = images.ToAlphaBitmap(0);
  ASSERT_TRUE(picture);
  EXPECT_FALSE(images.ToAlphaBitmap(1));
  DIBSECTION section{};
  ASSERT_EQ(GetObjectW(picture.Get(), sizeof section, &section), static_cast<int>(sizeof section));
  ASSERT_EQ(section.dsBm.bmBitsPixel, 32);
  const auto* pixels = static_cast<const DWORD*>(section.dsBm.bmBits);
  EXPECT_EQ(pixels[0] >> 24, 0xFFu);             // the black square is opaque
  EXPECT_EQ(pixels[15 * 16 + 15], 0u);           // magenta became fully transparent
}

}  // namespace
