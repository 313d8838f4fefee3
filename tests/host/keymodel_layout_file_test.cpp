// Keyboard layout files: reading good, bad and cut-off files, the built-in
// layout, the shipped layout, the keys a layout creates and key geometry.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/key_names.h"
#include "core/utf8.h"
#include "keyboard/key_model.h"
#include "keyboard/key_shape.h"
#include "keyboard/layout_file.h"
#include "keymodel_fakes.h"

namespace snibbet {
namespace {

using Kind = LayoutFileError::Kind;

KeyboardLayoutFile Parsed(std::wstring_view text) {
  LayoutParseResult result = ParseKeyboardLayout(text);
  EXPECT_TRUE(result.layout.has_value()) << "line " << result.error.line;
  return result.layout ? *result.layout : KeyboardLayoutFile{};
}

LayoutFileError Failure(std::wstring_view text) {
  LayoutParseResult result = ParseKeyboardLayout(text);
  EXPECT_FALSE(result.layout.has_value());
  return result.error;
}

std::wstring ShippedLayout(const char* name) {
  const char* source = std::getenv("SNIBBET_SOURCE_DIR");
  if (!source) return {};
  std::ifstream in(std::filesystem::path(source) / "data" / "Keyboards" / name, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return Utf8ToWide(bytes.str());
}

TEST(LayoutFile, FieldsDescriptionAndShapes) {
  const KeyboardLayoutFile layout = Parsed(
      L";Compact board\r\n;  for laptops\n"
      L"HEIGHT = 120\r"
      L"width=640\r\n"
      L"Background=wood.bmp\r\n"
      L"Info=10\r\n"
      L";a comment further down\r\n"
      L"65=10,20;40,50\r\n"
      L"65=0,0;1,1\r\n"  // the first line of a name counts
      L"66=5;9\r\n"     // a lone number is both x and y
      L"13=1,1;9,1;9,9;-1,-1;20,20;30,30\r\n"
      L"no equals sign here\r\n"
      L"300=1,1;2,2\r\n");
  EXPECT_EQ(layout.description, L"Compact board\r\n  for laptops\r\n");
  EXPECT_EQ(layout.height, 120);
  EXPECT_EQ(layout.width, 640);
  EXPECT_EQ(layout.background, L"wood.bmp");
  EXPECT_EQ(layout.info, L"10");
  EXPECT_EQ(layout.shapes[65], (KeyShape{{10, 20}, {40, 50}}));
  EXPECT_EQ(layout.shapes[66], (KeyShape{{5, 5}, {9, 9}}));
  EXPECT_EQ(layout.shapes[13].size(), 6u);
  const auto [key, extended] = SplitShapes(layout.shapes[13]);
  EXPECT_EQ(key.size(), 3u);
  EXPECT_EQ(extended, (std::vector<KeyPoint>{{20, 20}, {30, 30}}));
}

TEST(LayoutFile, MissingAndEmptyValuesTakeDefaults) {
  const KeyboardLayoutFile layout = Parsed(L"Width=500\r\nHeight=\r\n65=\r\n");
  EXPECT_EQ(layout.width, 500);
  EXPECT_EQ(layout.height, 300);
  EXPECT_TRUE(layout.shapes[65].empty());
  EXPECT_TRUE(layout.description.empty());
  EXPECT_EQ(Parsed(L"").width, 800);
}

TEST(LayoutFile, MalformedNumbersFailTheWholeFileWithTheirLine) {
  struct Case {
    const wchar_t* text;
    Kind kind;
    int line;
    const wchar_t* token;
  };
  const Case cases[] = {
      {L"Width=500\r\nHeight=abc\r\n", Kind::kBadNumber, 2, L"abc"},
      {L"65=1,2;x,4", Kind::kBadNumber, 1, L"x"},
      {L"65=1,2;3,4;", Kind::kBadNumber, 1, L""},
      {L"65=1,2;3,4,5", Kind::kBadNumber, 1, L"4,5"},
      {L"65=1,2;3,", Kind::kBadNumber, 1, L""},
      {L"65=1.5,2;3,4", Kind::kBadNumber, 1, L"1.5"},
      {L"Height=$10", Kind::kBadNumber, 1, L"$10"},
      {L"Width=0", Kind::kOutOfRange, 1, L"0"},
      {L"Width=99999999999999999999", Kind::kOutOfRange, 1, L"99999999999999999999"},
      {L"Height=-5", Kind::kOutOfRange, 1, L"-5"},
      {L"\r\n\r\n66=1,40000", Kind::kOutOfRange, 3, L"40000"},
      {L"13=1,1;2,2;-1,-1", Kind::kBrokenShape, 1, L"13"},
      {L"13=-1,-1;1,1;2,2", Kind::kBrokenShape, 1, L"13"},
      {L"13=1,1;2,2;-1,-1;3,3;-1,-1;4,4", Kind::kBrokenShape, 1, L"13"},
  };
  for (const Case& c : cases) {
    const LayoutFileError error = Failure(c.text);
    EXPECT_EQ(error.kind, c.kind) << ::testing::PrintToString(std::wstring(c.text));
    EXPECT_EQ(error.line, c.line) << ::testing::PrintToString(std::wstring(c.text));
    EXPECT_EQ(error.text, c.token) << ::testing::PrintToString(std::wstring(c.text));
  }
}

TEST(LayoutFile, EveryCutOfAGoodFileEitherReadsOrNamesALine) {
  const std::wstring text(BuiltInKeyboardLayout());
  for (std::size_t length = 0; length <= text.size(); ++length) {
    const LayoutParseResult result = ParseKeyboardLayout(std::wstring_view(text).substr(0, length));
    if (result.layout) continue;
    EXPECT_GE(result.error.line, 1) << length;
    EXPECT_LE(result.error.line, 110) << length;
  }
  // Cut right after a separator or a comma: never taken for a whole shape.
  EXPECT_FALSE(ParseKeyboardLayout(L"13=1,1;2,2;-1,-1;").layout);
  EXPECT_FALSE(ParseKeyboardLayout(L"65=65,136;98,").layout);
}

TEST(BuiltInLayout, HasTheStandardBoard) {
  const KeyboardLayoutFile layout = testing::BuiltInLayout();
  EXPECT_EQ(layout.height, 243);
  EXPECT_EQ(layout.width, 777);
  EXPECT_TRUE(layout.description.empty());
  EXPECT_TRUE(layout.background.empty());
  std::vector<int> codes;
  for (int code = 1; code <= 255; ++code) {
    if (!layout.shapes[code].empty()) codes.push_back(code);
  }
  std::vector<int> expected = {8, 9, 13, 19, 20, 27, 144, 145};
  for (auto [first, last] : {std::pair{32, 40}, {44, 46}, {48, 57}, {65, 93}, {96, 107}, {109, 123}, {160, 165},
                             {186, 192}, {219, 222}}) {
    for (int code = first; code <= last; ++code) expected.push_back(code);
  }
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(codes, expected);
  EXPECT_EQ(layout.shapes[65], (KeyShape{{65, 136}, {98, 169}}));
  EXPECT_EQ(layout.shapes[27], (KeyShape{{6, 25}, {39, 58}}));
  EXPECT_EQ(layout.shapes[32], (KeyShape{{141, 204}, {336, 237}}));
  EXPECT_EQ(SplitShapes(layout.shapes[13]).second, (std::vector<KeyPoint>{{738, 170}, {771, 237}}));
  // Keys stay inside the view and do not overlap.
  for (int a : codes) {
    for (const KeyPoint& p : layout.shapes[a]) {
      if (p == kShapeSeparator) continue;
      EXPECT_TRUE(p.x >= 0 && p.x <= 777 && p.y >= 0 && p.y <= 243) << a;
    }
    const auto [shape, second] = SplitShapes(layout.shapes[a]);
    if (shape.size() != 2) continue;
    const int cx = (shape[0].x + shape[1].x) / 2, cy = (shape[0].y + shape[1].y) / 2;
    for (int b : codes) {
      int which = 0;
      if (b != a) {
        EXPECT_FALSE(HitTestShape(layout.shapes[b], cx, cy, which)) << a << " centre is on " << b;
      }
    }
  }
}

TEST(BuiltInLayout, ShippedStandardFileDrawsTheSameBoard) {
  const std::wstring text = ShippedLayout("Standard.txt");
  ASSERT_FALSE(text.empty()) << "data/Keyboards/Standard.txt";
  const KeyboardLayoutFile shipped = Parsed(text);
  const KeyboardLayoutFile builtIn = testing::BuiltInLayout();
  EXPECT_FALSE(shipped.description.empty());
  EXPECT_EQ(shipped.height, builtIn.height);
  EXPECT_EQ(shipped.width, builtIn.width);
  EXPECT_EQ(shipped.shapes, builtIn.shapes);
}

TEST(LayoutKeys, KeysForShapesAndForNamedCodes) {
  testing::FakeLayouts layouts;
  testing::FakeInput input;
  CharTableCache tables;
  TQvKeyboard model(layouts, input, &tables);
  model.ApplyLayout(Parsed(L"Width=500\r\n"), L"Narrow");
  EXPECT_EQ(model.LayoutName(), L"Narrow");
  EXPECT_EQ(model.Layout().width, 500);
  int keys = 0;
  for (int code = 1; code <= 255; ++code) {
    const TQvBtn* key = model.Button(code);
    EXPECT_EQ(key != nullptr, !VirtualKeyName(code).empty()) << code;
    if (key) {
      EXPECT_TRUE(key->Points().empty()) << code;
    }
    keys += key != nullptr;
  }
  EXPECT_EQ(keys, 189);

  model.ApplyLayout(Parsed(L"7=1,1;5,5\r\n"), L"Odd");
  ASSERT_NE(model.Button(7), nullptr);  // no name, but a shape
  EXPECT_EQ(model.Button(7)->Points().size(), 2u);
}

TEST(LayoutKeys, ANewLayoutLeavesNothingHeld) {
  testing::FakeLayouts layouts;
  testing::FakeInput input;
  CharTableCache tables;
  TQvKeyboard model(layouts, input, &tables);
  model.ApplyLayout(testing::BuiltInLayout(), L"Standard");
  model.SetKeyPressed(kVkLeftCtrl, true);
  model.SetKeyPressed('A', true);
  model.ApplyLayout(testing::BuiltInLayout(), L"Standard");
  EXPECT_EQ(model.PressedCount(), 0);
  EXPECT_EQ(model.GetControlSet(), 0);
  EXPECT_EQ(model.KeyState()[kVkControl], 0);
  EXPECT_EQ(model.KeyState()['A'], 0);
}

TEST(KeyGeometry, EnterAndKeypadEnterAreTwoShapesOfOneKey) {
  const KeyShape enter = testing::BuiltInLayout().shapes[13];
  int which = -1;
  EXPECT_TRUE(HitTestShape(enter, 490, 110, which));  // upper bar of the L
  EXPECT_EQ(which, 0);
  EXPECT_TRUE(HitTestShape(enter, 445, 150, which));  // its foot
  EXPECT_EQ(which, 0);
  EXPECT_TRUE(HitTestShape(enter, 750, 230, which));  // the keypad Enter
  EXPECT_EQ(which, 1);
  which = 7;
  EXPECT_FALSE(HitTestShape(enter, 445, 110, which));  // the notch left of the bar
  EXPECT_EQ(which, 7);
  EXPECT_EQ(KeyHeight(enter), 135);
  EXPECT_EQ(KeyHeight(KeyShape{{1, 1}, {9, 34}}), 33);
  EXPECT_EQ(KeyHeight(KeyShape{{1, 1}}), 0);
}

TEST(KeyGeometry, RectangleEdgesBelongToTheKey) {
  int which = 0;
  const KeyShape key{{10, 10}, {20, 20}};
  EXPECT_TRUE(HitTestShape(key, 10, 20, which));
  EXPECT_FALSE(HitTestShape(key, 21, 15, which));
  EXPECT_FALSE(HitTestShape(KeyShape{{10, 10}}, 10, 10, which));
  EXPECT_FALSE(HitTestShape(KeyShape{}, 0, 0, which));
}

TEST(KeyGeometry, HorizontalEdgesNeverCountAsCrossings) {
  // A triangle and a flat polygon: points level with a horizontal edge must
  // neither divide by its zero height nor flip the even-odd count.
  const std::vector<KeyPoint> triangle{{0, 0}, {20, 0}, {10, 20}};
  EXPECT_TRUE(PointInPolygon(triangle, 10, 5));
  EXPECT_FALSE(PointInPolygon(triangle, 30, 0));
  EXPECT_FALSE(PointInPolygon(triangle, -5, 0));
  const std::vector<KeyPoint> flat{{0, 5}, {10, 5}, {20, 5}};
  for (int x : {-1, 0, 5, 10, 25}) EXPECT_FALSE(PointInPolygon(flat, x, 5)) << x;
}

TEST(KeyGeometry, TextOfAnLShapedKeyLiesOnTheKey) {
  const auto [enter, keypad] = SplitShapes(testing::BuiltInLayout().shapes[13]);
  for (bool compact : {true, false}) {
    const KeyRect text = ComputeTextRect(enter, compact, 30, 13);
    EXPECT_GE(text.Height(), 16);
    for (auto [x, y] : {std::pair{text.left, text.top}, {text.right, text.top}, {text.left, text.bottom},
                        {text.right, text.bottom}}) {
      EXPECT_TRUE(PointInOneShape(enter, x, y)) << compact << " " << x << "," << y;
    }
  }
  // A plain polygon that holds the centred box keeps it.
  const std::vector<KeyPoint> square{{0, 0}, {100, 0}, {100, 100}, {0, 100}};
  EXPECT_EQ(ComputeTextRect(square, true, 0, 0), (KeyRect{34, 34, 66, 66}));
}

}  // namespace
}  // namespace snibbet
