// The data module's tray: balloon counters in the settings key, the menu's
// items and captions, clicks on the icon, the addresses it opens and Exit.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/app_ini.h"
#include "core/lang_table.h"
#include "core/preset.h"
#include "core/tray_lookups.h"
#include "hub/data_module.h"
#include "hub/tray_port.h"
#include "keyboard/action_kinds.h"
#include "keyboard/actions.h"
#include "tests/host/keymodel_fakes.h"
#include "tests/unit/datamodule_test_support.h"
#include "tests/unit/settings_fixture.h"
#include "tests/unit/input_records_support.h"
#include "ui/application.h"
#include "ui/gdi.h"
#include "ui/standard_menu_painter.h"

namespace snibbet {
namespace {

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (ui::Application* app = ui::Application::Existing()) {
      app->ProcessMessage(msg);
    } else {
      DispatchMessageW(&msg);
    }
  }
}

// Notes the addresses the tray opens instead of opening them, and answers
// for the open windows when the program is to end.
class NotedAddresses : public ShellTrayPort {
 public:
  explicit NotedAddresses(std::vector<std::wstring>& opened) : opened_(opened) {}
  void OpenAddress(const std::wstring& address) override { opened_.push_back(address); }
  bool WindowsAllowExit() override {
    ++exitQuestions;
    return windowsAllowExit;
  }
  bool windowsAllowExit = true;
  int exitQuestions = 0;

 private:
  std::vector<std::wstring>& opened_;
};

// Counts the pop-up's openings; the rest is the program's.
class CountedPopup : public ProgramParts {
 public:
  explicit CountedPopup(int& requests) : ProgramParts(KeyHistory(), nullptr, nullptr), requests_(requests) {}
  void ShowTemplateView() override { ++requests_; }

 private:
  int& requests_;
};

class TrayModuleTest : public test::SettingsTest {
 protected:
  void SetUp() override {
    SettingsTest::SetUp();
    InitializePreset(AppIni());
    InitializeLanguages();
    ui::Application::Create({.title = L"Orvane Paste"});
  }
  void TearDown() override {
    QvActions().Clear();
    ui::Application::Destroy();
    FinalizeLanguages();
    FinalizePreset();
    SettingsTest::TearDown();
  }
  void PostToIcon(TDataDM& module, UINT mouseMessage) {
    PostMessageW(module.Tray().trayMain().Window(), kTrayCallbackMessage, 1, mouseMessage);
  }

  DataModuleOptions Options() {
    return {.hookLibrary = test::StandInLibrary(),
            .tray = &tray_,
            .parts = &parts_,
            .store = AppIniOrNull(),
            .settings = PresetOrNull()};
  }

  int popupRequests_ = 0;
  std::vector<std::wstring> opened_;
  NotedAddresses tray_{opened_};
  CountedPopup parts_{popupRequests_};
};

TEST_F(TrayModuleTest, BalloonCountersLiveInTheSettingsKey) {
  TDataDM module(testing::ProcessInputRecords(), Options());
  module.Tray().SetTrayIconVisible(true);

  module.Tray().ShowTipBalloon(L"FirstStart", 1, LangId(34), LangId(35), 5000);
  EXPECT_EQ(Get(L"FirstStart")->Dword(), 1u);
  EXPECT_EQ(module.Tray().CurrentBalloonName(), L"FirstStart");
  module.Tray().ShowTipBalloon(L"FirstStart", 1, LangId(34), LangId(35), 5000);
  EXPECT_EQ(Get(L"FirstStart")->Dword(), 1u) << "shown at most once";

  // A balloon that times out leaves its count; a click ends the tip for good.
  module.Tray().trayMainBalloonHide();
  module.Tray().trayMainBalloonClick();
  EXPECT_EQ(Get(L"FirstStart")->Dword(), 1u);
  module.Tray().ShowTipBalloon(L"FirstStart", 1, LangId(34), LangId(35), 5000);
  module.Tray().trayMainBalloonClick();
  EXPECT_EQ(Get(L"FirstStart")->Dword(), 1000u);
  EXPECT_TRUE(module.Tray().CurrentBalloonName().empty());

  for (int i = 0; i < 11; ++i) module.Tray().ShowTipBalloon(L"StartContextMenu", 10, LangId(0), LangId(35), 5000);
  EXPECT_EQ(Get(L"StartContextMenu")->Dword(), 10u);
}

TEST_F(TrayModuleTest, HiddenIconShowsOnlyForTheBalloon) {
  Preset().SetHideTrayIcon(true);
  TDataDM module(testing::ProcessInputRecords(), Options());
  module.Tray().ShowTipBalloon(L"FirstStart", 1, LangId(34), LangId(35), 5000);
  EXPECT_EQ(Get(L"FirstStart")->Dword(), 1u);
  EXPECT_FALSE(module.Tray().trayMain().InShell());
}

TEST_F(TrayModuleTest, MenuItemsInOrderWithTheirTexts) {
  // Texts of our own, so each caption shows which number it came from.
  for (int id : {29, 30, 567, 316, 104, 552, 321, 323}) Lang().SetText(id, L"T" + std::to_wstring(id));
  Lang().SetText(331, L"Templates");
  Lang().SetText(322, L"About %1");
  Lang().SetText(406, L"Help");
  TDataDM module(testing::ProcessInputRecords(), Options());
  module.ApplyLanguage();
  module.Tray().pmTrayPopup();
  const std::vector<std::wstring> shown = module.Tray().pmTray().ShownCaptions();
  ASSERT_EQ(shown.size(), 17u);
  EXPECT_EQ(shown[0], L"T30") << "inactive";
  EXPECT_EQ(shown[1], L"T567");
  EXPECT_EQ(shown[2], L"Templates");
  EXPECT_EQ(shown[3], L"-");
  EXPECT_EQ(shown[4], L"T316");
  EXPECT_EQ(shown[5], L"-");
  EXPECT_EQ(shown[6], L"T104");
  EXPECT_EQ(shown[7], L"  Help: Orvane Paste\tF1");
  EXPECT_EQ(shown[10], L"  T552");
  EXPECT_EQ(shown[13], L"  T321");
  EXPECT_EQ(shown[14], L"About Orvane Paste");
  EXPECT_EQ(shown[15], L"-");
  EXPECT_EQ(shown[16], L"T323");

  ASSERT_TRUE(module.Switch().Start());
  EXPECT_EQ(module.Tray().pmTray().Item(L"pmiActive").caption, L"T29");
  EXPECT_EQ(module.Tray().pmTray().Item(L"pmiActive").imageIndex, 8);
  EXPECT_TRUE(module.Tray().pmTray().Item(L"pmiShowTemplatesManager").enabled);
  ASSERT_TRUE(module.Switch().Stop());
  EXPECT_EQ(module.Tray().pmTray().Item(L"pmiActive").imageIndex, 7);
  EXPECT_FALSE(module.Tray().pmTray().Item(L"pmiShowTemplatesManager").enabled);
}

TEST_F(TrayModuleTest, EachTemplateHotkeyAddsItsShortcutAfresh) {
  Lang().SetText(331, L"Templates");
  TDataDM module(testing::ProcessInputRecords(), Options());
  for (int key : {VK_SPACE, int{'T'}}) {
    TQvAction* binding = QvActions().Add(static_cast<std::uint8_t>(key), kLeftWinBit);
    ASSERT_NE(binding, nullptr);
    binding->SetKind(8);
    binding->SetParam(1);
  }
  module.Tray().pmTrayPopup();
  const std::wstring first = module.Tray().pmTray().Item(L"pmiShowTemplatesManager").caption;
  EXPECT_EQ(first.rfind(L"Templates (", 0), 0u) << first;
  EXPECT_EQ(std::count(first.begin(), first.end(), L'('), 2) << first;
  module.Tray().pmTrayPopup();
  EXPECT_EQ(module.Tray().pmTray().Item(L"pmiShowTemplatesManager").caption, first) << "reopening starts from the plain text";
}

TEST_F(TrayModuleTest, ARightToLeftMenuKeepsItsCaptionsAsTheyAre) {
  Lang().SetText(331, L"Templates");
  DataModuleOptions options = Options();
  options.trayMenuRightToLeft = [] { return true; };
  TDataDM module(testing::ProcessInputRecords(), options);
  TQvAction* binding = QvActions().Add(VK_SPACE, kLeftWinBit);
  ASSERT_NE(binding, nullptr);
  binding->SetKind(8);
  binding->SetParam(1);
  module.Tray().pmTray().Item(L"pmiShowTemplatesManager").caption = L"As shown";
  Preset().SetSoundEnabled(true);
  module.Tray().pmTrayPopup();
  EXPECT_EQ(module.Tray().pmTray().Item(L"pmiShowTemplatesManager").caption, L"As shown");
  EXPECT_TRUE(module.Tray().pmTray().Item(L"pmiSoundEnabled").checked) << "the check follows the setting all the same";
}

TEST_F(TrayModuleTest, TheFlagIsOfTheLayoutTheKeyModelTypesIn) {
  const std::wstring program = test::ProgramDirFromEnvironment() + L"Snibbet.exe";
  HMODULE pictures =
      LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(pictures, nullptr);
  {
    testing::FakeLayouts layouts;
    testing::FakeInput input;
    CharTableCache tables;
    TQvKeyboard model{layouts, input, &tables};
    Preset().SetShowLangIcon(true);
    DataModuleOptions options = Options();
    options.pictures = pictures;
    options.keyModel = &model;
    TDataDM module(testing::ProcessInputRecords(), options);
    ASSERT_TRUE(module.Switch().Start());

    // The window in front types French; the program's own thread does not.
    const LayoutHandle french = 0x040C040C;
    ASSERT_NE(reinterpret_cast<LayoutHandle>(GetKeyboardLayout(0)) & 0x3FF, french & 0x3FF);
    model.SetLayout(french);
    module.Tray().UpdateTrayIcon();
    EXPECT_EQ(module.Tray().ShownTrayPicture(), (TrayPicture{.flag = true, .image = LayoutToFlagIndex(french)}));

    ASSERT_TRUE(module.Switch().Stop());
    EXPECT_FALSE(module.Tray().ShownTrayPicture().flag);
  }
  FreeLibrary(pictures);
}

// The places of the items of the next menu that opens, read from its window
// once it shows; then the menu is closed.
std::vector<RECT> g_menuItemRects;

void ReadItemRectsOfNextMenu() {
  g_menuItemRects.clear();
  SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
    HWND window = FindWindowW(L"#32768", nullptr);
    if (!window || !IsWindowVisible(window)) return;
    KillTimer(nullptr, id);
    HMENU menu = reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0));
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      RECT rect{};
      GetMenuItemRect(nullptr, menu, i, &rect);
      g_menuItemRects.push_back(rect);
    }
    PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
  });
}

int MenuTextWidth(std::wstring_view text) {
  ui::MenuFonts fonts;
  ui::WindowDC screen;
  ui::SelectedObject font(screen, fonts.Get(false));
  return ui::MenuTextSize(screen, text).cx;
}

TEST_F(TrayModuleTest, EveryItemFitsItsCaptionAndShortcutInEitherLook) {
  TQvAction* binding = QvActions().Add(VK_SPACE, kLeftWinBit);  // the default template hotkey
  ASSERT_NE(binding, nullptr);
  binding->SetKind(8);
  binding->SetParam(1);
  TDataDM module(testing::ProcessInputRecords(), Options());
  for (PopupMenuStyle style : {PopupMenuStyle::Standard, PopupMenuStyle::XP}) {
    module.Tray().pmTray().SetStyle(style);
    ReadItemRectsOfNextMenu();
    module.Tray().pmTray().Menu().Popup({40, 40}, module.Tray().trayMain().Window());
    const std::vector<RECT>& rects = g_menuItemRects;
    std::vector<const ui::MenuItem*> shown;
    for (const auto& item : module.Tray().pmTray().Menu().Items()) {
      if (item->visible) shown.push_back(item.get());
    }
    ASSERT_EQ(rects.size(), shown.size());
    for (size_t i = 0; i < shown.size(); ++i) {
      const std::wstring& caption = shown[i]->caption;
      if (shown[i]->IsSeparator()) continue;
      const ui::MenuCaptionParts parts = ui::SplitMenuCaption(caption);
      int needed = MenuTextWidth(parts.text) + MenuTextWidth(parts.shortcut) + (parts.shortcut.empty() ? 0 : 8);
      // Beside the text: the picture column on the left, the sub-menu arrow on the right.
      needed += 20 + 16;
      EXPECT_GE(rects[i].right - rects[i].left, needed) << "cut off: " << caption;
    }
    EXPECT_EQ(shown[2]->caption, L"Templates (Win+Space)");
  }
}

TEST_F(TrayModuleTest, DoubleClickOpensThePopupOnceAndRightButtonNever) {
  TDataDM module(testing::ProcessInputRecords(), Options());
  PostToIcon(module, WM_LBUTTONUP);
  PostToIcon(module, WM_LBUTTONDBLCLK);
  PostToIcon(module, WM_LBUTTONUP);
  Pump();
  EXPECT_EQ(popupRequests_, 1);

  PutDword(L"AccessDenied", 1);
  Preset().Load();
  PostToIcon(module, WM_LBUTTONUP);
  Pump();
  EXPECT_EQ(popupRequests_, 1) << "the menu lock keeps the icon's click";
}

TEST_F(TrayModuleTest, AddressesOpenedByTheMenu) {
  TDataDM module(testing::ProcessInputRecords(), Options());
  module.Tray().pmTray().Item(L"pmiMail").onClick();
  module.Tray().pmTray().Item(L"pmiWWW").onClick();
  module.Tray().pmTray().Item(L"pmiForum").onClick();
  ASSERT_EQ(opened_.size(), 3u);
  EXPECT_EQ(opened_[0].rfind(L"mailto:support@orvanesoftware.com?subject=Orvane%20Paste%20", 0), 0u) << opened_[0];
  EXPECT_EQ(opened_[0].find(L' '), std::wstring::npos) << opened_[0];
  EXPECT_EQ(opened_[1].rfind(L"http://", 0), 0u);
}

TEST_F(TrayModuleTest, ExitSwitchesOffThenEndsTheLoopUnlessLocked) {
  TDataDM module(testing::ProcessInputRecords(), Options());
  PutDword(L"AccessDenied", 1);
  Preset().Load();
  ASSERT_TRUE(module.Switch().Start());
  module.Tray().pmiCloseClick();
  EXPECT_TRUE(module.Switch().Active());
  EXPECT_FALSE(ui::Terminated());

  PutDword(L"AccessDenied", 0);
  Preset().Load();
  module.Tray().pmiCloseClick();
  EXPECT_FALSE(module.Switch().Active());
  EXPECT_FALSE(module.Switch().HookLib().Loaded());
  EXPECT_TRUE(ui::Terminated());
}

// A window with unsaved work has its say before Exit and before the session ends.
TEST_F(TrayModuleTest, ExitAndTheSessionEndWaitForTheOpenWindowsToAgree) {
  TDataDM module(testing::ProcessInputRecords(), Options());
  ASSERT_TRUE(module.Switch().Start());
  tray_.windowsAllowExit = false;
  module.Tray().pmiCloseClick();
  EXPECT_EQ(tray_.exitQuestions, 1);
  EXPECT_TRUE(module.Switch().Active()) << "switched off though the program goes on";
  EXPECT_FALSE(ui::Terminated());
  EXPECT_EQ(SendMessageW(ui::ApplicationWindow(), WM_QUERYENDSESSION, 0, 0), FALSE);
  EXPECT_EQ(tray_.exitQuestions, 2);

  tray_.windowsAllowExit = true;
  EXPECT_EQ(SendMessageW(ui::ApplicationWindow(), WM_QUERYENDSESSION, 0, 0), TRUE);
  EXPECT_TRUE(module.Switch().Active()) << "only asked: the session's end is the system's";
  module.Tray().pmiCloseClick();
  EXPECT_EQ(tray_.exitQuestions, 4);
  EXPECT_FALSE(module.Switch().Active());
  EXPECT_TRUE(ui::Terminated());
}

TEST_F(TrayModuleTest, LanguageRebuildsTheBindingKinds) {
  TDataDM module(testing::ProcessInputRecords(), Options());
  Lang().SetText(213, L"Windows of %1");
  Lang().SetText(323, L"Beenden");
  module.ApplyLanguage();
  ASSERT_EQ(KindCatalogue().Rows().size(), 15u);
  EXPECT_EQ(KindCatalogue().Rows()[6].name, L"Windows of Orvane Paste");
  EXPECT_EQ(KindCatalogue().Rows()[6].subCommands.size(), 8u);
  EXPECT_EQ(module.Tray().pmTray().Item(L"pmiClose").caption, L"Beenden");
}

}  // namespace
}  // namespace snibbet
