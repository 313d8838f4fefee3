// The template hotkey: the setting in the store becomes the one binding of the
// binding list at every load, and its text names the keys.
#include "keyboard/key_model.h"
#include "tests/host/keymodel_fakes.h"
#include "tests/unit/setters_fixture.h"

namespace snibbet::test {
namespace {

using HotkeyTest = SettersTest;

constexpr DWORD kCtrlA = (0x20 << 8) | 'A';

void ExpectOnlyBinding(std::uint8_t key, ControlSet set) {
  ASSERT_EQ(QvActions().Size(), 1u);
  const TQvAction& binding = QvActions().At(0);
  EXPECT_EQ(binding.Key(), key);
  EXPECT_EQ(binding.Modifiers(), set);
  EXPECT_EQ(binding.Kind(), 8);   // a program command ...
  EXPECT_EQ(binding.Param(), 1);  // ... showing the template pop-up
}

TEST_F(HotkeyTest, StoredHotkeyIsTheOnlyBindingAfterEveryLoad) {
  PutDword(L"SCShowTemplates", kCtrlA);
  QvActions().Add('B', 0)->SetKind(3);  // whatever was bound before goes
  RunOnce([](TPreset& preset) {
    ExpectOnlyBinding('A', 0x20);
    preset.Load();
    ExpectOnlyBinding('A', 0x20);
    EXPECT_EQ(preset.SCShowTemplates(), static_cast<std::int32_t>(kCtrlA));
  });
}

TEST_F(HotkeyTest, ChangingTheStoredHotkeyAndLoadingRebindsIt) {
  RunOnce([this](TPreset& preset) {
    ExpectOnlyBinding(32, 0x80);
    PutDword(L"SCShowTemplates", kCtrlA);
    preset.Load();
    ExpectOnlyBinding('A', 0x20);
    EXPECT_EQ(QvActions().Find(32, 0x80, 0x80), nullptr);
  });
}

TEST_F(HotkeyTest, DefaultHotkeyIsLeftWinSpaceAndEitherWinFindsIt) {
  RunOnce([](TPreset&) {
    TQvActions& list = QvActions();
    EXPECT_NE(list.Find(32, 0x80, 0x80), nullptr);  // left Win + Space
    EXPECT_NE(list.Find(32, 0x08, 0x80), nullptr);  // right Win + Space, through the side-less set
    EXPECT_EQ(list.Find(32, 0x20, 0x20), nullptr);  // Ctrl + Space
    EXPECT_EQ(list.Find(32, 0, 0), nullptr);        // Space alone
    EXPECT_EQ(list.FindPlain(32), nullptr);
  });
}

TEST_F(HotkeyTest, ZeroBindsNothingAndARightSideHotkeyOnlyItsSide) {
  PutDword(L"SCShowTemplates", 0);
  RunOnce([](TPreset& preset) {
    EXPECT_EQ(QvActions().Size(), 0u);
    EXPECT_EQ(preset.BindShortCutAction(0, 8, 1), nullptr);
    preset.SetSCShowTemplates((0x08 << 8) | 32);  // right Win + Space
    EXPECT_NE(QvActions().Find(32, 0x08, 0x80), nullptr);
    EXPECT_EQ(QvActions().Find(32, 0x80, 0x80), nullptr);
  });
}

TEST_F(HotkeyTest, HotkeyTextNamesModifiersThenTheKey) {
  RunOnce([](TPreset& preset) {
    EXPECT_EQ(preset.ShortCutToKeyText(32800), L"Win+Space");
    EXPECT_EQ(preset.ShortCutToKeyText((0x02 << 8) | 'A'), L"RCtrl+A");
    EXPECT_EQ(preset.ShortCutToKeyText((0x81 << 8) | 0), L"Win+RShift");
    EXPECT_EQ(preset.ShortCutToKeyText(0), L"No text");  // language text 6
  });
}

TEST_F(HotkeyTest, HotkeyTextFollowsTheKeyboardViewWhileItLives) {
  testing::FakeLayouts layouts;
  testing::FakeInput input;
  CharTableCache tables;
  TQvKeyboard model(layouts, input, &tables);
  model.ApplyLayout(testing::BuiltInLayout(), L"Standard");
  model.SetLayout(testing::kSwapped);
  effects.UseKeyModel(&model);
  TPreset preset(AppIni(), effects.Ports());
  // The view names the A key by the US position it sits on (Q); without
  // names of the settings' own, the key-name table's.
  EXPECT_EQ(preset.ShortCutToKeyText((0x20 << 8) | 'A'), L"Ctrl+Q");
  effects.UseKeyModel(nullptr);
  EXPECT_EQ(preset.ShortCutToKeyText((0x20 << 8) | 'A'), L"Ctrl+A");
}

}  // namespace
}  // namespace snibbet::test
