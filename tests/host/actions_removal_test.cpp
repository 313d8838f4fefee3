#include <gtest/gtest.h>

#include "keyboard/action_file.h"
#include "keyboard/actions.h"

namespace snibbet {
namespace {

class SetRemoval : public ::testing::Test {
 protected:
  void SetUp() override {
    Bind(32, 0x80, 8, 1, L"");
    Bind(65, 0x20, 3, 0, L"Grüße");
    Bind(65, 0x00, 1, 0, L"");
  }
  void Bind(std::uint8_t key, ControlSet set, std::uint8_t kind, std::uint8_t param, const std::wstring& text) {
    TQvAction* b = list.Add(key, set);
    b->SetKind(kind);
    b->SetParam(param);
    b->SetText(text);
  }
  TQvActions list;
};

TEST_F(SetRemoval, RemovesOnlyExactMatchesOfKindParamAndText) {
  const std::vector<ActionFileEntry> entries = {
      {65, 0x20, 3, 0, L"Grüße"},   // matches
      {32, 0x80, 8, 0, L""},        // other param
      {65, 0x00, 2, 0, L""},        // other kind
      {66, 0x00, 1, 0, L""},        // no such binding
  };
  EXPECT_EQ(RemoveListedBindings(list, entries), 1u);
  EXPECT_EQ(list.Size(), 2u);
  EXPECT_EQ(list.Find(65, 0x20, 0x20), nullptr);
  EXPECT_NE(list.FindPlain(65), nullptr);
  EXPECT_EQ(list.IndexOf(65), (TQvActions::IndexEntry{1, 1}));
}

TEST_F(SetRemoval, DifferentTextRemovesNothing) {
  EXPECT_EQ(RemoveListedBindings(list, {{65, 0x20, 3, 0, L"Grusse"}}), 0u);
  EXPECT_EQ(list.Size(), 3u);
}

TEST_F(SetRemoval, SetMustMatchExactlyNotSideLess) {
  // A file naming right Win does not remove the left-Win binding.
  EXPECT_EQ(RemoveListedBindings(list, {{32, 0x08, 8, 1, L""}}), 0u);
  EXPECT_EQ(RemoveListedBindings(list, {{32, 0x80, 8, 1, L""}, {32, 0x80, 8, 1, L""}}), 1u);
  EXPECT_EQ(list.Find(32, 0x80, 0x80), nullptr);
}

TEST(DecimalAttribute, AcceptsOnlyInRangeDecimals) {
  std::uint32_t v = 99;
  EXPECT_TRUE(ParseDecimalAttribute(L"0", 255, v));
  EXPECT_EQ(v, 0u);
  EXPECT_TRUE(ParseDecimalAttribute(L" 255 ", 255, v));
  EXPECT_EQ(v, 255u);
  EXPECT_TRUE(ParseDecimalAttribute(L"65535", 65535, v));
  for (const wchar_t* bad : {L"256", L"", L"  ", L"-1", L"+1", L"0x10", L"1e3", L"12a", L"99999999999999999999"}) {
    EXPECT_FALSE(ParseDecimalAttribute(bad, 255, v)) << bad;
  }
}

}  // namespace
}  // namespace snibbet
