#include "visual/theme_binding.h"

#include <gtest/gtest.h>

#include "tests/unit/visual_fake_theme_api.h"

namespace snibbet {
namespace {

using testing::FakeThemeLibrary;

class ThemeBinding : public ::testing::Test {
 protected:
  void SetUp() override { FakeThemeLibrary::Reset(); }
  void TearDown() override { StopThemeManager(); }
};

void BroadcastThemeChange() {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(HWND_BROADCAST, WM_THEMECHANGED, 0, 0, SMTO_ABORTIFHUNG, 2000, &result);
}

TEST_F(ThemeBinding, SystemLibraryIsBoundWithAHiddenTopLevelReceiver) {
  StartThemeManager();
  EXPECT_TRUE(ThemeApiAvailable());
  ASSERT_TRUE(IsUxThemeLoaded());
  EXPECT_EQ(AreThemesUsable(), ThemesActive());
  const HWND receiver = ThemeChangeWindow();
  ASSERT_TRUE(IsWindow(receiver));
  EXPECT_FALSE(IsWindowVisible(receiver));
  EXPECT_EQ(GetAncestor(receiver, GA_PARENT), GetDesktopWindow());  // not message-only

  StopThemeManager();
  EXPECT_FALSE(IsWindow(receiver));
  EXPECT_FALSE(IsUxThemeLoaded());
  EXPECT_FALSE(ThemesActive());
}

TEST_F(ThemeBinding, MissingLibraryLeavesThemesOffAndEverythingSafe) {
  ThemeLibrarySource missing;
  missing.libraryName = L"SnibbetNoSuchThemeLibrary.dll";
  StartThemeManager(missing);
  EXPECT_FALSE(IsUxThemeLoaded());
  EXPECT_FALSE(ThemesActive());
  EXPECT_FALSE(AreThemesUsable());
  EXPECT_FALSE(AreThemesUsable(ThemeClassBit(ThemeClass::Button)));
  EXPECT_EQ(OpenThemeHandle(ThemeClass::Edit, L"Edit"), nullptr);
  EXPECT_EQ(CloseThemeHandle(ThemeClass::Edit), 1);
  CloseAllThemeHandles();
  ThemeNames names;
  EXPECT_FALSE(GetCurrentThemeNames(names));
  EXPECT_EQ(ThemeChangeWindow(), nullptr);
  EXPECT_EQ(AddThemeChangeListener([] {}), 0);
}

TEST_F(ThemeBinding, OpenHandlesAreKeptPerClassAndReopenedForANewName) {
  StartThemeManager(FakeThemeLibrary::Source());
  ASSERT_TRUE(ThemesActive());
  const HTHEME edit = OpenThemeHandle(ThemeClass::Edit, L"Edit");
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(OpenThemeHandle(ThemeClass::Edit, L"Edit"), edit);
  EXPECT_EQ(OpenThemeHandle(ThemeClass::Edit, L"EDIT"), edit);
  EXPECT_EQ(OpenThemeHandle(ThemeClass::Edit), edit);
  EXPECT_EQ(FakeThemeLibrary::opened, std::vector<std::wstring>{L"Edit"});

  const HTHEME other = OpenThemeHandle(ThemeClass::Edit, L"Explorer::Edit");
  EXPECT_NE(other, edit);
  EXPECT_EQ(FakeThemeLibrary::closed, std::vector<HTHEME>{edit});

  // Without a name a class opens under its own name.
  OpenThemeHandle(ThemeClass::TreeView);
  EXPECT_EQ(FakeThemeLibrary::opened.back(), L"TreeView");
  EXPECT_EQ(CloseThemeHandle(ThemeClass::TreeView), S_OK);
  EXPECT_EQ(CloseThemeHandle(ThemeClass::TreeView), 0);  // nothing open any more

  // Out-of-range classes are refused, not indexed.
  EXPECT_EQ(OpenThemeHandle(static_cast<ThemeClass>(24)), nullptr);
}

TEST_F(ThemeBinding, UsableOnlyWhenEveryAskedClassOpens) {
  StartThemeManager(FakeThemeLibrary::Source());
  EXPECT_TRUE(AreThemesUsable());
  EXPECT_TRUE(AreThemesUsable(ThemeClassBit(ThemeClass::Button) | ThemeClassBit(ThemeClass::Window)));
  EXPECT_EQ(FakeThemeLibrary::opened, (std::vector<std::wstring>{L"Button", L"Window"}));
  FakeThemeLibrary::failOpen = true;
  EXPECT_FALSE(AreThemesUsable(ThemeClassBit(ThemeClass::Header)));
  EXPECT_TRUE(AreThemesUsable(ThemeClassBit(ThemeClass::Button)));  // still open from before

  StopThemeManager();
  FakeThemeLibrary::Reset();
  FakeThemeLibrary::active = false;
  StartThemeManager(FakeThemeLibrary::Source());
  EXPECT_FALSE(ThemesActive());
  EXPECT_FALSE(AreThemesUsable());
  EXPECT_EQ(OpenThemeHandle(ThemeClass::Button), nullptr);
  EXPECT_TRUE(FakeThemeLibrary::opened.empty());
}

TEST_F(ThemeBinding, ThemeChangeBroadcastClosesHandlesRefreshesAndTellsListenersInOrder) {
  StartThemeManager(FakeThemeLibrary::Source());
  const HTHEME edit = OpenThemeHandle(ThemeClass::Edit, L"Explorer::Edit");
  ASSERT_NE(edit, nullptr);
  std::vector<int> calls;
  bool activeSeen = true;
  AddThemeChangeListener([&] {
    calls.push_back(1);
    activeSeen = ThemesActive();
  });
  const int second = AddThemeChangeListener([&] { calls.push_back(2); });
  EXPECT_NE(second, 0);

  FakeThemeLibrary::active = false;
  BroadcastThemeChange();
  EXPECT_EQ(calls, (std::vector<int>{1, 2}));
  EXPECT_FALSE(activeSeen);  // listeners see the new state
  EXPECT_FALSE(ThemesActive());
  EXPECT_EQ(FakeThemeLibrary::closed, std::vector<HTHEME>{edit});

  // Back on: the class opens again under the name it had.
  FakeThemeLibrary::active = true;
  RemoveThemeChangeListener(second);
  BroadcastThemeChange();
  EXPECT_EQ(calls, (std::vector<int>{1, 2, 1}));
  EXPECT_TRUE(ThemesActive());
  ASSERT_NE(OpenThemeHandle(ThemeClass::Edit), nullptr);
  EXPECT_EQ(FakeThemeLibrary::opened.back(), L"Explorer::Edit");
}

TEST_F(ThemeBinding, StoppingClosesEveryOpenHandle) {
  StartThemeManager(FakeThemeLibrary::Source());
  const HTHEME button = OpenThemeHandle(ThemeClass::Button);
  const HTHEME tab = OpenThemeHandle(ThemeClass::Tab);
  StopThemeManager();
  EXPECT_EQ(FakeThemeLibrary::closed, (std::vector<HTHEME>{button, tab}));
  EXPECT_EQ(ThemeChangeWindow(), nullptr);
}

TEST_F(ThemeBinding, CurrentThemeNamesComeFromTheLibrary) {
  StartThemeManager(FakeThemeLibrary::Source());
  ThemeNames names;
  ASSERT_TRUE(GetCurrentThemeNames(names));
  EXPECT_EQ(names.color, L"NormalColor");
  EXPECT_EQ(names.size, L"NormalSize");
  FakeThemeLibrary::failName = true;
  EXPECT_FALSE(GetCurrentThemeNames(names));
}

}  // namespace
}  // namespace snibbet
