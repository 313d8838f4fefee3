// The font and colour dialogs give back what they were started with when the
// user takes it as it is.
#include <cwchar>
#include <string>

#include "tests/unit/ui_test_support.h"
#include "ui/choose_dialogs.h"

namespace {

// Presses OK in the dialog once it shows.
void PressOkWhenShown() {
  SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
    HWND dialog = FindWindowW(L"#32770", nullptr);
    if (!dialog || !IsWindowVisible(dialog)) return;
    KillTimer(nullptr, id);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
  });
}

// A scalable font the system has, other than the first the dialog lists.
std::wstring SomeTrueTypeFace() {
  std::wstring face;
  LOGFONTW all{};
  all.lfCharSet = DEFAULT_CHARSET;
  HDC screen = GetDC(nullptr);
  EnumFontFamiliesExW(screen, &all, [](const LOGFONTW* font, const TEXTMETRICW*, DWORD type, LPARAM found) -> int {
    if ((type & TRUETYPE_FONTTYPE) && font->lfFaceName[0] != L'@') *reinterpret_cast<std::wstring*>(found) = font->lfFaceName;
    return 1;
  }, reinterpret_cast<LPARAM>(&face), 0);
  ReleaseDC(nullptr, screen);
  return face;
}

using ChooseDialogsTest = UiTest;

TEST_F(ChooseDialogsTest, FontAndColourComeBackUnchangedOnOk) {
  ui::FontChoice initial;
  const std::wstring face = SomeTrueTypeFace();
  ASSERT_FALSE(face.empty());
  std::wcscpy(initial.font.lfFaceName, face.c_str());
  initial.font.lfWeight = FW_BOLD;
  initial.font.lfItalic = TRUE;
  initial.font.lfCharSet = DEFAULT_CHARSET;
  initial.pointSize = 12;
  initial.color = RGB(128, 0, 0);
  PressOkWhenShown();
  const auto font = ui::ChooseFontDialog(initial);
  ASSERT_TRUE(font.has_value());
  EXPECT_EQ(font->font.lfFaceName, face);
  EXPECT_EQ(font->pointSize, 12);
  EXPECT_EQ(font->font.lfWeight, FW_BOLD);
  EXPECT_TRUE(font->font.lfItalic);
  EXPECT_EQ(font->color, RGB(128, 0, 0));

  ui::CustomColors custom{};
  custom[3] = RGB(1, 2, 3);
  PressOkWhenShown();
  const auto color = ui::ChooseColorDialog(RGB(10, 200, 30), custom);
  ASSERT_TRUE(color.has_value());
  EXPECT_EQ(*color, RGB(10, 200, 30));
  EXPECT_EQ(custom[3], RGB(1, 2, 3));
}

}  // namespace
