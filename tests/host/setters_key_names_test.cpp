// The key names of the chosen keyboard layout, over the stand-in layouts:
// US English and one with A/Q and Z/W swapped whose digit row types symbols.
#include <gtest/gtest.h>

#include <cwctype>

#include "core/preset_effects_key_names.h"
#include "tests/host/keymodel_fakes.h"

namespace snibbet {
namespace {

using testing::FakeLayouts;
using testing::kSwapped;
using testing::kUs;

constexpr LayoutHandle kGerman = 0x04070407;

wchar_t Upper(wchar_t c) { return static_cast<wchar_t>(std::towupper(c)); }

class KeyNames : public ::testing::Test {
 protected:
  LayoutKeyNames Build(LayoutHandle requested) {
    return BuildLayoutKeyNames(requested, layouts.installed, &layouts, Upper);
  }
  FakeLayouts layouts;
};

TEST_F(KeyNames, UsLayoutNamesCharacterKeysByTheirCharacterInCapitals) {
  const LayoutKeyNames names = Build(kUs);
  EXPECT_EQ(names.layout, kUs);
  EXPECT_EQ(names.names[65], L"A");
  EXPECT_EQ(names.names[81], L"Q");
  EXPECT_EQ(names.names[49], L"1");
  EXPECT_EQ(names.names[189], L"-");
  EXPECT_EQ(names.names[222], L"'");
  // Space is never renamed, and other keys keep the key-name table's names.
  EXPECT_EQ(names.names[32], L"Space");
  EXPECT_EQ(names.names[13], L"Enter");
  EXPECT_EQ(names.names[160], L"Shift");
  EXPECT_EQ(names.names[91], L"Win");
  EXPECT_TRUE(names.names[0].empty());
}

TEST_F(KeyNames, KeysAreNamedWhereTheySitOnAUsKeyboard) {
  const LayoutKeyNames names = Build(kSwapped);
  EXPECT_EQ(names.layout, kSwapped);
  // The key that types "a" sits where US English has Q, and so on.
  EXPECT_EQ(names.names[81], L"A");
  EXPECT_EQ(names.names[65], L"Q");
  EXPECT_EQ(names.names[87], L"Z");
  EXPECT_EQ(names.names[90], L"W");
  EXPECT_EQ(names.names[83], L"S");
  EXPECT_EQ(names.names[49], L"&");  // the digit row types symbols unshifted
  EXPECT_EQ(names.names[51], L"\"");
}

TEST_F(KeyNames, KeysThatTypeNothingKeepTheirTableName) {
  const LayoutKeyNames names = Build(kUs);
  EXPECT_EQ(names.names[186], L":");  // the stand-in types nothing on it: a blank names nothing
  EXPECT_EQ(names.names[96], L"Nm 0");
}

TEST_F(KeyNames, FrenchAndGermanNamesFollowTheLanguageAsked) {
  const LayoutKeyNames french = Build(kSwapped);
  EXPECT_EQ(french.names[13], L"Entr");
  EXPECT_EQ(french.names[27], L"Echap");
  EXPECT_EQ(french.names[44], L"Impr ecran");
  EXPECT_EQ(french.names[145], L"Arret defil");
  EXPECT_EQ(french.names[160], L"Shift");  // no French name: the table's

  // A German layout that is not installed: the first installed one gives the
  // characters, yet the names are German.
  const LayoutKeyNames german = Build(kGerman);
  EXPECT_EQ(german.layout, kUs);
  EXPECT_EQ(german.names[65], L"A");
  EXPECT_EQ(german.names[20], L"Feststelltaste");
  EXPECT_EQ(german.names[36], L"Pos1");
  EXPECT_EQ(german.names[161], L"Umschalt");
  EXPECT_EQ(german.names[163], L"Strg");
  EXPECT_EQ(german.names[13], L"Enter");

  const LayoutKeyNames us = Build(kUs);
  EXPECT_EQ(us.names[20], L"Caps");
  EXPECT_EQ(us.names[13], L"Enter");
}

TEST_F(KeyNames, UsLayoutIsLoadedOnlyWhenNotInstalledAndAlwaysUnloaded) {
  Build(kSwapped);
  EXPECT_TRUE(layouts.loaded.empty());

  layouts.installed = {kSwapped};
  const LayoutKeyNames names = Build(kSwapped);
  EXPECT_EQ(layouts.loaded, (std::vector<LayoutHandle>{kUs}));
  EXPECT_EQ(layouts.unloaded, (std::vector<LayoutHandle>{kUs}));
  EXPECT_EQ(names.names[81], L"A");

  // Without a US layout at all each key keeps its own place.
  layouts.loadFails = true;
  const LayoutKeyNames unplaced = Build(kSwapped);
  EXPECT_EQ(unplaced.names[65], L"A");
  EXPECT_EQ(unplaced.names[81], L"Q");
  EXPECT_EQ(layouts.unloaded.size(), 1u);
}

TEST_F(KeyNames, WithoutLayoutsOnlyTheTableAndTheLanguageNames) {
  const LayoutKeyNames names = BuildLayoutKeyNames(0x040C040C, {}, nullptr, Upper);
  EXPECT_EQ(names.layout, 0x040C040Cu);  // nothing installed to choose instead
  EXPECT_EQ(names.names[65], L"A");
  EXPECT_EQ(names.names[27], L"Echap");
  EXPECT_EQ(names.names[189], L"-");
}

}  // namespace
}  // namespace snibbet
