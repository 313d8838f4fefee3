#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "keyboard/action_description.h"
#include "keyboard/action_kinds.h"
#include "keyboard/binding_names.h"
#include "keyboard/actions.h"
#include "core/control_set.h"
#include "tests/host/keymodel_fakes.h"
#include "tests/host/language_table_scope.h"

namespace snibbet {
namespace {

TEST(ControlSetBits, EachModifierHasItsSideAndSideLessBit) {
  const std::map<int, std::pair<int, int>> expected = {
      {161, {0x01, 0x10}}, {163, {0x02, 0x20}}, {165, {0x04, 0x40}}, {92, {0x08, 0x80}},
      {160, {0x10, 0x10}}, {162, {0x20, 0x20}}, {164, {0x40, 0x40}}, {91, {0x80, 0x80}}};
  for (int vk = 0; vk < 256; ++vk) {
    const auto it = expected.find(vk);
    EXPECT_EQ(ModifierBit(vk), it == expected.end() ? 0 : it->second.first) << vk;
    EXPECT_EQ(SideLessBit(vk), it == expected.end() ? 0 : it->second.second) << vk;
  }
  EXPECT_EQ(ModifierBit(16), 0);  // the generic Shift is no side
}

TEST(ControlSetBits, SideLessFormFoldsRightOntoLeft) {
  EXPECT_EQ(SideLessSetOf(0x00), 0x00);
  EXPECT_EQ(SideLessSetOf(0x08), 0x80);
  EXPECT_EQ(SideLessSetOf(0x0F), 0xF0);
  EXPECT_EQ(SideLessSetOf(0x21), 0x30);  // left Ctrl + right Shift
  EXPECT_EQ(SideLessSetOf(0x22), 0x20);  // both Ctrl keys
  for (int vk : {91, 92, 160, 161, 162, 163, 164, 165}) EXPECT_EQ(SideLessSetOf(ModifierBit(vk)), SideLessBit(vk));
}

TEST(ShortcutText, ModifiersInFixedOrderThenTheKey) {
  EXPECT_EQ(ShortcutToText(32, 0x80, DefaultKeyName, L"No text"), L"Win+Space");
  EXPECT_EQ(ShortcutToText(65, 0xFF, DefaultKeyName, L"No text"),
            L"Win+RWin+Ctrl+RCtrl+Alt+AltGr+Shift+RShift+A");
  EXPECT_EQ(ShortcutToText(0, 0x90, DefaultKeyName, L"No text"), L"Win+Shift");
  EXPECT_EQ(ShortcutToText(20, 0, DefaultKeyName, L"No text"), L"Caps");
  EXPECT_EQ(ShortcutToText(0, 0, DefaultKeyName, L"No text"), L"No text");
}

class Descriptions : public ::testing::Test {
 protected:
  void SetUp() override { KindCatalogue().Rebuild(); }
  void TearDown() override {
    texts_.reset();
    KindCatalogue().Rebuild();
  }

  std::optional<testing::LanguageTableScope> texts_{std::in_place, [](int n) { return L"t" + std::to_wstring(n); }};
  // The layouts name a language "lang<id>".
  testing::FakeLayouts layouts_;
  testing::FakeInput input_;
  TQvKeyboard model_{layouts_, input_};

  // A binding of a list on the model.
  std::wstring Describe(int kind, int param, const std::wstring& text = L"") {
    TQvActions list;
    list.ConnectKeyModel(&model_);
    TQvAction& b = *list.Add(65, 0);
    b.SetKind(static_cast<std::uint8_t>(kind));
    b.SetParam(static_cast<std::uint8_t>(param));
    b.SetText(text);
    return b.GetDescription();
  }
};

TEST_F(Descriptions, CatalogueNamesAndSubCommands) {
  EXPECT_EQ(Describe(0, 0), L"t6");
  EXPECT_EQ(Describe(1, 5), L"t227");      // no sub-commands: the kind's name whatever the param
  EXPECT_EQ(Describe(8, 1), L"t204");      // the template pop-up
  EXPECT_EQ(Describe(8, 7), L"t234");
  EXPECT_EQ(Describe(8, 8), L"");          // beyond the sub-commands
  EXPECT_EQ(Describe(14, 6), L"t630");
  EXPECT_EQ(Describe(200, 0), L"");        // a kind the catalogue does not know
}

TEST_F(Descriptions, ProductNameGoesIntoTheProgramCommandKind) {
  testing::LanguageTableScope texts;
  texts.Table().SetText(213, L"%1 commands");
  KindCatalogue().Rebuild();
  EXPECT_EQ(KindCatalogue().RowOf(8)->name, L"Orvane Paste commands");
  EXPECT_EQ(KindCatalogue().RowOf(8)->pictures, ActionPictures::Zqkeys);
  EXPECT_EQ(KindCatalogue().RowOf(5)->pictures, ActionPictures::None);
}

TEST_F(Descriptions, TextKindsShowTheirTextCutAt400) {
  EXPECT_EQ(Describe(3, 0, L"abc"), L"abc");
  EXPECT_EQ(Describe(6, 0, std::wstring(500, L'x')), std::wstring(400, L'x'));
  EXPECT_EQ(Describe(5, 0, L"C:\\Tools\\app.exe"), L"C:\\Tools\\app.exe");
}

TEST_F(Descriptions, CuttingNeverSplitsASurrogatePair) {
  std::wstring text(399, L'a');
  if constexpr (sizeof(wchar_t) == 2) {
    text += static_cast<wchar_t>(0xD83D);
    text += static_cast<wchar_t>(0xDE00);
    EXPECT_EQ(LeadingCharacters(text, 400), std::wstring(399, L'a'));
  } else {
    text += static_cast<wchar_t>(0x1F600);
    text += L'b';
    EXPECT_EQ(LeadingCharacters(text, 400).size(), 400u);
  }
}

TEST_F(Descriptions, DetailsOfDataPercentAndLayout) {
  TQvAction macro;
  macro.SetKind(7);
  macro.data.assign(7, 0);
  EXPECT_EQ(macro.GetDescription(), L"t205 (2)");

  TQvAction volume;
  volume.SetKind(11);  // a reset sets the percent to 10
  EXPECT_EQ(volume.GetDescription(), L"t219 10%");
  volume.SetParam(1);
  volume.SetPercent(25);
  EXPECT_EQ(volume.GetDescription(), L"t220 25%");
  volume.SetParam(2);
  EXPECT_EQ(volume.GetDescription(), L"t221");

  EXPECT_EQ(Describe(9, 3, L"67699721"), L"t633 - lang1033 04090409");
  EXPECT_EQ(Describe(9, 3, L"$F0020409"), L"t633 - lang1033 F0020409");
  EXPECT_EQ(Describe(9, 3, L"layout"), L"t633 - lang0 00000000");
  EXPECT_EQ(Describe(9, 2), L"t215");
}

TEST(LayoutNumber, DecimalHexSignedAndJunk) {
  EXPECT_EQ(LayoutNumberOfText(L"67699721"), 0x04090409u);
  EXPECT_EQ(LayoutNumberOfText(L" 0x04190419 "), 0x04190419u);
  EXPECT_EQ(LayoutNumberOfText(L"$f0020409"), 0xF0020409u);
  EXPECT_EQ(LayoutNumberOfText(L"-1"), 0xFFFFFFFFu);
  EXPECT_EQ(LayoutNumberOfText(L"4294967295"), 0xFFFFFFFFu);
  EXPECT_EQ(LayoutNumberOfText(L"4294967296"), 0u);
  EXPECT_EQ(LayoutNumberOfText(L"0x"), 0u);
  EXPECT_EQ(LayoutNumberOfText(L""), 0u);
  EXPECT_EQ(LayoutNumberOfText(L"12ab"), 0u);
  EXPECT_EQ(LayoutNumberOfText(L"$"), 0u);
}

TEST(BindingShortcut, UsesTheKeyNamesAndLanguageText6) {
  TQvActions list;
  EXPECT_EQ(list.Add(32, 0x80)->GetShortcutText(), L"Win+Space");
  EXPECT_EQ(list.Add(0, 0x0A)->GetShortcutText(), L"RWin+RCtrl");
  testing::FakeLayouts layouts;
  testing::FakeInput input;
  TQvKeyboard model(layouts, input);
  model.SetKeyNameSource([](int vk) { return L"<" + std::to_wstring(vk) + L">"; });
  list.ConnectKeyModel(&model);
  EXPECT_EQ(list.Find(32, 0x80, 0x80)->GetShortcutText(), L"<91>+<32>");
}

}  // namespace
}  // namespace snibbet
