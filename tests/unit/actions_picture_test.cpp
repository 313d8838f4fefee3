#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "keyboard/action_html.h"
#include "keyboard/action_html_export.h"
#include "keyboard/action_icon.h"
#include "keyboard/action_shell.h"
#include "keyboard/actions.h"
#include "tests/host/language_table_scope.h"
#include "tests/unit/actions_test_files.h"

namespace snibbet {
namespace {

constexpr COLORREF kBackground = RGB(10, 200, 30);

class Pictures : public ::testing::Test {
 protected:
  void SetUp() override {
    HDC screen = GetDC(nullptr);
    bitmap = CreateCompatibleBitmap(screen, 16, 16);
    ReleaseDC(nullptr, screen);
  }
  void TearDown() override {
    DeleteObject(bitmap);
    for (HIMAGELIST list : lists) ImageList_Destroy(list);
    // A test's own language texts are gone by now.
    KindCatalogue().Rebuild();
  }

  COLORREF Pixel(int x, int y) const {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const COLORREF c = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    return c;
  }
  int PixelsOtherThan(COLORREF colour) const {
    int n = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) n += Pixel(x, y) != colour;
    return n;
  }
  // An image list of 16 x 16 images, image i filled with colours[i].
  HIMAGELIST SolidImages(std::initializer_list<COLORREF> colours) {
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR24, 0, 4);
    HDC screen = GetDC(nullptr);
    for (COLORREF colour : colours) {
      HBITMAP image = CreateCompatibleBitmap(screen, 16, 16);
      HDC dc = CreateCompatibleDC(nullptr);
      HGDIOBJ old = SelectObject(dc, image);
      HBRUSH brush = CreateSolidBrush(colour);
      RECT r{0, 0, 16, 16};
      FillRect(dc, &r, brush);
      DeleteObject(brush);
      SelectObject(dc, old);
      DeleteDC(dc);
      ImageList_Add(list, image, nullptr);
      DeleteObject(image);
    }
    ReleaseDC(nullptr, screen);
    lists.push_back(list);
    return list;
  }

  HBITMAP bitmap = nullptr;
  std::vector<HIMAGELIST> lists;
  TQvActions list;
  testing::RecordingShell shell;
};

TEST_F(Pictures, WithoutImagesOnlyTheBackgroundShows) {
  TQvAction* b = list.Add(32, 0x80);
  b->SetKind(8);
  b->SetParam(1);
  DrawActionIcon(*b, bitmap, kBackground, shell);
  EXPECT_EQ(PixelsOtherThan(kBackground), 0);
}

TEST_F(Pictures, KindStripOrKindImageByTheCatalogue) {
  const HIMAGELIST zqkeys = SolidImages({RGB(1, 1, 1), RGB(200, 0, 0)});
  const HIMAGELIST actions = SolidImages({RGB(0, 0, 1), RGB(0, 0, 2), RGB(0, 0, 3), RGB(0, 0, 4), RGB(0, 0, 5),
                                          RGB(0, 0, 6), RGB(0, 0, 7), RGB(0, 0, 8), RGB(0, 0, 9), RGB(0, 0, 10)});
  shell.kindImages = [zqkeys](ActionPictures p) { return p == ActionPictures::Zqkeys ? zqkeys : HIMAGELIST{}; };
  shell.actionImages = actions;
  TQvAction* hotkey = list.Add(32, 0x80);
  hotkey->SetKind(8);
  hotkey->SetParam(1);
  DrawActionIcon(*hotkey, bitmap, kBackground, shell);
  EXPECT_EQ(Pixel(8, 8), RGB(200, 0, 0));  // image Param of the kind's own strip

  TQvAction* block = list.Add(33, 0);
  block->SetKind(1);
  DrawActionIcon(*block, bitmap, kBackground, shell);
  EXPECT_EQ(Pixel(8, 8), RGB(0, 0, 2));  // image Kind of the binding pictures

  TQvAction* layout = list.Add(34, 0);
  layout->SetKind(9);  // its strip is missing: the binding pictures stand in
  DrawActionIcon(*layout, bitmap, kBackground, shell);
  EXPECT_EQ(Pixel(8, 8), RGB(0, 0, 10));
}

TEST_F(Pictures, RemappedKeyWithoutKeyPictureIsAFramedWhiteBox) {
  TQvAction* remap = list.Add(65, 0x20);
  remap->SetKind(2);
  remap->SetParam(66);
  DrawActionIcon(*remap, bitmap, kBackground, shell);
  EXPECT_EQ(Pixel(0, 0), RGB(0, 0, 0));
  EXPECT_EQ(Pixel(15, 15), RGB(0, 0, 0));
  EXPECT_EQ(Pixel(1, 1), RGB(255, 255, 255));
  EXPECT_EQ(PixelsOtherThan(kBackground), 256);
  EXPECT_GT(256 - PixelsOtherThan(RGB(255, 255, 255)) - 60, 0);  // frame plus some lettering
}

TEST_F(Pictures, RemappedKeyUsesTheKeyPictureWhenThereIsOne) {
  const HIMAGELIST keys = SolidImages({RGB(5, 5, 5), RGB(9, 90, 9)});
  shell.keyImages = keys;
  shell.keyPictureIndex = [](int vk) { return vk == 8 ? 1 : -1; };
  TQvAction* remap = list.Add(65, 0x20);
  remap->SetKind(2);
  remap->SetParam(8);
  DrawActionIcon(*remap, bitmap, kBackground, shell);
  EXPECT_EQ(Pixel(8, 8), RGB(9, 90, 9));
}

TEST_F(Pictures, TheProgramsShellGivesTheKeyPicturesHandedToIt) {
  ProgramBindingShell& program = ProgramShell();
  EXPECT_EQ(program.KeyImages(), nullptr);
  ui::ImageList empty(16, 16), keys(16, 16);
  ASSERT_EQ(keys.AddIcon(LoadIconW(nullptr, IDI_APPLICATION)), 0);  // a shared icon: not freed
  program.SetKeyPictures(&empty);
  EXPECT_EQ(program.KeyImages(), nullptr);  // a list without pictures is none
  program.SetKeyPictures(&keys);
  EXPECT_EQ(program.KeyImages(), keys.Get());
  EXPECT_EQ(program.KeyPictureIndex(VK_BACK), 2);
  EXPECT_EQ(program.KeyPictureIndex(VK_DOWN), 6);
  EXPECT_EQ(program.KeyPictureIndex(VK_BROWSER_BACK), 7);
  EXPECT_EQ(program.KeyPictureIndex(VK_LAUNCH_APP2), 24);
  EXPECT_EQ(program.KeyPictureIndex('A'), -1);
  program.SetKeyPictures(nullptr);
  EXPECT_EQ(program.KeyImages(), nullptr);
}

TEST_F(Pictures, ShortTypedTextIsDrawnLongTextIsNot) {
  TQvAction* typed = list.Add(65, 0x80);
  typed->SetKind(3);
  typed->SetText(L"\u00e9");
  DrawActionIcon(*typed, bitmap, kBackground, shell);
  EXPECT_GT(PixelsOtherThan(kBackground), 3);
  typed->SetText(L"three");
  DrawActionIcon(*typed, bitmap, kBackground, shell);
  EXPECT_EQ(PixelsOtherThan(kBackground), 0);
}

TEST_F(Pictures, IconPictureAndProgramIcon) {
  TQvAction* icon = list.Add(66, 0x80);
  icon->SetKind(6);
  icon->SetPicture(std::make_unique<IconPicture>(CopyIcon(LoadIconW(nullptr, IDI_ERROR))));
  DrawActionIcon(*icon, bitmap, kBackground, shell);
  EXPECT_GT(PixelsOtherThan(kBackground), 10);

  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  TQvAction* program = list.Add(67, 0x80);
  program->SetKind(5);
  program->SetText(std::wstring(L"  ") + self + L" ");
  DrawActionIcon(*program, bitmap, kBackground, shell);
  EXPECT_GT(PixelsOtherThan(kBackground), 10);
}

TEST_F(Pictures, SavedBitmapLoadsBackWithTheSamePixels) {
  TQvAction* remap = list.Add(65, 0x20);
  remap->SetKind(2);
  remap->SetParam(66);
  DrawActionIcon(*remap, bitmap, kBackground, shell);
  testing::ScratchFolder folder;
  const std::wstring file = folder.File(L"pic.bmp");
  ASSERT_TRUE(SaveBitmapFile(bitmap, file));
  EXPECT_EQ(testing::ReadBytes(file).size(), 14u + 40u + 16u * 48u);
  HBITMAP loaded = static_cast<HBITMAP>(LoadImageW(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  ASSERT_NE(loaded, nullptr);
  HDC a = CreateCompatibleDC(nullptr), b = CreateCompatibleDC(nullptr);
  HGDIOBJ oldA = SelectObject(a, bitmap), oldB = SelectObject(b, loaded);
  int differing = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) differing += GetPixel(a, x, y) != GetPixel(b, x, y);
  SelectObject(a, oldA);
  SelectObject(b, oldB);
  DeleteDC(a);
  DeleteDC(b);
  DeleteObject(loaded);
  EXPECT_EQ(differing, 0);
  EXPECT_FALSE(SaveBitmapFile(bitmap, folder.File(L"missing\\pic.bmp")));
}

TEST_F(Pictures, ExportWritesPageAndPicturesAndOpensThePage) {
  testing::ScratchFolder folder;
  const std::vector<std::wstring>& opened = shell.opened;
  const int& busy = shell.busy;
  const int& busyMost = shell.busyMost;
  shell.documents = folder.Path() + L"\\";
  shell.version = L"1.2.3";
  testing::LanguageTableScope texts;
  texts.Table().SetText(522, L"Hotkeys");
  texts.Table().SetText(203, L"Type text");
  KindCatalogue().Rebuild();
  TQvAction* hotkey = list.Add(32, 0x80);
  hotkey->SetKind(8);
  hotkey->SetParam(1);
  TQvAction* typed = list.Add(65, 0x20);
  typed->SetKind(3);
  typed->SetText(L"Gr\u00fc\u00dfe <b>\r\nzwei");

  ASSERT_TRUE(ExportActionsToHtml(list, shell));
  const std::wstring page = folder.File(L"zqkeys.htm");
  ASSERT_EQ(opened, std::vector<std::wstring>{page});
  EXPECT_EQ(busy, 0);
  EXPECT_EQ(busyMost, 1);
  EXPECT_TRUE(list.Sorted().empty());
  const std::string html = testing::ReadBytes(page);
  EXPECT_NE(html.find("<TITLE>Orvane Paste 1.2.3</TITLE>"), std::string::npos);
  EXPECT_NE(html.find("<H2> Orvane Paste 1.2.3 : Hotkeys</H2>"), std::string::npos);
  EXPECT_NE(html.find("<H3>Type text</H3>"), std::string::npos);
  EXPECT_NE(html.find("zqkeys/pic0.bmp\">&nbsp;&nbsp;Gr\xC3\xBC\xC3\x9F" "e &lt;b&gt;<BR>zwei"), std::string::npos);
  EXPECT_NE(html.find("<TD ALIGN=LEFT>Win+Space</TD>"), std::string::npos);
  EXPECT_TRUE(testing::Exists(folder.File(L"zqkeys\\pic0.bmp")));
  EXPECT_TRUE(testing::Exists(folder.File(L"zqkeys\\pic1.bmp")));
  EXPECT_FALSE(testing::Exists(folder.File(L"zqkeys\\pic2.bmp")));
}

TEST_F(Pictures, ExportIntoAMissingFolderFailsWithoutOpening) {
  shell.documents = L"Q:\\no\\such\\folder\\";
  list.Add(32, 0x80);
  EXPECT_FALSE(ExportActionsToHtml(list, shell));
  const bool opened = !shell.opened.empty();
  EXPECT_FALSE(opened);
  EXPECT_TRUE(list.Sorted().empty());
}

}  // namespace
}  // namespace snibbet
