// A button and a size grip that the form draws itself look as the system's
// own controls of the program (common controls 6, with the visual style), and
// a button clicks only for a press and a release over it.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/unit/ui_test_support.h"
#include "tests/unit/window_pixels.h"
#include "ui/drawn_parts.h"
#include "ui/form.h"

namespace {

constexpr RECT kSystemButton{10, 10, 110, 34};
constexpr RECT kDrawnButton{10, 50, 110, 74};
constexpr RECT kSystemGrip{200, 10, 240, 50};
constexpr RECT kDrawnGrip{200, 60, 240, 100};

// The controls the program's manifest asks for, for the windows made while it is active.
class CommonControls6 {
 public:
  CommonControls6() {
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "drawn_parts_test.manifest";
    std::ofstream(file) << R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<assembly xmlns="urn:schemas-microsoft-com:asm.v1" manifestVersion="1.0"><dependency><dependentAssembly>
<assemblyIdentity type="win32" name="Microsoft.Windows.Common-Controls" version="6.0.0.0"
 processorArchitecture="*" publicKeyToken="6595b64144ccf1df" language="*"/>
</dependentAssembly></dependency></assembly>)";
    const std::wstring path = file.wstring();
    ACTCTXW context{};
    context.cbSize = sizeof(context);
    context.lpSource = path.c_str();
    context_ = CreateActCtxW(&context);
    if (context_ != INVALID_HANDLE_VALUE) ActivateActCtx(context_, &cookie_);
  }
  ~CommonControls6() {
    if (context_ == INVALID_HANDLE_VALUE) return;
    DeactivateActCtx(0, cookie_);
    ReleaseActCtx(context_);
  }
  bool Active() const { return context_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE context_ = INVALID_HANDLE_VALUE;
  ULONG_PTR cookie_ = 0;
};

class DrawnForm : public ui::Form {
 public:
  DrawnForm()
      : Form({.className = L"TDrawnPartsTestForm", .border = ui::BorderStyle::None, .left = 40, .top = 40,
              .clientWidth = 260, .clientHeight = 110, .alwaysOnTop = true, .noActivate = true}) {}
  ui::DrawnButton drawn{*this};
  int clicks = 0;

  // The system's button and grip beside the drawn ones.
  void MakeSystemControls() {
    const CommonControls6 controls;
    ASSERT_TRUE(controls.Active());
    system = CreateWindowExW(0, L"BUTTON", L"Paste", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, kSystemButton.left,
                             kSystemButton.top, kSystemButton.right - kSystemButton.left,
                             kSystemButton.bottom - kSystemButton.top, Handle(), nullptr, nullptr, nullptr);
    SendMessageW(system, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), FALSE);
    CreateWindowExW(0, L"SCROLLBAR", nullptr, WS_CHILD | WS_VISIBLE | SBS_SIZEGRIP | SBS_SIZEBOXBOTTOMRIGHTALIGN,
                    kSystemGrip.left, kSystemGrip.top, kSystemGrip.right - kSystemGrip.left,
                    kSystemGrip.bottom - kSystemGrip.top, Handle(), nullptr, nullptr, nullptr);
  }
  HWND system = nullptr;

 protected:
  void OnCreate() override {
    drawn.SetText(L"Paste");
    drawn.SetBounds(kDrawnButton);
    drawn.onClick = [this] { ++clicks; };
  }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_ERASEBKGND) {
      const LRESULT erased = Form::HandleMessage(message, wParam, lParam);
      const auto dc = reinterpret_cast<HDC>(wParam);
      drawn.Paint(dc);
      ui::PaintSizeGrip(Handle(), dc, kDrawnGrip);
      return erased;
    }
    if (const auto taken = drawn.HandleMessage(message, wParam, lParam)) return *taken;
    return Form::HandleMessage(message, wParam, lParam);
  }
};

class DrawnPartsTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form.Create();
    form.ShowNoActivate();
  }
  // The pixels of an area of the form's client area.
  std::vector<std::uint32_t> Area(const RECT& area) {
    const std::vector<std::uint32_t> all = PaintedPixels(form.Handle());
    RECT window{};
    GetWindowRect(form.Handle(), &window);
    const int width = window.right - window.left;
    std::vector<std::uint32_t> part;
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x) part.push_back(all[static_cast<std::size_t>(y) * width + x]);
    return part;
  }
  void Mouse(UINT message, int x, int y) {
    SendMessageW(form.Handle(), message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(x, y));
  }
  DrawnForm form;
};

TEST_F(DrawnPartsTest, LookAsTheSystemsButtonAndGripInEachState) {
  form.MakeSystemControls();
  EXPECT_EQ(DifferentPixels(Area(kDrawnButton), Area(kSystemButton)), 0u) << "at rest";
  EXPECT_EQ(DifferentPixels(Area(kDrawnGrip), Area(kSystemGrip)), 0u) << "grip";

  SendMessageW(form.system, BM_SETSTATE, TRUE, 0);
  Mouse(WM_LBUTTONDOWN, 20, 60);
  EXPECT_EQ(DifferentPixels(Area(kDrawnButton), Area(kSystemButton)), 0u) << "held down";
  Mouse(WM_MOUSEMOVE, 150, 60);  // held, the cursor off it: at rest
  SendMessageW(form.system, BM_SETSTATE, FALSE, 0);
  EXPECT_EQ(DifferentPixels(Area(kDrawnButton), Area(kSystemButton)), 0u) << "held, the cursor away";
  Mouse(WM_LBUTTONUP, 150, 60);
  EXPECT_EQ(form.clicks, 0);
}

TEST_F(DrawnPartsTest, OnlyAPressAndAReleaseOverTheButtonClick) {
  const std::vector<std::uint32_t> atRest = Area(kDrawnButton);
  Mouse(WM_LBUTTONDOWN, 20, 60);
  EXPECT_EQ(GetCapture(), form.Handle());
  EXPECT_NE(DifferentPixels(Area(kDrawnButton), atRest), 0u) << "shows pushed";
  Mouse(WM_LBUTTONUP, 100, 70);
  EXPECT_EQ(form.clicks, 1);
  EXPECT_EQ(GetCapture(), nullptr);
  Mouse(WM_MOUSEMOVE, 150, 90);
  EXPECT_EQ(DifferentPixels(Area(kDrawnButton), atRest), 0u) << "back at rest";

  Mouse(WM_LBUTTONDOWN, 20, 60);
  Mouse(WM_MOUSEMOVE, 20, 90);
  Mouse(WM_MOUSEMOVE, 30, 65);  // back over it before the release
  Mouse(WM_LBUTTONUP, 30, 65);
  EXPECT_EQ(form.clicks, 2);

  Mouse(WM_LBUTTONDOWN, 20, 40);  // beside it
  Mouse(WM_LBUTTONUP, 20, 60);
  EXPECT_EQ(form.clicks, 2);
  EXPECT_EQ(GetCapture(), nullptr);

  Mouse(WM_LBUTTONDOWN, 20, 60);
  ReleaseCapture();  // taken away, as by a menu
  Mouse(WM_LBUTTONUP, 20, 60);
  EXPECT_EQ(form.clicks, 2);
  Mouse(WM_MOUSEMOVE, 150, 90);
  EXPECT_EQ(DifferentPixels(Area(kDrawnButton), atRest), 0u) << "let go";
}

}  // namespace
