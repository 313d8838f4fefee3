// The keyboard window's rules: the key repeat from the user's settings,
// gestures on keys, the background picture's tiles, the title buttons'
// states and clicks, the snap to the screen's edges, and the colour schemes
// of the keyboard appearance.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "keyboard/keyboard_appearance.h"
#include "keyboard/keyboard_window_rules.h"

namespace snibbet {
namespace {

TEST(KeyRepeat, FollowsTheUsersDelayAndSpeed) {
  EXPECT_EQ(KeyRepeatTimingFrom(L"1", L"31"), (KeyRepeatTiming{500, 24}));
  EXPECT_EQ(KeyRepeatTimingFrom(L"3", L"0"), (KeyRepeatTiming{1000, 157}));  // speed 0 counts as 1
  EXPECT_EQ(KeyRepeatTimingFrom(L"0", L"2"), (KeyRepeatTiming{250, 193}));   // 3000 / (7.5 + 8), truncated
  // Not there or not a number: the defaults, and a bad delay stops the reading.
  EXPECT_EQ(KeyRepeatTimingFrom(L"x", L"y"), (KeyRepeatTiming{500, 24}));
  EXPECT_EQ(KeyRepeatTimingFrom(std::nullopt, std::nullopt), (KeyRepeatTiming{500, 24}));
  EXPECT_EQ(KeyRepeatTimingFrom(L"x", L"0"), (KeyRepeatTiming{500, 24}));
  EXPECT_EQ(KeyRepeatTimingFrom(L"2", L"3 "), (KeyRepeatTiming{750, 24}));
}

TEST(KeyRepeat, ValuesOutsideTheSystemsRangesTakeTheNearestEnd) {
  // Unclamped, these gave negative delays and intervals.
  EXPECT_EQ(KeyRepeatTimingFrom(L"-5", L"-4"), (KeyRepeatTiming{250, 157}));
  EXPECT_EQ(KeyRepeatTimingFrom(L"9", L"1000"), (KeyRepeatTiming{1000, 24}));
  for (const wchar_t* speed : {L"-100", L"-1", L"0", L"15", L"31", L"32", L"99999999999"}) {
    const KeyRepeatTiming timing = KeyRepeatTimingFrom(L"1", speed);
    EXPECT_GT(timing.intervalMs, 0) << speed;
    EXPECT_LE(timing.intervalMs, 157) << speed;
  }
}

TEST(Gestures, DirectionDecidesTheKey) {
  // Sensitivity 15: a gesture needs 16 pixels.
  EXPECT_EQ(GestureThreshold(15), 16);
  EXPECT_EQ(DecideGesture(20, 0, 15), GestureResult::Backspace);  // moved 20 to the left
  EXPECT_EQ(DecideGesture(-20, 3, 15), GestureResult::Space);
  EXPECT_EQ(DecideGesture(0, -20, 15), GestureResult::Enter);     // moved down
  EXPECT_EQ(DecideGesture(2, 20, 15), GestureResult::KeyAsRightClick);
  EXPECT_EQ(DecideGesture(5, 0, 15), GestureResult::KeyItself);
  EXPECT_EQ(DecideGesture(15, -15, 15), GestureResult::KeyItself);
  // The threshold counts; a diagonal goes to the horizontal.
  EXPECT_EQ(DecideGesture(16, 0, 15), GestureResult::Backspace);
  EXPECT_EQ(DecideGesture(-20, 20, 15), GestureResult::Space);
  EXPECT_EQ(DecideGesture(1, 0, 30), GestureResult::Backspace);  // the most sensitive: one pixel
}

TEST(BackgroundTiles, CoverTheWindowFromBelowTheCaption) {
  const std::vector<TileOrigin> withCaption = BackgroundTileOrigins(100, 60, 40, 30, true);
  const std::vector<TileOrigin> expected{{1, 20}, {1, 50}, {41, 20}, {41, 50}, {81, 20}, {81, 50}};
  EXPECT_EQ(withCaption, expected);
  const std::vector<TileOrigin> without = BackgroundTileOrigins(100, 60, 40, 30, false);
  ASSERT_EQ(without.size(), 6u);
  EXPECT_EQ(without.front(), (TileOrigin{1, 1}));
  EXPECT_EQ(without.back(), (TileOrigin{81, 31}));
  // The last column and row start at most at the window's edge.
  EXPECT_EQ(BackgroundTileOrigins(41, 31, 40, 30, false).back(), (TileOrigin{41, 31}));
  EXPECT_TRUE(BackgroundTileOrigins(100, 60, 0, 30, false).empty());
  EXPECT_TRUE(BackgroundTileOrigins(100, 10, 40, 30, true).empty());
}

TEST(TitleButton, StatesFollowTheMouse) {
  using E = TitleButtonEvent;
  const TitleButtonState rest{}, hot{false, true}, down{true, false};
  EXPECT_EQ(NextTitleButtonState(rest, E::Enter), hot);
  EXPECT_EQ(NextTitleButtonState(down, E::Enter), hot);
  EXPECT_EQ(NextTitleButtonState(hot, E::Leave), rest);
  EXPECT_EQ(NextTitleButtonState(down, E::Leave), rest);
  EXPECT_EQ(NextTitleButtonState(hot, E::LeftDown), down);
  EXPECT_EQ(NextTitleButtonState(hot, E::OtherDown), hot);
  EXPECT_EQ(NextTitleButtonState(down, E::OtherDown), down);
  // Released inside, the edges included, it stays hot; outside it is at rest.
  EXPECT_EQ(NextTitleButtonState(down, E::Up, 16, 16, 16, 16), hot);
  EXPECT_EQ(NextTitleButtonState(down, E::Up, 0, 0, 16, 16), hot);
  EXPECT_EQ(NextTitleButtonState(down, E::Up, 17, 5, 16, 16), rest);
  EXPECT_EQ(NextTitleButtonState(down, E::Up, 5, -1, 16, 16), rest);
}

TEST(TitleButton, ClickedOnlyByAPressReleasedOverItAndNeverHotOffIt) {
  using M = TitleButtonMouse;
  const TitleButtonState rest{}, hot{false, true};
  M mouse;
  EXPECT_EQ(mouse.Move(5, 5, 16, 16), M::kEntered);
  mouse.Down(true);
  // Dragged off, held: left once; the moves it gets off the button and the system's leave change nothing.
  EXPECT_EQ(mouse.Move(16, 5, 16, 16), M::kLeft);
  EXPECT_EQ(mouse.Move(-3, 5, 16, 16) | mouse.Leave(), M::kNone);
  EXPECT_EQ(mouse.State(), rest);
  // Released off the button: no click, and the next move over it enters it.
  EXPECT_EQ(mouse.Up(true, 30, 3, 16, 16), M::kNone);
  EXPECT_EQ(mouse.Move(3, 3, 16, 16), M::kEntered);
  // The right button neither presses nor clicks; a lost capture ends the press.
  mouse.Down(false);
  EXPECT_EQ(mouse.Up(false, 3, 3, 16, 16), M::kNone);
  mouse.Down(true);
  mouse.CaptureLost();
  EXPECT_EQ(mouse.Up(true, 3, 3, 16, 16), M::kNone);
  // Released on the edge pixel after a press: a click, and it stays hot.
  mouse.Down(true);
  EXPECT_EQ(mouse.Up(true, 16, 16, 16, 16), M::kClicked);
  EXPECT_EQ(mouse.State(), hot);
}

TEST(ScreenSnap, EdgesWithinTenPixelsOfTheWorkAreaSnapToIt) {
  const ScreenBox work{0, 0, 1024, 738};
  const auto at = [&](int left, int top) { return SnapToWorkArea({left, top, left + 300, top + 200}, work); };
  EXPECT_EQ(at(100, 100), (ScreenPoint{100, 100}));
  EXPECT_EQ(at(10, 100), (ScreenPoint{0, 100}));
  EXPECT_EQ(at(11, 100), (ScreenPoint{11, 100}));
  EXPECT_EQ(at(-10, -7), (ScreenPoint{0, 0}));
  EXPECT_EQ(at(-11, 100), (ScreenPoint{-11, 100}));
  EXPECT_EQ(at(730, 530), (ScreenPoint{724, 538}));  // right and bottom
  EXPECT_EQ(at(714, 100), (ScreenPoint{724, 100}));  // ten pixels still snap
  EXPECT_EQ(at(713, 100), (ScreenPoint{713, 100}));
  // A work area that does not start at 0 (a taskbar on the left or on top).
  EXPECT_EQ(SnapToWorkArea({45, 35, 345, 235}, {40, 30, 1024, 768}), (ScreenPoint{40, 30}));
  // A window as wide as the work area goes to the left edge.
  EXPECT_EQ(SnapToWorkArea({5, 100, 1029, 300}, work), (ScreenPoint{0, 100}));
}

// The user's own colours, each one telling where it went.
UserColours NumberedUserColours() {
  UserColours own{};
  for (int i = 0; i < kUserColourCount; ++i) own[static_cast<std::size_t>(i)] = static_cast<KeyColour>(i + 1);
  return own;
}

SchemeColourSource FakeSystem() {
  SchemeColourSource source;
  source.systemColour = [](int index) { return static_cast<KeyColour>(0x010000 * index); };
  source.officeColour = [](int entry) { return static_cast<KeyColour>(0x000100 * entry); };
  source.lightHighlight = 0x111111;
  source.paleHighlight = 0x222222;
  return source;
}

// Each scheme number shows a look of its own, any number outside them the
// user's own colours, and a pressed key's character always shows like its name.
TEST(ColourSchemes, EachNumberItsOwnLookAndTheRestTheUsers) {
  const UserColours own = NumberedUserColours();
  const KeySchemeColours user = SchemeKeyColours(42, own, FakeSystem());
  EXPECT_EQ(user.face, 9u);
  EXPECT_EQ(user.frame, 7u);
  EXPECT_EQ(user.normal, (KeyColours{2, 1, 8, 3}));
  EXPECT_EQ(user.pressed, (KeyColours{6, 5, 12, 12}));  // the pressed character is the pressed name colour
  EXPECT_EQ(user.highlighted, (KeyColours{11, 10, 4, 13}));
  EXPECT_EQ(SchemeKeyColours(9, own, FakeSystem()), user);
  EXPECT_EQ(SchemeKeyColours(-1, own, FakeSystem()), user);

  std::vector<KeySchemeColours> looks{user};
  for (int scheme = 0; scheme <= 8; ++scheme) {
    SCOPED_TRACE(scheme);
    const KeySchemeColours colours = SchemeKeyColours(scheme, own, FakeSystem());
    EXPECT_EQ(colours.pressed.character, colours.pressed.name);
    EXPECT_EQ(std::count(looks.begin(), looks.end(), colours), 0) << "looks like another scheme";
    looks.push_back(colours);
  }
}

TEST(ColourSchemes, SystemAndOfficeSchemesTakeTheirSources) {
  const KeySchemeColours system = SchemeKeyColours(1, NumberedUserColours(), FakeSystem());
  EXPECT_EQ(system.face, 0x150000u);  // system colour 21
  EXPECT_EQ(system.frame, 0u);
  EXPECT_EQ(system.normal, (KeyColours{0x0F0000, 0x080000, 0x080000, 0xFF0000}));
  EXPECT_EQ(system.pressed, (KeyColours{0x111111, 0x001000, 0x050000, 0x050000}));
  EXPECT_EQ(system.highlighted, (KeyColours{0x222222, 0x001000, 0x080000, 0xFF0000}));

  const KeySchemeColours office = SchemeKeyColours(2, NumberedUserColours(), FakeSystem());
  EXPECT_EQ(office.face, 0x002700u);  // entry 39
  EXPECT_EQ(office.frame, 0x002500u);
  EXPECT_EQ(office.normal, (KeyColours{0x002600, 0x002500, 0x001E00, 0xFF0000}));
  EXPECT_EQ(office.pressed, (KeyColours{0x001900, 0x001500, 0x001E00, 0x001E00}));
  EXPECT_EQ(office.highlighted, (KeyColours{0x001700, 0x001500, 0x001E00, 0xFF0000}));
}

}  // namespace
}  // namespace snibbet
