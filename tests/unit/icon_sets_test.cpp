// Icon sets from generated files: the full load, drawing with lime see-through,
// hints, hotkey marks and removal; the list's look-ups by name and by
// application; damaged files reported once and never read again; and the
// keyboard view drawing the sets on its keys.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <filesystem>

#include "../host/icon_set_bytes.h"
#include "../host/keymodel_fakes.h"
#include "core/icon_sets.h"
#include "keyboard/actions.h"
#include "keyboard/key_icons.h"
#include "keyboard/key_painter.h"
#include "tests/unit/qvlib_test_support.h"
#include "ui/gdi.h"

namespace snibbet {
namespace {

using test::IconSetBytes;

constexpr std::uint32_t kRed = 0xFF0000, kGreen = 0x00AA00, kBlue = 0x0000FF, kYellow = 0xFFFF00;
constexpr COLORREF kWhite = RGB(255, 255, 255);

COLORREF Colour(std::uint32_t rgb) { return RGB(rgb >> 16 & 0xFF, rgb >> 8 & 0xFF, rgb & 0xFF); }

IconSetBytes NotepadSet() {
  IconSetBytes set;
  set.executable = "NOTEPAD.EXE";
  set.icon = test::IconBytes();
  set.entries = {{0x20, 'N', "New", kRed},
                 {0x30, 'N', "New window", kGreen},
                 {0x40, 'N', "Menu", kBlue},
                 {0x20, 'S', "Save", kYellow}};
  set.limeLeftHalves = true;
  return set;
}

// A white 32 x 32 bitmap selected into a memory DC.
class Canvas {
 public:
  Canvas() : dc_(screen_), bitmap_(CreateCompatibleBitmap(screen_, 32, 32)), selected_(dc_, bitmap_.Get()) {
    const RECT all{0, 0, 32, 32};
    FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  HDC Get() const { return dc_.Get(); }
  COLORREF At(int x, int y) const { return GetPixel(dc_.Get(), x, y); }

 private:
  ui::WindowDC screen_;
  ui::MemoryDC dc_;
  ui::Bitmap bitmap_;
  ui::SelectedObject selected_;
};

class IconSets : public ::testing::Test {
 protected:
  void Write(const std::wstring& name, const std::string& bytes) const { folder.Write(name + L".zqi", bytes); }
  std::wstring DamagedText(const std::wstring& name) const {
    return L"The file \"" + folder.Path() + name + L".zqi\" is damaged or is not a file of Orvane Paste.";
  }

  test::TempFolder folder;
  std::vector<std::wstring> errors;
  IconSetErrorSink sink = [this](std::wstring_view message) { errors.emplace_back(message); };
};

TEST_F(IconSets, AFullLoadDrawsEachEntrysPictureWithLimeSeeThroughAndGivesItsHint) {
  Write(L"Notepad", NotepadSet().Build());
  TQvIcons icons(folder.Path(), sink);
  ASSERT_TRUE(icons.LoadFromFile(L"Notepad", true, false));
  EXPECT_TRUE(icons.Loaded());
  EXPECT_EQ(icons.GetFileName(), folder.Path() + L"Notepad.zqi");
  EXPECT_EQ(icons.Executable(), L"NOTEPAD.EXE");
  EXPECT_NE(icons.Icon(), nullptr);
  ASSERT_EQ(icons.Entries().size(), 4u);
  EXPECT_EQ(icons.Images().Count(), 4);
  EXPECT_EQ(icons.Index().RunOf('N'), (IconEntryIndex::Run{0, 2}));

  Canvas canvas;
  // Right Ctrl finds the side-less Ctrl entry.
  EXPECT_TRUE(icons.DrawEntry(canvas.Get(), 'N', 8, 8, kAnyCtrlBit, kRightCtrlBit));
  EXPECT_EQ(canvas.At(8 + 12, 8 + 4), Colour(kRed));
  EXPECT_EQ(canvas.At(8 + 3, 8 + 4), kWhite) << "lime is see-through";
  EXPECT_FALSE(icons.DrawEntry(canvas.Get(), 'N', 8, 8, 0, 0));
  EXPECT_FALSE(icons.DrawEntry(canvas.Get(), 'Q', 8, 8, kAnyCtrlBit, kAnyCtrlBit));
  EXPECT_FALSE(icons.DrawEntry(canvas.Get(), 300, 8, 8, kAnyCtrlBit, kAnyCtrlBit));

  ui::WindowDC screen;
  ui::Bitmap picture(CreateCompatibleBitmap(screen, 16, 16));
  std::wstring text = L"old";
  EXPECT_TRUE(icons.GetEntry('S', kLeftCtrlBit, picture.Get(), kAnyCtrlBit, text));
  EXPECT_EQ(text, L"Save");
  {
    ui::MemoryDC dc(screen);
    ui::SelectedObject selected(dc, picture.Get());
    EXPECT_EQ(GetPixel(dc, 12, 4), Colour(kYellow));
  }
  EXPECT_FALSE(icons.GetEntry('S', kLeftAltBit, picture.Get(), kAnyAltBit, text));
  EXPECT_EQ(text, L"");
  {
    ui::MemoryDC dc(screen);
    ui::SelectedObject selected(dc, picture.Get());
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0x77, 0x77, 0x77));
    EXPECT_EQ(GetPixel(dc, 15, 15), RGB(0x77, 0x77, 0x77));
  }
  EXPECT_TRUE(errors.empty());
}

TEST_F(IconSets, HotkeyMarksShowTheKeysCtrlAndAltShortcutsAndRemovalKeepsThePicturesInStep) {
  Write(L"Notepad", NotepadSet().Build());
  TQvIcons icons(folder.Path(), sink);
  ASSERT_TRUE(icons.LoadFromFile(L"Notepad", true, false));
  Canvas canvas;
  EXPECT_TRUE(icons.DrawHotkeySquares(canvas.Get(), 'N', 0, 0));
  EXPECT_EQ(canvas.At(1, 1), 0x01CBFEu);   // Ctrl+Shift
  EXPECT_EQ(canvas.At(1, 6), 0x589218u);   // Ctrl
  EXPECT_EQ(canvas.At(6, 6), 0xFFD288u);   // Alt
  EXPECT_EQ(canvas.At(6, 1), kWhite);      // no Alt+Shift
  EXPECT_EQ(canvas.At(4, 4), kWhite);      // 4 x 4 squares, apart
  Canvas other;
  EXPECT_FALSE(icons.DrawHotkeySquares(other.Get(), 'Q', 0, 0));
  EXPECT_EQ(other.At(1, 6), kWhite);

  icons.DeleteEntry('N', kAnyCtrlBit);  // only this exact Id
  icons.DeleteEntry('N', 0x77);         // none: nothing
  ASSERT_EQ(icons.Entries().size(), 3u);
  EXPECT_EQ(icons.Images().Count(), 3);
  Canvas after;
  EXPECT_FALSE(icons.DrawEntry(after.Get(), 'N', 0, 0, kAnyCtrlBit, kAnyCtrlBit));
  EXPECT_TRUE(icons.DrawEntry(after.Get(), 'N', 0, 0, 0x30, 0x30));
  EXPECT_EQ(after.At(12, 4), Colour(kGreen));
  EXPECT_TRUE(icons.DrawEntry(after.Get(), 'S', 16, 16, kAnyCtrlBit, kAnyCtrlBit));
  EXPECT_EQ(after.At(16 + 12, 16 + 4), Colour(kYellow));
}

TEST_F(IconSets, TheListFindsASetByItsExactNameOrItsApplicationAndReadsItOnce) {
  Write(L"Notepad", NotepadSet().Build());
  IconSetBytes named;
  named.entries = {{0, 'A', "a", kRed}};
  Write(L"Named", named.Build());
  std::filesystem::create_directory(folder.File(L"Folder.zqi"));
  TQvIconsList list(folder.Path(), sink);
  list.LoadAll();
  ASSERT_EQ(list.Count(), 2u);
  EXPECT_FALSE(list.At(0).Loaded()) << "only the headers are read at start";

  EXPECT_EQ(list.FindByName(L"notepad", true), nullptr) << "names are case-sensitive";
  TQvIcons* plain = list.FindByName(L"Named", false);
  ASSERT_NE(plain, nullptr);
  EXPECT_FALSE(plain->Loaded());
  EXPECT_EQ(list.FindByApplication(L"", L""), nullptr) << "a set without names is never found by application";

  TQvIcons* notepad = list.FindByApplication(L"notepad.exe", L"Edit");
  ASSERT_NE(notepad, nullptr);
  EXPECT_EQ(notepad->Name(), L"Notepad");
  EXPECT_TRUE(notepad->Loaded());
  EXPECT_EQ(notepad->Entries().size(), 4u);
  EXPECT_EQ(list.FindByApplication(L"NOTEPAD.EXE", L"Notepad"), notepad);
  EXPECT_EQ(list.FindByApplication(L"wordpad.exe", L"Edit"), nullptr);

  // A second full look-up does not read the file again.
  IconSetBytes changed = NotepadSet();
  changed.entries.resize(1);
  Write(L"Notepad", changed.Build());
  EXPECT_EQ(list.FindByName(L"Notepad", true)->Entries().size(), 4u);
  // Reading all again starts from the files as they are.
  list.LoadAll();
  EXPECT_EQ(list.FindByName(L"Notepad", true)->Entries().size(), 1u);
  EXPECT_TRUE(errors.empty());
}

TEST_F(IconSets, ADamagedSetSaysSoOnceWithItsPathAndIsNotReadAgainAtEveryLookUp) {
  // Good names, a strip cut short: found at every foreground change of its program.
  std::string cutStrip = NotepadSet().Build();
  cutStrip.resize(cutStrip.size() - 40);
  Write(L"CutStrip", cutStrip);
  // Cut inside its icon: the header read at start fails, after the names.
  IconSetBytes cutIconSet = NotepadSet();
  cutIconSet.executable = "WORDPAD.EXE";
  Write(L"CutIcon", cutIconSet.Header().substr(0, cutIconSet.Header().size() - 30));
  std::string badMagic = NotepadSet().Build();
  badMagic[0] = 'X';
  Write(L"BadMagic", badMagic);

  TQvIconsList list(folder.Path(), sink);
  list.LoadAll();
  ASSERT_EQ(list.Count(), 3u);
  std::sort(errors.begin(), errors.end());
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[0], DamagedText(L"BadMagic"));
  EXPECT_EQ(errors[1], DamagedText(L"CutIcon"));
  errors.clear();

  for (int activation = 0; activation < 5; ++activation) {
    TQvIcons* set = list.FindByApplication(L"notepad.exe", L"Notepad");
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->Name(), L"CutStrip");
    EXPECT_FALSE(set->Loaded());
    EXPECT_TRUE(set->Failed());
    EXPECT_TRUE(set->Entries().empty());
    Canvas canvas;
    EXPECT_FALSE(set->DrawEntry(canvas.Get(), 'N', 0, 0, kAnyCtrlBit, kAnyCtrlBit));
  }
  ASSERT_EQ(errors.size(), 1u) << "one message for the set, not one per foreground change";
  EXPECT_EQ(errors[0], DamagedText(L"CutStrip"));

  // The set damaged at start keeps its names, and stays quiet afterwards.
  TQvIcons* cutIcon = list.FindByApplication(L"wordpad.exe", L"");
  ASSERT_NE(cutIcon, nullptr);
  EXPECT_EQ(cutIcon->Executable(), L"WORDPAD.EXE");
  EXPECT_EQ(list.FindByName(L"BadMagic", true)->Loaded(), false);
  EXPECT_EQ(errors.size(), 1u);

  // Forced, the file is read again (and says so again).
  EXPECT_FALSE(list.FindByName(L"CutStrip", false)->LoadFromFile(L"CutStrip", true, true));
  EXPECT_EQ(errors.size(), 2u);
  // Repaired, a forced read takes it.
  Write(L"CutStrip", NotepadSet().Build());
  EXPECT_TRUE(list.FindByName(L"CutStrip", false)->LoadFromFile(L"CutStrip", true, true));
  EXPECT_FALSE(list.FindByName(L"CutStrip", false)->Failed());
}

TEST_F(IconSets, AMissingFileAnswersFalseWithoutAMessage) {
  TQvIcons icons(folder.Path(), sink);
  EXPECT_FALSE(icons.LoadFromFile(L"Nothing", true, false));
  EXPECT_FALSE(icons.Loaded());
  EXPECT_EQ(icons.Name(), L"Nothing");
  EXPECT_TRUE(errors.empty());
  TQvIconsList empty(folder.File(L"NoSuchFolder") + L"\\", sink);
  empty.LoadAll();
  EXPECT_EQ(empty.Count(), 0u);
}

// --- the keyboard view --------------------------------------------------------

class ViewIcons : public IconSets {
 protected:
  ViewIcons() : model(layouts, input, &tables), painter(model, QvActions()) {
    model.ApplyLayout(testing::BuiltInLayout(), L"Standard");
    painter.settings = [] { return KeyPaintSettings{}; };
  }
  // A picture of one colour for the plain A key, under `name`.
  std::unique_ptr<TQvIcons> SetWithA(const std::wstring& name, std::uint32_t colour, const std::string& hint) {
    IconSetBytes bytes;
    bytes.entries = {{0, 'A', hint, colour}};
    Write(name, bytes.Build());
    auto set = std::make_unique<TQvIcons>(folder.Path(), sink);
    EXPECT_TRUE(set->LoadFromFile(name, true, false));
    return set;
  }
  // The middle of the icon place of A, whose key spans (65, 136)..(98, 169).
  COLORREF IconOfA() const { return GetPixel(painter.Canvas(), 98 - 2 - 8, 169 - 2 - 8); }

  testing::FakeLayouts layouts;
  testing::FakeInput input;
  CharTableCache tables;
  TQvKeyboard model;
  KeyboardPainter painter;
  KeyIconSettings on{.bindings = true, .application = true, .windows = true};
};

TEST_F(ViewIcons, TheFirstSetThatHasTheKeyDrawsItAndGivesItsHint) {
  auto bindings = SetWithA(L"Bindings", kRed, "binding");
  auto application = SetWithA(L"Application", kGreen, "application");
  auto windows = SetWithA(L"Windows", kBlue, "windows");
  ConnectKeyIcons(painter, model, {bindings.get(), windows.get()}, [this] { return on; });
  model.SetAppIcons(application.get());
  model.SetPainting(true);
  EXPECT_EQ(IconOfA(), Colour(kRed));
  EXPECT_EQ(painter.GetHint(*model.Button('A')), L"binding");

  on.bindings = false;
  model.Redraw();
  EXPECT_EQ(IconOfA(), Colour(kGreen));
  EXPECT_EQ(painter.GetHint(*model.Button('A')), L"application");

  // The application in front changes: the view is redrawn at once.
  model.SetAppIcons(nullptr);
  EXPECT_EQ(IconOfA(), Colour(kBlue));
  EXPECT_EQ(painter.GetHint(*model.Button('A')), L"windows");

  on.windows = false;
  model.Redraw();
  EXPECT_NE(IconOfA(), Colour(kBlue));
  EXPECT_EQ(painter.GetHint(*model.Button('A')), L"");
  EXPECT_EQ(painter.GetHint(*model.Button('B')), L"");
}

}  // namespace
}  // namespace snibbet
