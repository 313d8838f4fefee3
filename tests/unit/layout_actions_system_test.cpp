// The selection converted in a real EDIT through the real clipboard and
// monitor, with the user's clipboard back afterwards; the system's case
// mapping and key characters under the layout actions.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "core/foreground_state.h"
#include "keyboard/key_history.h"
#include "keyboard/key_model.h"
#include "keyboard/system_keyboard.h"
#include "keyboard/system_layout_actions.h"
#include "tests/unit/clipmon_test_support.h"
#include "tests/unit/tags_test_window.h"

namespace snibbet {
namespace {

using testing::Bytes;
using testing::ClipboardBytes;

class ConvertSelection : public test::ClipmonTest {
 protected:
  void SetUp() override {
    ClipmonTest::SetUp();
    monitor = &MakeMonitor();
    customFormat = RegisterClipboardFormatW(L"Layout Actions Test Bytes");
    testing::SetClipboardDirectly({{CF_UNICODETEXT, testing::WideBytes(L"the user's text")}, {customFormat, binary}});
    PumpFor(100);  // the change notification passes before the action starts
    window = std::make_unique<testing::TagTestWindow>(L"EDIT", ES_AUTOHSCROLL);
  }
  void TearDown() override {
    window.reset();
    ClipmonTest::TearDown();
  }

  // Converts the selection, then lets the paste and the restore reach the windows.
  void Convert(int mode) {
    ASSERT_TRUE(window->InFront()) << "the cut would go elsewhere";
    actions.Actions().ConvertSelectedText(mode);
    PumpFor(100);
  }
  bool UserClipboardBack() const {
    return ClipboardText() == L"the user's text" && ClipboardBytes(customFormat) == binary;
  }

  TQvClipboardMonitor* monitor = nullptr;
  UINT customFormat = 0;
  Bytes binary{7, 0, 0xFE, 1};
  std::unique_ptr<testing::TagTestWindow> window;
  SystemKeyboardLayouts layouts;
  SystemKeyInput input;
  TQvKeyboard model{layouts, input};
  TKeyHistory history;
  ForegroundState foreground;
  SystemLayoutActions actions{model, history, foreground, nullptr, &monitorRecord,
                              [this](LayoutHandle layout) { model.SetLayout(layout); }};
};

TEST_F(ConvertSelection, TheSelectionIsReplacedByItsConversionAndTheUserClipboardReturns) {
  window->Reset(L"say hello WORLD. again! ok");
  window->Select(4, 23);
  Convert(kCaseSentence);
  EXPECT_EQ(window->Text(), L"say Hello world. Again! ok");
  EXPECT_TRUE(PumpUntil([&] { return UserClipboardBack(); }, 2000)) << "clipboard: " << ::testing::PrintToString(ClipboardText());
  EXPECT_TRUE(monitor->Monitoring());
}

TEST_F(ConvertSelection, LettersBeyondAsciiFollowTheSystemsCaseMapping) {
  window->Reset(L"gr\u00FC\u00DFe \u0436\u0443\u043A aBc");
  window->Select(0, 13);
  Convert(kCaseUpper);
  EXPECT_EQ(window->Text(), L"GR\u00DC\u00DFE \u0416\u0423\u041A ABC");

  window->Select(0, 13);
  Convert(kCaseSwap);
  EXPECT_EQ(window->Text(), L"gr\u00FC\u00DFe \u0436\u0443\u043A abc");
  EXPECT_TRUE(PumpUntil([&] { return UserClipboardBack(); }, 2000));
}

TEST_F(ConvertSelection, NothingSelectedLeavesTheTextAndTheClipboardAsTheyWere) {
  window->Reset(L"untouched");
  Convert(kCaseUpper);
  EXPECT_EQ(window->Text(), L"untouched");
  EXPECT_TRUE(PumpUntil([&] { return UserClipboardBack(); }, 2000));
}

TEST(SystemLayoutChars, KeysOfTheUsLayoutAndTheirCharacters) {
  SystemKeyboardLayouts layouts;
  const std::vector<LayoutHandle> installed = layouts.InstalledLayouts();
  const LayoutHandle us = layouts.LoadLayout(kUsEnglishLayoutName);
  ASSERT_NE(us, 0u);
  SystemLayoutChars chars;
  EXPECT_EQ(chars.KeyScan(L'a', us), int{'A'});
  EXPECT_EQ(chars.KeyScan(L'A', us), int{'A'} | (kScanShift << 8));
  EXPECT_EQ(chars.KeyScan(L'!', us), int{'1'} | (kScanShift << 8));
  EXPECT_EQ(chars.KeyScan(L'\u4E2D', us), kNoKeyForChar);

  KeyStateBytes state{};
  state[VK_SHIFT] = 0x81;
  const KeyChars typed = chars.KeyCharacters('1', state, us);
  EXPECT_EQ(typed.count, 1);
  EXPECT_EQ(typed.chars, L"!");
  EXPECT_EQ(chars.KeyCharacters(VK_LSHIFT, KeyStateBytes{}, us).count, 0);

  MonitorPasteSteps clipboard(nullptr);
  EXPECT_FALSE(clipboard.MonitorPresent());  // no monitor in this test
  const ForegroundState foreground;
  SystemLayoutSwitchPorts ports(foreground, nullptr, nullptr);
  SystemKeyInput input;
  TQvKeyboard model(layouts, input);
  SystemLayoutSwitcher switcher(ports, model);
  EXPECT_GE(switcher.CountLayouts(), 1);
  if (std::find(installed.begin(), installed.end(), us) == installed.end()) layouts.UnloadLayout(us);
}

}  // namespace
}  // namespace snibbet
