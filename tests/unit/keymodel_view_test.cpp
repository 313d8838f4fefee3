// The keyboard view: what it paints for the model's keys, when it paints at
// all, the mouse over keys, and loading layouts from the Keyboards folder.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>

#include "../host/keymodel_fakes.h"
#include "core/program_folder.h"
#include "keyboard/actions.h"
#include "keyboard/key_icons.h"
#include "keyboard/key_painter.h"
#include "keyboard/key_model_wiring.h"
#include "keyboard/keyboard_loader.h"
#include "keyboard/binding_names.h"

namespace snibbet {
namespace {

namespace fs = std::filesystem;
using testing::FakeInput;
using testing::FakeLayouts;

constexpr COLORREF kNormalFace = 0xFEFEFE, kPressedFace = 0x800000, kHighlightFace = 0xCC6600, kFace = 0xFF9933;

class View : public ::testing::Test {
 protected:
  View() : model(layouts, input, &tables), painter(model, QvActions()) {
    model.ApplyLayout(testing::BuiltInLayout(), L"Standard");
    painter.settings = [this] { return settings; };
  }
  void Show() { model.SetPainting(true); }
  // A pixel well inside a key's lower right, clear of its text and outline.
  COLORREF FaceOf(int x2, int y2) const { return GetPixel(painter.Canvas(), x2 - 5, y2 - 5); }

  FakeLayouts layouts;
  FakeInput input;
  CharTableCache tables;
  TQvKeyboard model;
  KeyboardPainter painter;
  KeyPaintSettings settings;
};

TEST_F(View, NothingIsPaintedWhileNoWindowShowsTheView) {
  int redrawn = 0;
  painter.onRedrawn = [&] { ++redrawn; };
  model.SetKeyPressed(kVkLeftShift, true);  // would redraw every key
  model.SetKeyPressed('A', true);
  model.ReleaseAllKeys();
  painter.Redraw();
  EXPECT_EQ(redrawn, 0);
  EXPECT_EQ(painter.Width(), 0);  // not even a bitmap yet

  Show();
  EXPECT_EQ(redrawn, 1);
  EXPECT_EQ(painter.Width(), 777);
  EXPECT_EQ(painter.Height(), 243);
}

TEST_F(View, KeysTakeTheColourOfTheirState) {
  Show();
  EXPECT_EQ(FaceOf(98, 169), kNormalFace);  // A
  EXPECT_EQ(GetPixel(painter.Canvas(), 300, 63), kFace);  // between the rows
  model.SetKeyPressed('A', true);
  EXPECT_EQ(FaceOf(98, 169), kPressedFace);
  model.SetKeyPressed('A', false);
  EXPECT_EQ(FaceOf(98, 169), kNormalFace);

  painter.SetTransparentFace(true);
  EXPECT_EQ(GetPixel(painter.Canvas(), 300, 63), kTransparentFaceColor);
}

TEST_F(View, FingerZonesColourKeysByPosition) {
  settings.showZone = true;
  Show();
  EXPECT_EQ(FaceOf(98, 169), FingerZoneColour('A', 0));
  EXPECT_EQ(FingerZoneColour('A', 0), 0x9EE9B9u);
  EXPECT_EQ(FaceOf(39, 58), kNormalFace);  // Esc is in no zone
}

TEST_F(View, KeysOfAnotherLayoutArePaintedWhereTheySit) {
  model.SetLayout(testing::kSwapped);
  Show();
  int which = 0;
  EXPECT_EQ(painter.KeyAt(75, 115, which)->Code(), 65);  // US Q position (57..90, 102..135)
  EXPECT_EQ(painter.KeyAt(80, 150, which)->Code(), 81);  // US A position
  model.SetKeyPressed('A', true);
  EXPECT_EQ(FaceOf(90, 135), kPressedFace);
  EXPECT_EQ(FaceOf(98, 169), kNormalFace);
}

TEST_F(View, KeypadEnterIsItsOwnShapeOfEnter) {
  painter.SetTwoShapeStates(true);
  Show();
  TQvBtn* enter = model.Button(kVkReturn);
  enter->SetExtended(true);  // the hook saw the keypad Enter
  enter->SetPressed(true);
  EXPECT_EQ(FaceOf(771, 237), kPressedFace);
  EXPECT_EQ(FaceOf(514, 168), kNormalFace);
  enter->SetPressed(false);

  painter.HighlightKeyAt(750, 220);
  EXPECT_EQ(painter.HighlightedKey(), enter);
  EXPECT_TRUE(enter->Extended());
  EXPECT_EQ(FaceOf(771, 237), kHighlightFace);
  EXPECT_EQ(FaceOf(514, 168), kNormalFace);
  painter.HighlightKeyAt(500, 120);  // over the main Enter: the same key, the other shape
  EXPECT_FALSE(enter->Extended());
  EXPECT_EQ(FaceOf(514, 168), kHighlightFace);
  EXPECT_EQ(FaceOf(771, 237), kNormalFace);
  painter.ClearHighlight(true);
  EXPECT_EQ(painter.HighlightedKey(), nullptr);
  EXPECT_EQ(FaceOf(514, 168), kNormalFace);
}

TEST_F(View, RemappedKeyShowsThePictureOfItsTarget) {
  TQvAction* remap = QvActions().Add(112, 0);  // F1 types Backspace
  ASSERT_NE(remap, nullptr);
  remap->SetKind(2);
  remap->SetParam(8);
  std::vector<std::pair<int, POINT>> pictures;
  painter.seams.drawKeyPicture = [&](HDC, int index, int x, int y) {
    pictures.push_back({index, POINT{x, y}});
    return true;
  };
  Show();
  QvActions().Delete(112, 0);
  const auto atF1 = std::find_if(pictures.begin(), pictures.end(), [](const auto& p) { return p.second.x == 76; });
  ASSERT_NE(atF1, pictures.end());
  EXPECT_EQ(atF1->first, 2);
  EXPECT_EQ(atF1->second.y, 27);
}

// Whether the block (x, y, width, height) of the view holds only `colour`.
bool AllOf(HDC dc, int x, int y, int width, int height, COLORREF colour) {
  for (int row = y; row < y + height; ++row)
    for (int column = x; column < x + width; ++column)
      if (GetPixel(dc, column, row) != colour) return false;
  return true;
}

TEST_F(View, TheProgramsKeyPicturesSitTopLeftInTheirKeysInPlaceOfTheName) {
  ui::ImageList pictures(16, 16);
  ASSERT_EQ(pictures.AddStrip(GetModuleHandleW(nullptr), L"IL_KEYS", CLR_NONE), 0);
  ASSERT_EQ(pictures.Count(), 25);
  struct Key {
    int code, picture, left, top;
  };
  const Key win{VK_LWIN, 0, 57, 204}, left{VK_LEFT, 3, 525, 204};  // rectangles 33 x 33 of the built-in layout

  // Without pictures the keys show their names.
  Show();
  for (const Key& key : {win, left})
    EXPECT_FALSE(AllOf(painter.Canvas(), key.left + 2, key.top + 2, 28, 14, kNormalFace)) << key.code;

  ConnectKeyPictures(painter, &pictures);
  painter.Redraw();
  ui::WindowDC screen;
  for (const Key& key : {win, left}) {
    // The picture as it comes out on the key's face.
    ui::MemoryDC expected(screen);
    ui::Bitmap bitmap(CreateCompatibleBitmap(screen, 16, 16));
    ui::SelectedObject selected(expected, bitmap.Get());
    ui::Brush face(CreateSolidBrush(kNormalFace));
    const RECT all{0, 0, 16, 16};
    FillRect(expected, &all, face.Get());
    pictures.Draw(key.picture, expected, 0, 0);
    int differing = 0, inked = 0;
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) {
        differing += GetPixel(painter.Canvas(), key.left + 2 + x, key.top + 2 + y) != GetPixel(expected, x, y);
        inked += GetPixel(expected, x, y) != kNormalFace;
      }
    }
    EXPECT_EQ(differing, 0) << key.code;
    EXPECT_GT(inked, 40) << key.code;
    // No name beside it.
    EXPECT_TRUE(AllOf(painter.Canvas(), key.left + 18, key.top + 1, 10, 16, kNormalFace)) << key.code;
  }

  // A list without the picture leaves the key its name.
  ui::ImageList onlyWin(16, 16);
  onlyWin.AddIcon(pictures.ExtractIcon(0).Get());
  ConnectKeyPictures(painter, &onlyWin);
  painter.Redraw();
  EXPECT_FALSE(AllOf(painter.Canvas(), left.left + 2, left.top + 2, 28, 14, kNormalFace));
  EXPECT_TRUE(AllOf(painter.Canvas(), win.left + 18, win.top + 1, 10, 16, kNormalFace));
}

TEST_F(View, TextHeightIsTheLabelFaceAtTheCharacterSizeAndClipsTheNames) {
  KeyboardAppearance look;
  look.labelFontSize = 16;
  look.charFontSize = 6;
  painter.SetAppearance(look);
  Show();
  const int small = painter.TextHeight();
  // The lowest line of Esc's name (the key is 6,25 to 39,58) lies above
  // the key's top plus the text height, though the label font is taller.
  const auto lowestInk = [&] {
    int lowest = 0;
    for (int y = 26; y < 56; ++y)
      if (!AllOf(painter.Canvas(), 8, y, 28, 1, kNormalFace)) lowest = y;
    return lowest;
  };
  EXPECT_LE(lowestInk(), 25 + small);

  look.charFontSize = 16;
  painter.SetAppearance(look);
  painter.Redraw();
  const int large = painter.TextHeight();
  EXPECT_GT(large, small + 6);
  EXPECT_GT(lowestInk(), 25 + small + 3);  // the whole name now
  // The label size plays no part.
  look.labelFontSize = 8;
  painter.SetAppearance(look);
  painter.Redraw();
  EXPECT_EQ(painter.TextHeight(), large);
  // The face and style are the label font's.
  look.charFontName = L"Courier New";
  painter.SetAppearance(look);
  painter.Redraw();
  EXPECT_EQ(painter.TextHeight(), large);
}

TEST_F(View, CaptionAndHints) {
  std::wstring caption;
  painter.seams.drawCaption = [&](HDC, int width, COLORREF, const std::wstring& text) { caption = text; };
  painter.seams.iconHint = [](int iconCode, ControlSet set, ControlSet) {
    return L"hint " + std::to_wstring(iconCode) + L"/" + std::to_wstring(set);
  };
  settings.showCaption = true;
  Show();
  EXPECT_FALSE(caption.empty());
  caption.clear();
  painter.SetFrameVisible(false);
  EXPECT_TRUE(caption.empty());

  model.SetKeyPressed(kVkLeftCtrl, true);
  EXPECT_EQ(painter.GetHint(*model.Button('C')), L"hint 67/32");
  EXPECT_EQ(painter.GetHint(*model.Button(kVkLeftCtrl)), L"hint 0/32");  // a held modifier shows code 0
}

TEST_F(View, ScaledCopyKeepsTheProportions) {
  Show();
  ui::WindowDC screen;
  ui::MemoryDC target(screen);
  ui::Bitmap bitmap(CreateCompatibleBitmap(screen, 400, 400));
  ui::SelectedObject selected(target, bitmap.Get());
  RECT all{0, 0, 400, 400};
  FillRect(target, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  painter.PaintScaled(target, 400, 400);
  EXPECT_NE(GetPixel(target, 200, 60), RGB(0, 0, 0));  // inside 400 x 125
  EXPECT_EQ(GetPixel(target, 200, 200), RGB(0, 0, 0));
}

// ---- loading layouts by name ----

class LayoutLoading : public View {
 protected:
  void SetUp() override {
    folder = fs::path(KeyboardsFolder());
    fs::create_directories(folder);
    previousSink = ReplaceLayoutErrorSink([this](const std::wstring& message) { errors.push_back(message); });
  }
  void TearDown() override {
    ReplaceLayoutErrorSink(previousSink);
    for (const auto& file : written) fs::remove(file);
  }
  void Write(const std::wstring& name, const std::string& bytes) {
    written.push_back(folder / name);
    std::ofstream(folder / name, std::ios::binary) << bytes;
  }

  fs::path folder;
  std::vector<fs::path> written;
  std::vector<std::wstring> errors;
  LayoutErrorSink previousSink;
};

TEST_F(LayoutLoading, MissingFileGivesTheBuiltInLayout) {
  EXPECT_TRUE(LoadKeyboard(model, &painter, L"keymodel-test-none"));
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(model.LayoutName(), L"keymodel-test-none");
  EXPECT_EQ(model.Layout().width, 777);
}

TEST_F(LayoutLoading, FileReplacesTheLayoutAndKeepsThePaintingState) {
  Write(L"keymodel-test-small.txt", ";Tiny\r\nWidth=200\r\nHeight=100\r\n65=10,10;40,40\r\n");
  Show();
  EXPECT_TRUE(LoadKeyboard(model, &painter, L"keymodel-test-small"));
  EXPECT_TRUE(model.Painting());
  EXPECT_EQ(painter.Width(), 200);
  EXPECT_EQ(model.Layout().description, L"Tiny\r\n");
  EXPECT_EQ(model.Button('B')->Points().size(), 0u);
  EXPECT_EQ(FaceOf(40, 40), kNormalFace);

  model.SetPainting(false);
  EXPECT_TRUE(LoadKeyboard(model, &painter, L"keymodel-test-small"));
  EXPECT_FALSE(model.Painting());  // a hidden view stays unpainted
}

TEST_F(LayoutLoading, BrokenFileSaysWhyAndTheBuiltInLayoutStandsIn) {
  Write(L"keymodel-test-small.txt", "Width=200\r\nHeight=100\r\n65=10,10;40,40\r\n");
  ASSERT_TRUE(LoadKeyboard(model, &painter, L"keymodel-test-small"));
  Show();
  Write(L"keymodel-test-bad.txt", "Width=500\r\nHeight=abc\r\n65=1,1;9,9\r\n");
  EXPECT_FALSE(LoadKeyboard(model, &painter, L"keymodel-test-bad"));
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find(L"keymodel-test-bad.txt"), std::wstring::npos) << errors[0];
  EXPECT_NE(errors[0].find(L"Line 2"), std::wstring::npos) << errors[0];
  EXPECT_NE(errors[0].find(L"abc"), std::wstring::npos) << errors[0];
  // Neither the broken file nor the layout before it: the built-in board, keys and all.
  EXPECT_EQ(model.LayoutName(), L"keymodel-test-bad");
  EXPECT_EQ(model.Layout().width, 777);
  EXPECT_EQ(model.Button(27)->Points().size(), 2u);
  EXPECT_EQ(model.Button(65)->Points(), (KeyShape{{65, 136}, {98, 169}}));
  EXPECT_TRUE(model.Painting());

  Write(L"keymodel-test-nopicture.txt", "Width=300\r\nBackground=keymodel-missing.bmp\r\n");
  EXPECT_FALSE(LoadKeyboard(model, &painter, L"keymodel-test-nopicture"));
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_NE(errors[1].find(L"keymodel-missing.bmp"), std::wstring::npos) << errors[1];
  EXPECT_EQ(model.Layout().width, 777);
  EXPECT_TRUE(painter.BackgroundFileName().empty());
}

TEST_F(LayoutLoading, ViewSizesUpToTenThousandLoadAndLargerOnesFail) {
  Write(L"keymodel-test-wide.txt", "Width=10000\r\nHeight=1\r\n");
  EXPECT_TRUE(LoadKeyboard(model, &painter, L"keymodel-test-wide"));
  EXPECT_EQ(model.Layout().width, 10000);
  Write(L"keymodel-test-wider.txt", "Width=10001\r\n");
  EXPECT_FALSE(LoadKeyboard(model, &painter, L"keymodel-test-wider"));
  Write(L"keymodel-test-overflow.txt", "Height=4294967297\r\n");
  EXPECT_FALSE(LoadKeyboard(model, &painter, L"keymodel-test-overflow"));
  EXPECT_EQ(errors.size(), 2u);
  EXPECT_EQ(model.Layout().height, 243);
}

std::string SolidBitmap(int width, int height, COLORREF colour, COLORREF topLeft) {
  const int stride = (width * 3 + 3) & ~3;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;  // bottom-up
  info.biPlanes = 1;
  info.biBitCount = 24;
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + static_cast<DWORD>(stride * height);
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
  bytes.append(reinterpret_cast<const char*>(&info), sizeof(info));
  for (int row = height - 1; row >= 0; --row) {
    std::string line(static_cast<std::size_t>(stride), '\0');
    for (int x = 0; x < width; ++x) {
      const COLORREF c = (row == 0 && x == 0) ? topLeft : colour;
      line[x * 3] = static_cast<char>(GetBValue(c));
      line[x * 3 + 1] = static_cast<char>(GetGValue(c));
      line[x * 3 + 2] = static_cast<char>(GetRValue(c));
    }
    bytes += line;
  }
  return bytes;
}

TEST_F(LayoutLoading, BackgroundPictureFillsTheFaceAndAWhiteCornerDropsTheFrame) {
  Write(L"keymodel-test-red.bmp", SolidBitmap(8, 8, RGB(200, 0, 0), RGB(200, 0, 0)));
  Write(L"keymodel-test-back.txt", "Background=keymodel-test-red.bmp\r\n");
  std::wstring caption;
  painter.seams.drawCaption = [&](HDC, int, COLORREF, const std::wstring& text) { caption = text; };
  settings.showCaption = true;
  Show();
  ASSERT_TRUE(LoadKeyboard(model, &painter, L"keymodel-test-back"));
  EXPECT_EQ(painter.BackgroundFileName(), L"keymodel-test-red.bmp");
  EXPECT_EQ(GetPixel(painter.Canvas(), 400, 150), RGB(200, 0, 0));  // no keys in an 800 x 300 view without shapes
  EXPECT_FALSE(caption.empty());

  Write(L"keymodel-test-white.bmp", SolidBitmap(8, 8, RGB(200, 0, 0), RGB(255, 255, 255)));
  Write(L"keymodel-test-framed.txt", "Background=keymodel-test-white.bmp\r\n");
  caption.clear();
  ASSERT_TRUE(LoadKeyboard(model, &painter, L"keymodel-test-framed"));
  EXPECT_TRUE(caption.empty());
}

TEST(KeyModelWiring, BindingTextsNameKeysByTheModelOfTheirListWhileConnected) {
  FakeLayouts layouts;
  FakeInput input;
  CharTableCache tables;
  TQvActions list;
  {
    TQvKeyboard model(layouts, input, &tables);
    model.ApplyLayout(testing::BuiltInLayout(), L"Standard");
    model.SetLayout(testing::kSwapped);
    WireKeyModel(model, nullptr);
    list.ConnectKeyModel(&model);  // as the keyboard runtime does
    EXPECT_EQ(list.KeyModel(), &model);
    EXPECT_EQ(BindingKeyName(list.KeyModel(), 65), L"Q");  // the A key sits where US English has Q
    EXPECT_EQ(BindingKeyName(list.KeyModel(), 161), L"RShift");
    EXPECT_EQ(list.Add(65, 0x80)->GetShortcutText(), L"Win+Q");
    list.ConnectKeyModel(nullptr);
  }
  EXPECT_EQ(list.KeyModel(), nullptr);
  EXPECT_EQ(BindingKeyName(list.KeyModel(), 65), L"A");
  EXPECT_EQ(list.Find(65, 0x80, 0x80)->GetShortcutText(), L"Win+A");
}

TEST(LayoutErrorText, NamesTheFileTheLineAndTheProblem) {
  const std::wstring text =
      LayoutLoadErrorText(L"C:\\k\\x.txt", LayoutFileError{LayoutFileError::Kind::kBrokenShape, 12, L"13"});
  EXPECT_NE(text.find(L"C:\\k\\x.txt"), std::wstring::npos);
  EXPECT_NE(text.find(L"Line 12"), std::wstring::npos);
  EXPECT_NE(text.find(L"key 13"), std::wstring::npos);
}

}  // namespace
}  // namespace snibbet
