// The keyboard window and its background window, shown on purpose (the
// program never offers them): the layout in the chosen colours, clicks,
// double clicks, gestures, sticky modifiers, dragging with the snap to the
// screen's edges, the caption buttons' clicks; and the caption bar's pixels.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "core/app_ini.h"
#include "core/foreground_state.h"
#include "core/lang_table.h"
#include "core/preset.h"
#include "keyboard/actions.h"
#include "keyboard/key_model.h"
#include "keyboard/key_painter.h"
#include "keyboard/keyboard_appearance_fill.h"
#include "keyboard/keyboard_background_form.h"
#include "keyboard/keyboard_caption.h"
#include "keyboard/keyboard_runtime.h"
#include "keyboard/main_keyboard_form.h"
#include "tests/unit/settings_fixture.h"
#include "tests/unit/input_records_support.h"
#include "ui/application.h"
#include "ui/gdi.h"
#include "ui/monitor.h"

namespace snibbet {
namespace {

// ---- the caption bar ----

class CaptionBar : public ::testing::Test {
 protected:
  static constexpr COLORREF kPaper = RGB(10, 200, 30), kCorner = RGB(1, 2, 3);
  static constexpr int kHeight = 24;

  CaptionBar() { look.frame = RGB(200, 0, 0), look.activeCaptionTop = RGB(0, 0, 250),
                 look.activeCaptionBottom = RGB(0, 0, 50), look.activeCaptionText = RGB(255, 255, 255),
                 look.inactiveCaptionTop = RGB(250, 250, 0), look.inactiveCaptionBottom = RGB(50, 50, 0); }

  // The bar drawn on plain paper, its pixels row by row.
  std::vector<COLORREF> Draw(int width, const std::wstring& caption, bool active = true) {
    ui::WindowDC screen;
    ui::MemoryDC dc(screen);
    ui::Bitmap bitmap(CreateCompatibleBitmap(screen, width, kHeight));
    ui::SelectedObject selected(dc, bitmap.Get());
    ui::Brush paper(CreateSolidBrush(kPaper));
    const RECT all{0, 0, width, kHeight};
    FillRect(dc, &all, paper.Get());
    const HGDIOBJ fontBefore = GetCurrentObject(dc, OBJ_FONT);
    DrawKeyboardCaption(dc, width, active, kCorner, caption, look);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), fontBefore) << "the font is not put back";
    std::vector<COLORREF> pixels;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < width; ++x) pixels.push_back(GetPixel(dc, x, y));
    return pixels;
  }
  static COLORREF At(const std::vector<COLORREF>& pixels, int width, int x, int y) {
    return pixels[static_cast<std::size_t>(y * width + x)];
  }

  KeyboardAppearance look;
};

TEST_F(CaptionBar, OutlineCornersAndGradient) {
  constexpr int w = 200;
  const std::vector<COLORREF> bar = Draw(w, L"");
  for (const POINT p : {POINT{0, 19}, POINT{0, 5}, POINT{1, 4}, POINT{3, 1}, POINT{5, 0}, POINT{100, 0},
                        POINT{w - 6, 0}, POINT{w - 4, 1}, POINT{w - 2, 3}, POINT{w - 1, 5}, POINT{w - 1, 19},
                        POINT{100, 19}})
    EXPECT_EQ(At(bar, w, p.x, p.y), RGB(200, 0, 0)) << p.x << "," << p.y;
  for (const POINT p : {POINT{1, 1}, POINT{2, 1}, POINT{1, 2}, POINT{w - 2, 1}, POINT{w - 3, 1}, POINT{w - 2, 2}})
    EXPECT_EQ(At(bar, w, p.x, p.y), kCorner) << p.x << "," << p.y;
  // Outside the rounded corners and below the bar the paper stays.
  for (const POINT p : {POINT{0, 0}, POINT{0, 3}, POINT{w - 1, 0}, POINT{w - 1, 2}, POINT{100, 20}})
    EXPECT_EQ(At(bar, w, p.x, p.y), kPaper) << p.x << "," << p.y;
  // Top to bottom from the upper to the lower colour.
  EXPECT_EQ(At(bar, w, 100, 1), RGB(0, 0, 250));
  EXPECT_EQ(At(bar, w, 100, 18), RGB(0, 0, 50));
  EXPECT_LT(GetBValue(At(bar, w, 100, 12)), GetBValue(At(bar, w, 100, 5)));
  const std::vector<COLORREF> inactive = Draw(w, L"", false);
  EXPECT_EQ(At(inactive, w, 100, 1), RGB(250, 250, 0));
  EXPECT_EQ(At(inactive, w, 100, 18), RGB(50, 50, 0));
}

TEST_F(CaptionBar, TextStaysClearOfTheButtonsAndANarrowBarHasNone) {
  constexpr int w = 120;
  const std::vector<COLORREF> plain = Draw(w, L"");
  const std::vector<COLORREF> text = Draw(w, L"A caption far too long for so short a bar, cut with an ellipsis");
  int changed = 0, maxX = 0, minX = w, minY = kHeight, maxY = 0;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < w; ++x) {
      if (At(plain, w, x, y) == At(text, w, x, y)) continue;
      ++changed;
      minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y), maxY = std::max(maxY, y);
    }
  }
  ASSERT_GT(changed, 20);
  EXPECT_GE(minX, 7);
  EXPECT_LT(maxX, w - kCaptionRightMargin);
  EXPECT_GE(minY, 3);
  EXPECT_LT(maxY, 18);
  // The text runs on to the end of its room: it was cut, not left short.
  EXPECT_GT(maxX, w - kCaptionRightMargin - 12);

  // Narrower than the margins: bar and outline, no text at all.
  for (const int narrow : {37, 36, 30, 12}) {
    EXPECT_EQ(Draw(narrow, L"Keyboard"), Draw(narrow, L"")) << narrow;
  }
}

TEST(KeyboardAppearanceFill, LineHeightIsMeasuredOnlyWithAViewAndNeverBelowSixteen) {
  KeyboardAppearance look;
  look.charFontSize = 6;
  FillKeyboardAppearance(look, nullptr, true);
  EXPECT_EQ(look.lineHeight, kMinLineHeight);
  look.charFontSize = 30;
  FillKeyboardAppearance(look, nullptr, true);
  EXPECT_GT(look.lineHeight, 30);
  FillKeyboardAppearance(look, nullptr, false);
  EXPECT_EQ(look.lineHeight, kMinLineHeight);
  // The caption colours come from the system's caption colours.
  EXPECT_EQ(look.activeCaptionText, GetSysColor(COLOR_CAPTIONTEXT));
}

TEST(KeyboardAppearanceFill, TheUsersOwnColoursMayNameSystemColours) {
  constexpr KeyColour kSystem = 0xFF000000u;
  UserColours own{};
  for (int i = 0; i < kUserColourCount; ++i) own[static_cast<std::size_t>(i)] = 0x010203u * static_cast<KeyColour>(i);
  own[8] = kSystem | COLOR_BTNFACE;      // face
  own[6] = kSystem | COLOR_WINDOWTEXT;   // frame
  own[0] = kSystem | COLOR_HIGHLIGHT;    // normal outline
  own[11] = kSystem | COLOR_GRAYTEXT;    // pressed name, and so the pressed character
  const KeySchemeColours user = SchemeKeyColours(9, own, SystemSchemeColours());
  EXPECT_EQ(user.face, GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(user.frame, GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(user.normal.outline, GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(user.pressed.name, GetSysColor(COLOR_GRAYTEXT));
  EXPECT_EQ(user.pressed.character, GetSysColor(COLOR_GRAYTEXT));
  EXPECT_EQ(user.normal.face, 0x010203u);  // a plain colour stays
  // Whatever the scheme, what reaches GDI is a plain colour.
  for (const int scheme : {0, 1, 2, 5, 9}) {
    const KeySchemeColours s = SchemeKeyColours(scheme, own, SystemSchemeColours());
    for (const KeyColour colour : {s.face, s.frame, s.normal.face, s.normal.outline, s.normal.name, s.normal.character,
                                   s.pressed.face, s.pressed.outline, s.pressed.name, s.highlighted.face,
                                   s.highlighted.outline, s.highlighted.name, s.highlighted.character})
      EXPECT_EQ(colour >> 24, 0u) << scheme << " " << std::hex << colour;
  }
}

// ---- the windows, shown ----

class RecordingPort : public KeyboardWindowPort {
 public:
  void PopUpTrayMenu(POINT screen) override { menus.push_back(screen); }
  bool SettingsWindowOpen() override { return true; }  // nothing saved by the buttons
  void CheckKeyboardTrayItem(bool checked) override { trayChecked = checked; }
  bool NoProgramWindowShown() override { return true; }
  void SendScreenKey(std::uint8_t code, ScreenMouseButton button) override {
    sent.push_back(code);
    buttons.push_back(button);
    if (typeIntoFocus) {
      INPUT keys[2]{};
      for (INPUT& key : keys) {
        key.type = INPUT_KEYBOARD;
        key.ki.wVk = code;
      }
      keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
      SendInput(2, keys, sizeof(INPUT));
    }
  }
  std::vector<POINT> menus;
  std::vector<std::uint8_t> sent;
  std::vector<ScreenMouseButton> buttons;
  bool trayChecked = false;
  bool typeIntoFocus = false;
};

class KeyboardWindow : public test::SettingsTest {
 protected:
  void SetUp() override {
    SettingsTest::SetUp();
    InitializePreset(AppIni());
    InitializeLanguages();
    ui::Application::Create({.title = L"Orvane Paste"});
    Preset().SetColorScheme(5);
    FillKeyboardAppearance(appearance, &Preset(), true);
    runtime.emplace();
    keyboard = &ui::Application::Get().CreateForm<TMainKeyboardForm>(WindowParts());
    background =
        &ui::Application::Get().CreateForm<TMainKeyboardBackgroundForm>(*keyboard, appearance, port, Foreground());
  }
  void TearDown() override {
    ui::Application::Destroy();
    runtime.reset();
    FinalizeLanguages();
    FinalizePreset();
    SettingsTest::TearDown();
  }

  // As the program makes them: on the settings and their store.
  KeyboardWindowParts WindowParts() {
    return {.model = runtime->Model(), .bindings = QvActions(), .appearance = appearance, .port = port,
            .settings = &Preset(), .store = &AppIni()};
  }

  void Pump(DWORD ms = 50) {
    const ULONGLONG end = GetTickCount64() + ms;
    do {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
      ui::Application::Get().ProcessMessages();
    } while (GetTickCount64() < end);
  }
  // A key's middle in the window's client coordinates.
  POINT MiddleOf(int code) {
    const KeyShape& points = runtime->Model().Button(code)->Linked()->Points();
    return {(points[0].x + points[1].x) / 2, (points[0].y + points[1].y) / 2};
  }
  POINT OnScreen(POINT client) const {
    ClientToScreen(keyboard->PictureBox().Handle(), &client);
    return client;
  }
  static void Mouse(POINT screen, DWORD flags) {
    SetCursorPos(screen.x, screen.y);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    if (flags) SendInput(1, &input, sizeof input);
  }
  void Click(POINT screen) {
    Mouse(screen, 0);
    Pump();
    Mouse(screen, MOUSEEVENTF_LEFTDOWN);
    Pump();
    Mouse(screen, MOUSEEVENTF_LEFTUP);
    Pump(100);
  }
  // The cursor to the caption, then the left button down there: a drag begins.
  POINT PressOnCaption() {
    const POINT start = OnScreen({200, 10});
    Mouse(start, 0);
    Pump();
    Mouse(start, MOUSEEVENTF_LEFTDOWN);
    Pump();
    return start;
  }
  void ShowAt(int left, int top) {
    keyboard->ShowNoActivate();
    SetWindowPos(keyboard->Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(background->Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump(200);
  }

  KeyboardAppearance appearance;
  RecordingPort port;
  std::optional<testing::ProgramKeyboardRuntime> runtime;
  TMainKeyboardForm* keyboard = nullptr;
  TMainKeyboardBackgroundForm* background = nullptr;
};

TEST_F(KeyboardWindow, StartsUnseenAndPaintsOnlyWhileShown) {
  const int top = keyboard->Top();
  PrepareKeyboardWindowsHidden(*keyboard);
  EXPECT_FALSE(keyboard->IsVisible());
  EXPECT_FALSE(background->IsVisible());
  EXPECT_EQ(keyboard->Top(), top);
  EXPECT_EQ(runtime->Model().LayoutName(), L"Standard");
  EXPECT_EQ(keyboard->Width(), 777);  // the built-in layout's size
  EXPECT_EQ(keyboard->Height(), 243);
  EXPECT_EQ(background->Width(), 777);
  // Hidden, the hook's key changes paint nothing, and the view has made no
  // picture for a window nobody has seen.
  EXPECT_FALSE(runtime->Model().Painting());
  EXPECT_EQ(keyboard->Painter().Width(), 0);
  EXPECT_FALSE(port.trayChecked);

  ShowAt(100, 100);
  EXPECT_TRUE(keyboard->IsVisible());
  EXPECT_TRUE(background->IsVisible());
  EXPECT_TRUE(runtime->Model().Painting());
  EXPECT_EQ(keyboard->Painter().Width(), 777);
  EXPECT_TRUE(port.trayChecked);
  keyboard->CloseButton().Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  keyboard->CloseButton().Send(WM_LBUTTONUP, 0, MAKELPARAM(16, 16));  // the edge counts as inside
  EXPECT_FALSE(keyboard->IsVisible());
  EXPECT_FALSE(background->IsVisible());
  EXPECT_FALSE(runtime->Model().Painting());
}

TEST_F(KeyboardWindow, ShowsTheLayoutInTheChosenSchemeAndAClickTypesTheKey) {
  ShowAt(60, 80);
  const HDC canvas = keyboard->Painter().Canvas();
  const POINT a = MiddleOf('A');
  EXPECT_EQ(GetPixel(canvas, a.x + 10, a.y + 10), 0x515151u);  // scheme 5's normal face
  EXPECT_EQ(GetPixel(canvas, 300, 63), kTransparentFaceColor);  // the face is see-through

  // A target with the focus; the keyboard window does not take it away.
  HWND target = CreateWindowExW(0, L"EDIT", L"", WS_POPUP | WS_VISIBLE | WS_BORDER, 60, 400, 300, 40, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(target, nullptr);
  SetForegroundWindow(target);
  SetFocus(target);
  Pump(200);
  port.typeIntoFocus = true;
  Click(OnScreen(a));
  EXPECT_EQ(port.sent, std::vector<std::uint8_t>{'A'});
  wchar_t typed[16] = {};
  GetWindowTextW(target, typed, 16);
  EXPECT_STREQ(typed, L"a");
  EXPECT_EQ(GetForegroundWindow(), target);
  EXPECT_EQ(keyboard->HeldKey(), 0);  // the release ends the repeat
  DestroyWindow(target);
}

TEST_F(KeyboardWindow, ADragOnTheCaptionMovesBothWindows) {
  ShowAt(60, 80);
  const POINT start = PressOnCaption();
  EXPECT_TRUE(keyboard->Dragging());
  for (int step = 1; step <= 4; ++step) {
    Mouse({start.x + 10 * step, start.y + 8 * step}, MOUSEEVENTF_MOVE);
    Pump(30);
  }
  Mouse({start.x + 40, start.y + 32}, MOUSEEVENTF_LEFTUP);
  Pump(100);
  EXPECT_FALSE(keyboard->Dragging());
  EXPECT_EQ(keyboard->Left(), 100);
  EXPECT_EQ(keyboard->Top(), 112);
  EXPECT_EQ(background->Left(), 100);
  EXPECT_EQ(background->Top(), 112);
  EXPECT_TRUE(port.sent.empty());
}

TEST_F(KeyboardWindow, GesturesStickyModifiersAndTheBackgroundsForwarding) {
  ShowAt(60, 80);
  Preset().SetUseGestures(true);
  Preset().SetSensitivityGestures(15);
  const POINT a = MiddleOf('A');
  const auto gesture = [&](int dx, int dy) {
    keyboard->PictureMouseDown(ScreenMouseButton::Left, a);
    keyboard->PictureMouseUp(ScreenMouseButton::Left, {a.x + dx, a.y + dy});
    return port.sent.back();
  };
  EXPECT_EQ(gesture(-20, 0), kVkBack);
  EXPECT_EQ(gesture(20, 0), kVkSpace);
  EXPECT_EQ(gesture(0, 20), kVkReturn);
  EXPECT_EQ(gesture(0, -20), 'A');
  EXPECT_EQ(port.buttons.back(), ScreenMouseButton::Right);  // up: the key as with the right button
  EXPECT_EQ(gesture(5, 0), 'A');
  EXPECT_EQ(port.buttons.back(), ScreenMouseButton::Left);
  Preset().SetUseGestures(false);

  // A modifier clicked stays down, clicked again it is let go.
  const POINT shift = MiddleOf(kVkLeftShift);
  keyboard->PictureMouseDown(ScreenMouseButton::Left, shift);
  keyboard->PictureMouseUp(ScreenMouseButton::Left, shift);
  EXPECT_TRUE(keyboard->Sticky(kVkLeftShift));
  runtime->Model().SetKeyPressed(kVkLeftShift, true);  // as the key the click sent shows it
  keyboard->PictureMouseDown(ScreenMouseButton::Left, shift);
  keyboard->PictureMouseUp(ScreenMouseButton::Left, shift);
  EXPECT_FALSE(keyboard->Sticky(kVkLeftShift));
  // The entry follows the model, not the last click: shown released, it sticks.
  runtime->Model().SetKeyPressed(kVkLeftShift, false);
  keyboard->PictureMouseDown(ScreenMouseButton::Left, shift);
  keyboard->PictureMouseUp(ScreenMouseButton::Left, shift);
  EXPECT_TRUE(keyboard->Sticky(kVkLeftShift));
  // A key held with the mouse lets go, on its release, of the sticky
  // modifiers shown down, and is shown released itself.
  runtime->Model().SetKeyPressed(kVkLeftShift, true);
  keyboard->PictureMouseDown(ScreenMouseButton::Left, a);
  runtime->Model().SetKeyPressed('A', true);
  keyboard->PictureMouseUp(ScreenMouseButton::Left, a);
  EXPECT_FALSE(keyboard->Sticky(kVkLeftShift));
  EXPECT_FALSE(runtime->Model().IsKeyPressed('A'));
  EXPECT_TRUE(runtime->Model().IsKeyPressed(kVkLeftShift)) << "the model's modifiers stay the hook's";
  runtime->Model().SetKeyPressed(kVkLeftShift, false);

  // Through the see-through face: the left button alone reaches the keyboard, with Ctrl nothing does.
  const POINT face{300, 63};
  background->Send(WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(face.x, face.y));
  EXPECT_FALSE(keyboard->Dragging());
  background->Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(face.x, face.y));
  EXPECT_TRUE(keyboard->Dragging());
  keyboard->PictureMouseUp(ScreenMouseButton::Left, face);
  // A right click on the background opens the tray menu where it was.
  background->Send(WM_RBUTTONUP, 0, MAKELPARAM(face.x, face.y));
  ASSERT_EQ(port.menus.size(), 1u);
  EXPECT_EQ(port.menus[0].x, background->Left() + face.x);
  EXPECT_EQ(port.menus[0].y, background->Top() + face.y);
}

TEST_F(KeyboardWindow, ADragSnapsToTheWorkAreasEdgeAndALeaveEndsIt) {
  ShowAt(30, 80);
  const RECT work = ui::MonitorWorkArea(keyboard->Handle());
  SetWindowPos(keyboard->Handle(), nullptr, work.left + 30, work.top + 80, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  const POINT start = PressOnCaption();
  ASSERT_TRUE(keyboard->Dragging());
  const auto moveTo = [&](int dx) {
    Mouse({start.x + dx, start.y}, MOUSEEVENTF_MOVE);
    Pump(30);
    return keyboard->Left() - work.left;
  };
  EXPECT_EQ(moveTo(-8), 22);
  EXPECT_EQ(moveTo(-16), 14);
  EXPECT_EQ(moveTo(-24), 0) << "six pixels from the edge: snapped";
  EXPECT_EQ(background->Left(), work.left);
  // Held at the edge, the cursor's way adds up until it pulls the window off.
  EXPECT_EQ(moveTo(-20), 0);
  EXPECT_EQ(moveTo(-12), 12);
  // Leaving the picture ends the drag as a release would.
  keyboard->PictureBox().Send(WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(keyboard->Dragging());
  EXPECT_NE(GetCapture(), keyboard->PictureBox().Handle());
  Mouse({start.x + 40, start.y}, MOUSEEVENTF_LEFTUP);
  Pump(100);
}

TEST_F(KeyboardWindow, ACaptionButtonPressedDraggedOffAndBackClicksOnce) {
  ShowAt(60, 80);
  TQvFormBtn& button = keyboard->AutoHideButton();
  int clicks = 0, leaves = 0;
  button.onClick = [&] { ++clicks; };
  button.onLeave = [&] { ++leaves; };
  // The real cursor rests on the button, so the system tells no leave of its own.
  POINT over{5, 5};
  ClientToScreen(button.Handle(), &over);
  SetCursorPos(over.x, over.y);
  const auto send = [&](UINT message, int x, int y) {
    button.Send(message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(x, y));
  };
  send(WM_MOUSEMOVE, 5, 5);
  EXPECT_TRUE(button.Hot());
  send(WM_LBUTTONDOWN, 5, 5);
  EXPECT_TRUE(button.Down());
  EXPECT_EQ(GetCapture(), button.Handle());
  // Off the button, held: at rest, and the moves it still gets never make it hot.
  send(WM_MOUSEMOVE, 30, 5);
  EXPECT_FALSE(button.Down());
  EXPECT_FALSE(button.Hot());
  button.Send(WM_MOUSELEAVE, 0, 0);
  send(WM_MOUSEMOVE, 40, 5);
  EXPECT_FALSE(button.Hot());
  EXPECT_EQ(leaves, 1);
  send(WM_MOUSEMOVE, 8, 8);
  EXPECT_TRUE(button.Hot());
  send(WM_LBUTTONUP, 8, 8);
  EXPECT_EQ(clicks, 1);
  EXPECT_NE(GetCapture(), button.Handle());
}

TEST_F(KeyboardWindow, DoubleClicksBringBothWindowsToFrontAndThePicturesAreSecondPresses) {
  ShowAt(60, 80);
  const POINT face{300, 63};
  for (const UINT message : {WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MBUTTONDBLCLK}) {
    Foreground().SetLastActivityTick(0);
    background->Send(message, message == WM_LBUTTONDBLCLK ? MK_LBUTTON : MK_RBUTTON, MAKELPARAM(face.x, face.y));
    EXPECT_NE(Foreground().LastActivityTick(), 0u) << message;
    // Brought to the front, but not passed on.
    EXPECT_FALSE(keyboard->Dragging()) << message;
  }
  EXPECT_TRUE(port.menus.empty());
  const POINT a = MiddleOf('A');
  keyboard->PictureBox().Send(WM_RBUTTONDBLCLK, MK_RBUTTON, MAKELPARAM(a.x, a.y));
  keyboard->PictureBox().Send(WM_RBUTTONUP, 0, MAKELPARAM(a.x, a.y));
  keyboard->PictureBox().Send(WM_MBUTTONDBLCLK, MK_MBUTTON, MAKELPARAM(a.x, a.y));
  keyboard->PictureBox().Send(WM_MBUTTONUP, 0, MAKELPARAM(a.x, a.y));
  EXPECT_EQ(port.sent, (std::vector<std::uint8_t>{'A', 'A'}));
  EXPECT_EQ(port.buttons, (std::vector<ScreenMouseButton>{ScreenMouseButton::Right, ScreenMouseButton::Middle}));
}

TEST_F(KeyboardWindow, APlaceOfAnotherTypeInTheSettingsKeyLeavesItOffScreen) {
  const wchar_t text[] = L"12";
  PutRaw(L"TMainKeyboardFormTop", REG_SZ, text, sizeof text);
  TMainKeyboardForm other(WindowParts());
  EXPECT_NO_THROW(other.Create());
  EXPECT_EQ(other.Top(), TMainKeyboardForm::kOffScreen);
  EXPECT_EQ(other.Left(), TMainKeyboardForm::kOffScreen);
  other.Destroy();
}

TEST_F(KeyboardWindow, AHeldKeyRepeatsAfterTheDelay) {
  ShowAt(60, 80);
  const POINT a = MiddleOf('A');
  const ULONGLONG pressed = GetTickCount64();
  keyboard->PictureMouseDown(ScreenMouseButton::Left, a);
  EXPECT_EQ(keyboard->HeldKey(), 'A');
  const int delay = keyboard->RepeatTiming().delayMs, interval = keyboard->RepeatTiming().intervalMs;
  Pump(static_cast<DWORD>(delay - 100));
  // A loaded machine may pump past the delay; only a repeat before it is wrong.
  if (GetTickCount64() - pressed < static_cast<ULONGLONG>(delay)) {
    EXPECT_EQ(port.sent.size(), 1u);
  }
  Pump(static_cast<DWORD>(200 + 5 * interval));
  EXPECT_GE(port.sent.size(), 3u);
  keyboard->PictureMouseUp(ScreenMouseButton::Left, a);
  const std::size_t count = port.sent.size();
  Pump(static_cast<DWORD>(3 * interval + 50));
  EXPECT_EQ(port.sent.size(), count);
}

}  // namespace
}  // namespace snibbet
