#include "tests/unit/settings_fixture.h"

namespace snibbet::test {
namespace {

constexpr DWORD kNoMaximiseBox = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX;
constexpr DWORD kFixedWithMaximiseBox = WS_CAPTION | WS_SYSMENU | WS_MAXIMIZEBOX;

class PlacementTest : public SettingsTest {
 protected:
  void TearDown() override {
    for (HWND window : windows_) DestroyWindow(window);
    SettingsTest::TearDown();
  }

  // A window whose class name is `className`, as every form's is.
  HWND Form(const wchar_t* className, DWORD style, RECT rect, bool visible = false) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = className;
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, className, L"", style, rect.left, rect.top, rect.right - rect.left,
                                  rect.bottom - rect.top, nullptr, nullptr, windowClass.hInstance, nullptr);
    windows_.push_back(window);
    if (visible) ShowWindow(window, SW_SHOWNORMAL);
    return window;
  }

  static RECT WindowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
  }
  static RECT NormalRect(HWND window) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    GetWindowPlacement(window, &placement);
    return placement.rcNormalPosition;
  }
  static RECT WorkArea(HWND window) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info);
    return info.rcWork;
  }
  static void ExpectRect(const RECT& rect, int left, int top, int width, int height) {
    EXPECT_EQ(rect.left, left);
    EXPECT_EQ(rect.top, top);
    EXPECT_EQ(rect.right - rect.left, width);
    EXPECT_EQ(rect.bottom - rect.top, height);
  }

  std::vector<HWND> windows_;
};

TEST_F(PlacementTest, NormalWindowStoresEveryValueUnderItsClassName) {
  HWND form = Form(L"TTemplateViewForm", WS_OVERLAPPEDWINDOW, {100, 120, 500, 420});
  AppIni().SaveFormPlacement(form, false);
  EXPECT_EQ(Get(L"TTemplateViewFormTop")->Dword(), 120u);
  EXPECT_EQ(Get(L"TTemplateViewFormLeft")->Dword(), 100u);
  EXPECT_EQ(Get(L"TTemplateViewFormHeight")->Dword(), 300u);
  EXPECT_EQ(Get(L"TTemplateViewFormWidth")->Dword(), 400u);
  EXPECT_EQ(Get(L"TTemplateViewFormState")->Dword(), 0u);
}

// Visible windows are slow to tear down under Wine without a window manager:
// one window serves the whole round trip.
TEST_F(PlacementTest, MaximisedWindowKeepsItsNormalRectangleAndComesBackMaximised) {
  HWND form = Form(L"TTemplateViewForm", WS_OVERLAPPEDWINDOW, {100, 120, 500, 420}, true);
  AppIni().SaveFormPlacement(form, false);
  ShowWindow(form, SW_MAXIMIZE);
  ASSERT_TRUE(IsZoomed(form));
  PutDword(L"TTemplateViewFormTop", 130);  // must survive: only State is written
  AppIni().SaveFormPlacement(form, false);
  EXPECT_EQ(Get(L"TTemplateViewFormState")->Dword(), 1u);
  EXPECT_EQ(Get(L"TTemplateViewFormTop")->Dword(), 130u);
  EXPECT_EQ(Get(L"TTemplateViewFormWidth")->Dword(), 400u);

  ShowWindow(form, SW_RESTORE);
  SetWindowPos(form, nullptr, 10, 10, 200, 150, SWP_NOZORDER);
  EXPECT_EQ(AppIni().LoadFormPlacement(form, false), FormWindowState::Maximised);
  EXPECT_TRUE(IsZoomed(form));
  ExpectRect(NormalRect(form), 100, 130, 400, 300);

  PutDword(L"TTemplateViewFormState", 0);
  EXPECT_EQ(AppIni().LoadFormPlacement(form, false), FormWindowState::Normal);
  EXPECT_FALSE(IsZoomed(form));
  ExpectRect(WindowRect(form), 100, 130, 400, 300);

  PutDword(L"TTemplateViewFormState", 1);
  HWND hidden = Form(L"TTemplateViewForm", WS_OVERLAPPEDWINDOW, {10, 10, 210, 160});
  EXPECT_EQ(AppIni().LoadFormPlacement(hidden, false), FormWindowState::Maximised);
  EXPECT_FALSE(IsWindowVisible(hidden));  // the caller shows it
  ExpectRect(WindowRect(hidden), 100, 130, 400, 300);
}

TEST_F(PlacementTest, SizeIsWrittenWithAMaximiseBoxAndReadWhenSizeable) {
  HWND noMaxBox = Form(L"TNoMaxBoxForm", kNoMaximiseBox, {50, 60, 350, 260});
  AppIni().SaveFormPlacement(noMaxBox, false);
  EXPECT_TRUE(Get(L"TNoMaxBoxFormTop") && Get(L"TNoMaxBoxFormState"));
  EXPECT_FALSE(Get(L"TNoMaxBoxFormHeight") || Get(L"TNoMaxBoxFormWidth"));
  PutDword(L"TNoMaxBoxFormState", 1);
  HWND again = Form(L"TNoMaxBoxForm", kNoMaximiseBox, {0, 0, 320, 240});
  EXPECT_EQ(AppIni().LoadFormPlacement(again, false), FormWindowState::Normal);
  EXPECT_FALSE(IsZoomed(again));
  ExpectRect(WindowRect(again), 50, 60, 320, 240);  // designed size kept

  HWND fixed = Form(L"TFixedForm", kFixedWithMaximiseBox, {40, 40, 340, 240});
  AppIni().SaveFormPlacement(fixed, false);
  EXPECT_EQ(Get(L"TFixedFormWidth")->Dword(), 300u);
  PutDword(L"TFixedFormWidth", 500);
  HWND fixedAgain = Form(L"TFixedForm", kFixedWithMaximiseBox, {0, 0, 300, 200});
  AppIni().LoadFormPlacement(fixedAgain, false);
  ExpectRect(WindowRect(fixedAgain), 40, 40, 300, 200);  // not sizeable: size not read
}

TEST_F(PlacementTest, PositionOnlyNeverTouchesSizeOrState) {
  HWND keyboard = Form(L"TMainKeyboardForm", WS_OVERLAPPEDWINDOW, {70, 80, 370, 280});
  AppIni().SaveFormPlacement(keyboard, true);
  EXPECT_EQ(Get(L"TMainKeyboardFormTop")->Dword(), 80u);
  EXPECT_FALSE(Get(L"TMainKeyboardFormHeight") || Get(L"TMainKeyboardFormWidth") || Get(L"TMainKeyboardFormState"));

  PutDword(L"TMainKeyboardFormWidth", 900);
  PutDword(L"TMainKeyboardFormState", 1);
  HWND again = Form(L"TMainKeyboardForm", WS_OVERLAPPEDWINDOW, {0, 0, 250, 150});
  AppIni().LoadFormPlacement(again, true);
  EXPECT_FALSE(IsZoomed(again));
  ExpectRect(WindowRect(again), 70, 80, 250, 150);
}

TEST_F(PlacementTest, CentringUsesTheWorkAreaAndStoredValuesWin) {
  HWND form = Form(L"TCentredForm", WS_OVERLAPPEDWINDOW, {0, 0, 400, 300});
  AppIni().LoadFormPlacement(form, false, true);
  RECT work = WorkArea(form);
  ExpectRect(WindowRect(form), work.left + (work.right - work.left - 400) / 2,
             work.top + (work.bottom - work.top - 300) / 2, 400, 300);

  PutDword(L"TCentredFormLeft", 20);
  AppIni().LoadFormPlacement(form, false, true);
  EXPECT_EQ(WindowRect(form).left, 20);

  // Larger than the work area: a negative offset, rounded toward zero.
  HWND wide = Form(L"TWideForm", WS_POPUP, {0, 0, 3001, 100});
  TAppIni::CenterFormOnMonitor(wide);
  EXPECT_EQ(WindowRect(wide).left, work.left + (work.right - work.left - 3001) / 2);
  EXPECT_LT(WindowRect(wide).left, work.left);
}

TEST_F(PlacementTest, APositionOffEveryMonitorIsCentredOnTheNearestOne) {
  PutDword(L"TLostFormLeft", 20000);
  PutDword(L"TLostFormTop", 20000);
  HWND form = Form(L"TLostForm", WS_OVERLAPPEDWINDOW, {0, 0, 400, 300});
  AppIni().LoadFormPlacement(form, false);
  RECT work = WorkArea(form);
  ExpectRect(WindowRect(form), work.left + (work.right - work.left - 400) / 2,
             work.top + (work.bottom - work.top - 300) / 2, 400, 300);

  AppIni().LoadFormPlacement(form, true);  // position only, too
  EXPECT_LT(WindowRect(form).left, work.right);
}

TEST_F(PlacementTest, LoadPassesAWrongTypeOn) {
  PutString(L"TBrokenFormState", L"1");
  HWND form = Form(L"TBrokenForm", WS_OVERLAPPEDWINDOW, {0, 0, 400, 300});
  EXPECT_THROW(AppIni().LoadFormPlacement(form, false), RegistryTypeError);
}

}  // namespace
}  // namespace snibbet::test
